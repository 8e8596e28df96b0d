#include "output/last_value.h"

#include <algorithm>
#include <cmath>

#include "forecast/forecast_values.h"
#include "platform/value_field.h"

namespace fof1plot {

std::optional<UltimoValore> ultimo_valore(const std::vector<RegistroFigura>& figure) {
  const RegistroFigura* giorno = nullptr;
  const CampioneRegistrato* ultimo = nullptr;
  for (const RegistroFigura& f : figure) {
    if (f.slot == 0 || (giorno != nullptr && f.data < giorno->data)) continue;
    for (const CampioneRegistrato& c : f.campioni) {
      if (c.lettura != LetturaCampione::kLetto) continue;
      // The station's minute 00 is drawn last in its hour but comes first.
      if (giorno == nullptr || f.data > giorno->data ||
          c.ora * 60 + c.minuto > ultimo->ora * 60 + ultimo->minuto) {
        giorno = &f;
        ultimo = &c;
      }
    }
  }
  if (ultimo == nullptr) return std::nullopt;
  UltimoValore valore{std::string(ultimo->campo_valore()), std::nullopt,
                      previsione_al_campione(giorno->previsione, ultimo->ora, ultimo->minuto)};
  if (ultimo->tipo == TipoCampo::kValore)
    valore.decimi = static_cast<int>(std::llround(ultimo->decimi));
  return valore;
}

std::string parole_valore(const UltimoValore& valore) {
  std::string parole = valore.decimi          ? in_mhz(*valore.decimi) + " MHz"
                       : valore.campo.empty() ? std::string("an empty field")
                                              : valore.campo;
  if (!valore.previsione) return parole;
  parole += ", forecast " + in_mhz(*valore.previsione / 10.0);
  if (valore.decimi) {
    const double scarto = (10 * *valore.decimi - *valore.previsione) / 10.0;
    parole += ", " + std::string(std::llround(scarto) > 0 ? "+" : "") + in_mhz(scarto);
  }
  return parole;
}

nlohmann::json json_valore(const std::optional<UltimoValore>& valore) {
  using nlohmann::json;
  if (!valore) return nullptr;
  const auto mhz = [](const std::optional<int>& n, double unita) {
    return n ? json(*n / unita) : json(nullptr);
  };
  std::optional<int> scarto;
  if (valore->decimi && valore->previsione) scarto = 10 * *valore->decimi - *valore->previsione;
  return {{"foF1_MHz", mhz(valore->decimi, 10.0)},
          {"field", valore->campo},
          {"forecast_MHz", mhz(valore->previsione, 100.0)},
          {"deviation_MHz", mhz(scarto, 100.0)},
          {"words", parole_valore(*valore)}};
}

}  // namespace fof1plot
