#include "statistics/month_statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "forecast/month_forecast.h"
#include "output/figure_data.h"
#include "platform/value_field.h"

namespace fof1plot {
namespace {

using namespace std::chrono;

// The median of sorted values, doubled: the sum of the two middle values for an even
// count.
int mediana_doppia(const std::vector<int>& v, std::size_t da, std::size_t a) {
  const std::size_t n = a - da;
  return n % 2 == 1 ? 2 * v[da + n / 2] : v[da + n / 2 - 1] + v[da + n / 2];
}

// A value in MHz written with one decimal ("4.5", "12.0") in tenths; none otherwise.
std::optional<int> decimi(const std::string& testo) {
  const std::size_t punto = testo.find('.');
  if (punto == std::string::npos || punto == 0 || punto + 2 != testo.size()) return std::nullopt;
  int valore = 0;
  for (const char c : testo) {
    if (c == '.') continue;
    if (c < '0' || c > '9') return std::nullopt;
    valore = valore * 10 + (c - '0');
  }
  return valore;
}

}  // namespace

std::optional<std::pair<int, int>> media_e_rms_in_centesimi(const std::vector<int>& ventesimi) {
  if (ventesimi.empty()) return std::nullopt;
  const std::int64_t n = static_cast<std::int64_t>(ventesimi.size());
  std::int64_t somma = 0, quadrati = 0;
  for (const int d : ventesimi) {
    somma += d;
    quadrati += static_cast<std::int64_t>(d) * d;
  }
  // The mean is 5 * somma / n hundredths: half away from zero on that fraction.
  const std::int64_t q = 5 * std::abs(somma);
  const int media = static_cast<int>((2 * q + n) / (2 * n)) * (somma < 0 ? -1 : 1);
  // The RMS is 5 * sqrt(quadrati / n) hundredths: the k with (2k - 1)^2 n <= 100 quadrati
  // < (2k + 1)^2 n, found from the floating-point root and then checked in whole numbers.
  std::int64_t k = std::llround(5 * std::sqrt(static_cast<double>(quadrati) / n));
  while (k > 0 && (2 * k - 1) * (2 * k - 1) * n > 100 * quadrati) --k;
  while ((2 * k + 1) * (2 * k + 1) * n <= 100 * quadrati) ++k;
  return std::pair{media, static_cast<int>(k)};
}

std::array<int, 3> cardini_in_ventesimi(std::vector<int> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size(), meta = (n + 1) / 2;
  return {mediana_doppia(v, 0, meta), mediana_doppia(v, 0, n), mediana_doppia(v, n - meta, n)};
}

std::optional<int> valore_all_ora(const std::map<int, int>& campioni, int ora) {
  std::optional<int> valore;
  int distanza = 8;
  const int centro = ora * 60;
  for (auto it = campioni.lower_bound(centro - 7); it != campioni.end() && it->first <= centro + 7;
       ++it) {
    // Ascending minutes: a later sample at the same distance does not replace an earlier.
    if (std::abs(it->first - centro) < distanza) {
      distanza = std::abs(it->first - centro);
      valore = it->second;
    }
  }
  return valore;
}

StatisticheMese statistiche_mese(year_month mese, const std::map<sys_days, std::string>& csv,
                                 const std::vector<sys_days>& illeggibili,
                                 const std::vector<sys_days>& archiviati,
                                 const std::array<std::optional<int>, 24>& previsione) {
  StatisticheMese s;
  s.mese = mese;
  s.valori = std::string(kIntestazioneCsv) + "\n";
  s.illeggibili = illeggibili;
  for (const sys_days giorno : archiviati) {
    const bool illeggibile =
        std::find(illeggibili.begin(), illeggibili.end(), giorno) != illeggibili.end();
    if (csv.find(giorno) == csv.end() && !illeggibile) s.senza_valori.push_back(giorno);
  }
  std::array<std::vector<int>, 24> per_ora;
  for (const auto& [giorno, testo] : csv) {
    std::istringstream righe(testo);
    std::string riga;
    std::getline(righe, riga);
    std::map<int, int> campioni;
    while (std::getline(righe, riga)) {
      const std::vector<std::string> campi = campi_csv(riga);
      if ((campi.size() != 3 && campi.size() != 5) || campi[0].size() != 20) continue;
      // A row of an earlier version lacks the forecast's two columns.
      s.valori += riga + (campi.size() == 3 ? ",,\n" : "\n");
      const int h = std::atoi(campi[0].substr(11, 2).c_str());
      const int m = std::atoi(campi[0].substr(14, 2).c_str());
      if (const auto v = decimi(campi[1])) campioni[h * 60 + m] = *v;
    }
    s.giorni_con_dati += campioni.empty() ? 0 : 1;
    for (int ora = 0; ora < 24; ++ora) {
      if (const auto v = valore_all_ora(campioni, ora)) per_ora[ora].push_back(*v);
    }
  }
  std::vector<int> scarti;
  for (int ora = 0; ora < 24; ++ora) {
    OraMese& o = s.ore[ora];
    o.ora = ora;
    o.giorni = static_cast<int>(per_ora[ora].size());
    o.previsione = previsione[ora];
    if (o.giorni >= 5) o.cardini = cardini_in_ventesimi(per_ora[ora]);
    if (o.cardini && o.previsione) scarti.push_back((*o.cardini)[1] - 2 * *o.previsione);
  }
  if (const auto media_e_rms = media_e_rms_in_centesimi(scarti)) {
    s.scarto_medio = media_e_rms->first;
    s.scarto_rms = media_e_rms->second;
  }
  return s;
}

Riassunti leggi_riassunti(const std::string& testo) {
  Riassunti riassunti;
  std::istringstream righe(testo);
  std::string riga;
  std::getline(righe, riga);
  while (std::getline(righe, riga)) {
    int anno = 0, mese = 0, giorni = 0;
    char rms[32] = "";
    if (std::sscanf(riga.c_str(), "%4d-%2d,%d,%31s", &anno, &mese, &giorni, rms) < 3 || mese < 1 ||
        mese > 12) {
      continue;
    }
    RiassuntoMese& r = riassunti[year{anno} / month{static_cast<unsigned>(mese)}];
    r.giorni_con_dati = giorni;
    int unita = 0;
    unsigned centesimi = 0;
    if (std::sscanf(rms, "%d.%2u", &unita, &centesimi) == 2) {
      r.scarto_rms = unita * 100 + static_cast<int>(centesimi);
    }
  }
  return riassunti;
}

std::string testo_riassunti(const Riassunti& riassunti) {
  std::string csv = "month,days_with_data,rms_MHz\n";
  for (const auto& [mese, r] : riassunti) {
    char testo[48];
    std::snprintf(testo, sizeof testo, "%04d-%02u,%d,", static_cast<int>(mese.year()),
                  static_cast<unsigned>(mese.month()), r.giorni_con_dati);
    csv += testo;
    if (r.scarto_rms) csv += centesimi_in_mhz(*r.scarto_rms);
    csv += "\n";
  }
  return csv;
}

std::string ventesimi_in_mhz(int ventesimi) {
  // Half away from zero: twentieths to tenths.
  const int decimi = ventesimi >= 0 ? (ventesimi + 1) / 2 : -((-ventesimi + 1) / 2);
  char testo[24];
  std::snprintf(testo, sizeof testo, "%s%d.%d", decimi < 0 ? "-" : "", std::abs(decimi) / 10,
                std::abs(decimi) % 10);
  return testo;
}

StatisticheMese statistiche_del_mese(Form1& form, year_month mese,
                                     const std::map<sys_days, std::string>& csv,
                                     const std::vector<sys_days>& illeggibili,
                                     const std::vector<sys_days>& archiviati) {
  return statistiche_mese(mese, csv, illeggibili, archiviati, previsione_oraria(form, mese));
}

std::array<std::string, 7> celle_ora(const OraMese& o) {
  std::array<std::string, 7> celle = {std::to_string(o.ora), std::to_string(o.giorni)};
  if (o.cardini) {
    const auto& [inferiore, mediana, superiore] = *o.cardini;
    celle[2] = ventesimi_in_mhz(mediana);
    celle[3] = ventesimi_in_mhz(inferiore);
    celle[4] = ventesimi_in_mhz(superiore);
  }
  if (o.previsione) celle[5] = ventesimi_in_mhz(2 * *o.previsione);
  // Twentieths are five hundredths each: the difference is exact with two decimals.
  if (o.cardini && o.previsione) {
    celle[6] = centesimi_in_mhz(5 * ((*o.cardini)[1] - 2 * *o.previsione));
  }
  return celle;
}

std::string testo_orario(const StatisticheMese& s) {
  std::string csv =
      "hour_utc,count,median_MHz,lower_quartile_MHz,upper_quartile_MHz,forecast_MHz,"
      "median_minus_forecast_MHz\n";
  for (const OraMese& o : s.ore) {
    const std::array<std::string, 7> celle = celle_ora(o);
    for (std::size_t c = 0; c < celle.size(); ++c) csv += (c == 0 ? "" : ",") + celle[c];
    csv += "\n";
  }
  return csv;
}

}  // namespace fof1plot
