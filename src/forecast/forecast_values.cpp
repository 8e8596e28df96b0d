#include "forecast/forecast_values.h"

#include "platform/text.h"
#include "samples/sample_value.h"

namespace fof1plot {

std::string campo_previsione(std::string_view riga, int k) { return Mid(riga, 5 * k - 3, 4); }

int valori_previsione(std::string_view riga) {
  int valori = 0;
  for (int k = 1; k <= 24; ++k) {
    const std::string campo = campo_previsione(riga, k);
    if (campo.find_first_of("0123456789") != std::string::npos) ++valori;
  }
  return valori;
}

std::optional<int> previsione_al_campione(
    const std::array<std::optional<std::int16_t>, 24>& previsione, int ora, int minuto) {
  const int x = 10 * ora + passo_minuti(minuto);
  const auto k = static_cast<std::size_t>(x / 10);
  const int frazione = x % 10;
  if (k > 23 || !previsione[k]) return std::nullopt;
  const int da = *previsione[k];
  if (frazione == 0) return 10 * da;
  if (k == 23 || !previsione[k + 1]) return std::nullopt;
  return 10 * da + (*previsione[k + 1] - da) * frazione;
}

}  // namespace fof1plot
