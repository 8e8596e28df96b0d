#include "output/figure_data.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "forecast/forecast_values.h"
#include "platform/escapes.h"
#include "platform/text.h"
#include "run/form1.h"

namespace fof1plot {
// A CSV field, quoted where it holds a comma, a quote or a line end.
// The fields of one CSV row, with RFC 4180 quotes undone.
std::vector<std::string> campi_csv(const std::string& riga) {
  std::vector<std::string> campi(1);
  bool tra_virgolette = false;
  for (std::size_t i = 0; i < riga.size(); ++i) {
    const char c = riga[i];
    if (tra_virgolette && c == '"' && i + 1 < riga.size() && riga[i + 1] == '"') {
      campi.back() += '"';
      ++i;
    } else if (c == '"') {
      tra_virgolette = !tra_virgolette;
    } else if (c == ',' && !tra_virgolette) {
      campi.emplace_back();
    } else {
      campi.back() += c;
    }
  }
  return campi;
}

std::string impronta(const std::vector<DatoFigura>& dati) {
  std::uint64_t h = 14695981039346656037ULL;
  for (const DatoFigura& dato : dati) {
    for (const char c : dato.estensione + '\0' + dato.testo) {
      h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
  }
  char testo[20];
  std::snprintf(testo, sizeof testo, "%016llx", static_cast<unsigned long long>(h));
  return testo;
}

std::string data_iso(std::chrono::sys_days giorno) {
  const std::chrono::year_month_day data{giorno};
  char testo[24];
  std::snprintf(testo, sizeof testo, "%04d-%02u-%02u", static_cast<int>(data.year()),
                static_cast<unsigned>(data.month()), static_cast<unsigned>(data.day()));
  return testo;
}

std::string radice_archivio(std::chrono::sys_days giorno) {
  using namespace std::chrono;
  const year_month_day d{giorno};
  char testo[32];
  std::snprintf(testo, sizeof testo, "%04d%03d", static_cast<int>(d.year()),
                static_cast<int>((giorno - sys_days{d.year() / January / 1}).count()) + 1);
  return testo;
}

std::string ora_utc(std::chrono::sys_days giorno, int ora, int minuto) {
  const std::chrono::year_month_day data{giorno};
  char testo[32];
  std::snprintf(testo, sizeof testo, "%04d-%02u-%02uT%02d:%02d:00Z", static_cast<int>(data.year()),
                static_cast<unsigned>(data.month()), static_cast<unsigned>(data.day()), ora,
                minuto);
  return testo;
}

std::string testo_csv(const RegistroFigura& figura) {
  std::vector<const CampioneRegistrato*> letti;
  for (const CampioneRegistrato& c : figura.campioni) {
    if (c.lettura == LetturaCampione::kLetto) letti.push_back(&c);
  }
  std::stable_sort(letti.begin(), letti.end(), [](const auto* a, const auto* b) {
    return a->ora * 60 + a->minuto < b->ora * 60 + b->minuto;
  });
  std::string csv = std::string(kIntestazioneCsv) + "\n";
  for (const CampioneRegistrato* c : letti) {
    csv += ora_utc(figura.data, c->ora, c->minuto);
    csv += ',';
    if (c->tipo == TipoCampo::kValore) csv += in_mhz(c->decimi);
    csv += ',';
    csv += CsvField(c->campo_valore());
    csv += ',';
    const auto previsione = previsione_al_campione(figura.previsione, c->ora, c->minuto);
    if (previsione) csv += centesimi_in_mhz(*previsione);
    csv += ',';
    if (previsione && c->tipo == TipoCampo::kValore) {
      csv += centesimi_in_mhz(static_cast<int>(10 * std::llround(c->decimi)) - *previsione);
    }
    csv += '\n';
  }
  return csv;
}

std::vector<DatoFigura> dati_figura(Corsa& corsa) {
  std::vector<DatoFigura> dati = {{".csv", testo_csv(corsa.figura()), {}}};
  if (DrawingSurface* vettoriale = corsa.disegno_vettoriale()) {
    dati.push_back({".svg", vettoriale->Image().document, {}});
  }
  return dati;
}

}  // namespace fof1plot
