#include "output/status_file.h"

#include <cstdio>
#include <ctime>
#include <nlohmann/json.hpp>

#include "output/figure_data.h"
#include "output/last_value.h"
#include "output/metrics.h"
#include "output/sounding_times.h"
#include "run/form1.h"

namespace fof1plot {
namespace {

using json = nlohmann::ordered_json;

json esito_archivio(EsitoArchivio esito) {
  switch (esito) {
    case EsitoArchivio::kSostituita:
      return "replaced";
    case EsitoArchivio::kNuova:
      return "new";
    case EsitoArchivio::kMantenuta:
      return "kept";
    case EsitoArchivio::kInvariata:
      return "unchanged";
    default:
      return nullptr;
  }
}

json giorno_json(const RegistroFigura& figura) {
  const std::string k = std::to_string(figura.slot);
  json primo = nullptr, ultimo = nullptr;
  for (const CampioneRegistrato& c : figura.campioni) {
    if (c.lettura != LetturaCampione::kLetto) continue;
    const std::string quando = ora_utc(figura.data, c.ora, c.minuto);
    if (primo.is_null() || quando < primo.get<std::string>()) primo = quando;
    if (ultimo.is_null() || quando > ultimo.get<std::string>()) ultimo = quando;
  }
  json previsione = json::array();
  for (const auto& valore : figura.previsione) {
    previsione.push_back(valore ? json(*valore / 10.0) : json(nullptr));
  }
  return {{"slot", figura.slot},
          {"date", data_iso(figura.data)},
          {"day_of_year", figura.giorno_anno},
          {"figure", "plotfoF1" + k + ".gif"},
          {"data", "plotfoF1" + k + ".csv"},
          {"archive", radice_archivio(figura.data) + ".gif"},
          {"archive_outcome", esito_archivio(figura.archivio)},
          {"version", figura.versione.empty() ? json(nullptr) : json(figura.versione)},
          {"samples", figura.letti()},
          {"values", figura.conta(TipoCampo::kValore)},
          {"na", figura.conta(TipoCampo::kNA)},
          {"no", figura.conta(TipoCampo::kNO)},
          {"other", figura.conta(TipoCampo::kAltro)},
          {"first", primo},
          {"last", ultimo},
          {"forecast_MHz", previsione}};
}

}  // namespace

std::string iso_utc(std::chrono::system_clock::time_point quando) {
  const std::time_t secondi = std::chrono::system_clock::to_time_t(quando);
  std::tm utc{};
  ::gmtime_r(&secondi, &utc);
  char testo[32];
  std::strftime(testo, sizeof testo, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return testo;
}

std::optional<std::chrono::sys_seconds> leggi_iso_utc(const std::string& testo) {
  std::tm utc{};
  const char* fine = ::strptime(testo.c_str(), "%Y-%m-%dT%H:%M:%SZ", &utc);
  if (testo.size() != 20 || fine == nullptr || *fine != '\0') return std::nullopt;
  return std::chrono::sys_seconds{std::chrono::seconds{::timegm(&utc)}};
}

std::string testo_stato(const Corsa& corsa, const ContestoStato& contesto) {
  json giorni = json::array();
  for (const RegistroFigura& figura : corsa.figure()) {
    if (figura.slot > 0) giorni.push_back(giorno_json(figura));
  }
  const std::optional<std::string> stazione = corsa.stazione();
  json file = json::array();
  for (const RigaGuasto& guasto : corsa.guasti()) file.push_back(guasto.file);
  const Freschezza fresca = freschezza(corsa.figure());
  const json stato = {
      {"program", "fof1plot"},
      {"version", FOF1PLOT_VERSION},
      {"generated", iso_utc(contesto.generato)},
      {"last_sounding", fresca.ultimo ? json(iso_utc(*fresca.ultimo)) : json(nullptr)},
      {"last_value", json_valore(ultimo_valore(corsa.figure()))},
      {"usual_interval_seconds",
       fresca.intervallo_secondi ? json(*fresca.intervallo_secondi) : json(nullptr)},
      {"time_zone", contesto.fuso_orario ? json(*contesto.fuso_orario) : json(nullptr)},
      {"local_date", data_iso(contesto.data_locale)},
      {"station", stazione ? json(*stazione) : json(nullptr)},
      {"station_description", json_descrizione(corsa.descrizione())},
      {"pass", corsa.elencata_intera() ? "full" : "live"},
      {"exit_status", contesto.stato_di_uscita},
      {"failures", corsa.righe_guasti()},
      {"failure_files", file},
      {"warnings", corsa.righe_avvisi()},
      {"days", giorni}};
  // Bytes that are not UTF-8 (a station line in another encoding) are replaced, not a
  // reason to lose the file.
  return stato.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

// The metrics file first, then status.json, so that a failure to write the metrics is in
// status.json; when status.json cannot be written, the metrics are written again to say
// so. Exit status, status.json and the metrics thus never disagree.
void Form1::scrivi_esiti(bool con_stato) {
  const std::optional<MetricheRichieste>& metriche = corsa.metriche();
  if (metriche) scrivi_metriche(corsa, *metriche);
  if (!con_stato) return;
  const int prima = corsa.stato_di_uscita();
  scrivi_stato();
  if (metriche && corsa.stato_di_uscita() != prima) scrivi_metriche(corsa, *metriche);
}

// status.json in the output directory, after every daily run that read its settings,
// written whole so that a page or a monitor never reads half of it.
void Form1::scrivi_stato() {
  ContestoStato contesto;
  contesto.generato = corsa.adesso();
  contesto.fuso_orario = corsa.fuso_orario();
  esegui_passo([&] { contesto.data_locale = corsa.oggi(); });
  contesto.stato_di_uscita = corsa.stato_di_uscita();
  const std::string testo = testo_stato(corsa, contesto);
  corsa.passo([&] { corsa.scrittore().Write(cartella_uscita + "status.json", testo); });
}

}  // namespace fof1plot
