#include "hapi/hapi_data.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "hapi/hapi_time.h"
#include "output/figure_data.h"

namespace fof1plot {
namespace {

using namespace std::chrono;
using Cella = FlussoHapi::Cella;

// A number as the day CSVs write one, which JSON takes as it stands: digits, optionally
// signed and with decimals, no leading zero but before the point. A copy from another
// host may hold anything else, which is then fill.
bool numero_csv(std::string_view t) {
  std::size_t i = !t.empty() && t[0] == '-' ? 1 : 0;
  const std::size_t cifre = i;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
  if (i == cifre || (t[cifre] == '0' && i - cifre > 1)) return false;
  if (i == t.size()) return true;
  if (t[i] != '.' || i + 1 == t.size()) return false;
  for (++i; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return false;
  }
  return true;
}

Cella numero(const std::string& t) {
  return numero_csv(t) ? Cella{Cella::Tipo::kNumero, t} : Cella{};
}

// "yyyy-mm-ddThh:mm:ssZ" of the day `giorno` ("yyyy-mm-dd").
bool ora_del_giorno(std::string_view t, std::string_view giorno) {
  if (t.size() != 20 || t.substr(0, 10) != giorno || t[10] != 'T' || t[13] != ':' || t[16] != ':' ||
      t[19] != 'Z') {
    return false;
  }
  for (const std::size_t i : {11, 12, 14, 15, 17, 18}) {
    if (t[i] < '0' || t[i] > '9') return false;
  }
  return true;
}

// The field cut to the bytes info gives it, at a character's start.
std::string_view campo_corto(std::string_view campo) {
  std::size_t n = std::min(campo.size(), static_cast<std::size_t>(kLunghezzaCampo));
  while (n < campo.size() && n > 0 && (static_cast<unsigned char>(campo[n]) & 0xC0) == 0x80) --n;
  return campo.substr(0, n);
}

void scrivi_giorno(const std::string& csv, sys_days giorno, const std::string& da,
                   const std::string& a, const std::vector<std::size_t>& scelti,
                   FlussoHapi& flusso) {
  const std::string data = tempo_hapi(sys_seconds{giorno}).substr(0, 10);
  std::vector<Cella> celle;
  std::size_t inizio = csv.find('\n');
  while (inizio != std::string::npos && inizio + 1 < csv.size()) {
    const std::size_t fine = csv.find('\n', inizio + 1);
    const std::string riga =
        csv.substr(inizio + 1, fine == std::string::npos ? fine : fine - inizio - 1);
    inizio = fine;
    const std::vector<std::string> campi = campi_csv(riga);
    if ((campi.size() != 3 && campi.size() != 5) || !ora_del_giorno(campi[0], data) ||
        campi[0] < da || campi[0] >= a) {
      continue;
    }
    const std::array<Cella, 5> tutte = {Cella{}, numero(campi[1]),
                                        Cella{Cella::Tipo::kTesto, campo_corto(campi[2])},
                                        campi.size() == 5 ? numero(campi[3]) : Cella{},
                                        campi.size() == 5 ? numero(campi[4]) : Cella{}};
    celle.clear();
    for (std::size_t k = 1; k < scelti.size(); ++k) celle.push_back(tutte[scelti[k]]);
    flusso.riga(campi[0], celle);
  }
}

// The forecast of each hour of a month's hourly.csv; none where a row is missing or empty.
std::array<std::string, 24> previsioni_orarie(const std::string& orario) {
  std::array<std::string, 24> previsioni;
  std::size_t inizio = orario.find('\n');
  while (inizio != std::string::npos && inizio + 1 < orario.size()) {
    const std::size_t fine = orario.find('\n', inizio + 1);
    const std::vector<std::string> campi =
        campi_csv(orario.substr(inizio + 1, fine == std::string::npos ? fine : fine - inizio - 1));
    inizio = fine;
    if (campi.size() != 7 || campi[0].empty() || campi[0].size() > 2 || !numero_csv(campi[0]))
      continue;
    const int ora = std::stoi(campi[0]);
    if (ora < 24 && numero_csv(campi[5])) previsioni[static_cast<std::size_t>(ora)] = campi[5];
  }
  return previsioni;
}

}  // namespace

void scrivi_dati(StazioneHapi& stazione, TipoDataset tipo, sys_seconds inizio, sys_seconds fine,
                 std::pair<sys_days, sys_days> intervallo, const std::vector<std::size_t>& scelti,
                 FlussoHapi& flusso) {
  const sys_seconds da = std::max(inizio, sys_seconds{intervallo.first});
  const sys_seconds a = std::min(fine, sys_seconds{intervallo.second});
  if (da >= a) return;
  const std::string testo_da = tempo_hapi(da), testo_a = tempo_hapi(a);
  std::optional<year_month> mese_letto;
  std::array<std::string, 24> previsioni;
  for (sys_days giorno = floor<days>(da); giorno < a; giorno += days{1}) {
    if (tipo == TipoDataset::kValori) {
      scrivi_giorno(stazione.archivio->csv_del_giorno(giorno), giorno, testo_da, testo_a, scelti,
                    flusso);
      continue;
    }
    const year_month_day data{giorno};
    if (mese_letto != data.year() / data.month()) {
      mese_letto = data.year() / data.month();
      previsioni = previsioni_orarie(stazione.archivio->orario_del_mese(*mese_letto));
    }
    for (int ora = 0; ora < 24; ++ora) {
      const sys_seconds quando = sys_seconds{giorno} + hours{ora};
      if (quando < da || quando >= a) continue;
      std::vector<Cella> celle;
      if (scelti.size() > 1) celle.push_back(numero(previsioni[static_cast<std::size_t>(ora)]));
      flusso.riga(tempo_hapi(quando), celle);
    }
  }
}

}  // namespace fof1plot
