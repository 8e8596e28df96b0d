#include "network/network_station.h"

#include <nlohmann/json.hpp>
#include <sstream>

#include "output/figure_data.h"
#include "output/status_file.h"
#include "platform/confined_files.h"
#include "platform/failure.h"

namespace fof1plot {
namespace {

using namespace std::chrono;
using json = nlohmann::json;

// A text field of an object of status.json; none where it is absent or null. Throws
// Failure where it is of another type.
std::optional<std::string> testo(const json& stato, const char* chiave) {
  const auto voce = stato.find(chiave);
  if (voce == stato.end() || voce->is_null()) return std::nullopt;
  if (!voce->is_string()) throw Failure(std::string("\"") + chiave + "\" is not a text");
  return voce->get<std::string>();
}

std::optional<sys_seconds> momento(const json& stato, const char* chiave) {
  const auto valore = testo(stato, chiave);
  if (!valore) return std::nullopt;
  const auto quando = leggi_iso_utc(*valore);
  if (!quando) throw Failure(std::string("\"") + chiave + "\" is not a UTC time");
  return quando;
}

int intero(const json& oggetto, const char* chiave) {
  const auto voce = oggetto.find(chiave);
  if (voce == oggetto.end() || !voce->is_number_integer()) {
    throw Failure(std::string("\"") + chiave + "\" is not a whole number");
  }
  return voce->get<int>();
}

// What status.json tells: the run, its freshness, its failures and today's counts.
void leggi_stato(StazioneRete& s, const std::string& testo_json) {
  const json stato = json::parse(testo_json, nullptr, false);
  if (stato.is_discarded()) throw Failure("status.json is not JSON");
  if (!stato.is_object() || stato.value("program", json()) != "fof1plot") {
    throw Failure("status.json is not fof1plot's");
  }
  s.generato = momento(stato, "generated");
  if (!s.generato) throw Failure("status.json has no \"generated\"");
  s.fresca.ultimo = momento(stato, "last_sounding");
  const auto intervallo = stato.find("usual_interval_seconds");
  if (intervallo != stato.end() && intervallo->is_number_integer()) {
    s.fresca.intervallo_secondi = intervallo->get<std::int64_t>();
  }
  s.stato_di_uscita = intero(stato, "exit_status");
  const json guasti = stato.value("failures", json::array());
  if (!guasti.is_array()) throw Failure("\"failures\" is not a list");
  s.guasti = static_cast<int>(guasti.size());
  if (!guasti.empty() && guasti[0].is_string()) s.motivo = guasti[0].get<std::string>();
  if (const auto nome = testo(stato, "station"); nome && !nome->empty()) s.nome = *nome;
  const json giorni = stato.value("days", json::array());
  if (!giorni.is_array()) throw Failure("\"days\" is not a list");
  for (const json& giorno : giorni) {
    // A station of version 1.2.0 writes no last_sounding: its days' last samples tell it.
    if (!stato.contains("last_sounding") && giorno.is_object()) {
      const auto ultimo = momento(giorno, "last");
      if (ultimo && (!s.fresca.ultimo || *ultimo > *s.fresca.ultimo)) s.fresca.ultimo = ultimo;
    }
    if (!giorno.is_object() || giorno.value("slot", 0) != 6) continue;
    s.data_oggi = testo(giorno, "date").value_or("");
    s.valori = intero(giorno, "values");
    s.na = intero(giorno, "na");
    s.no = intero(giorno, "no");
    s.versione_oggi = testo(giorno, "version").value_or("");
  }
}

// Today's values from the station's published CSV; none where it has none.
void leggi_oggi(StazioneRete& s, const std::string& cartella) {
  if (!ConfinedFileExists(cartella, "plotfoF16.csv")) return;
  std::istringstream righe(ReadConfined(cartella, "plotfoF16.csv", kMassimoCsv));
  std::string riga;
  std::getline(righe, riga);
  if (riga != "time_utc,foF1_MHz,field") throw Failure("plotfoF16.csv has another header");
  while (std::getline(righe, riga)) {
    const std::vector<std::string> campi = campi_csv(riga);
    if (campi.size() == 3) s.oggi.push_back({campi[0], campi[1], campi[2]});
  }
}

StatoStazione giudica(const StazioneRete& s, system_clock::time_point adesso) {
  if (adesso - *s.generato > hours{26}) return StatoStazione::kNonAggiornata;
  if (s.stato_di_uscita != 0) return StatoStazione::kInErrore;
  if (!s.fresca.ultimo || s.fresca.muta(adesso)) return StatoStazione::kMuta;
  return StatoStazione::kOk;
}

}  // namespace

StazioneRete leggi_stazione(const std::string& rete, const std::string& cartella, bool directory,
                            system_clock::time_point adesso) {
  StazioneRete s;
  s.cartella = cartella;
  s.nome = cartella;
  const std::string percorso = rete + cartella + "/";
  try {
    if (!directory) throw Failure("a symbolic link or not a directory, not followed");
    leggi_stato(s, ReadConfined(percorso, "status.json", kMassimoStato));
    leggi_oggi(s, percorso);
    s.stato = giudica(s, adesso);
    if (s.stato != StatoStazione::kInErrore) s.motivo.clear();
  } catch (const Failure& guasto) {
    // "status.json: No such file or directory", "status.json is not JSON".
    const std::string file = guasto.path().substr(guasto.path().rfind('/') + 1);
    s.stato = StatoStazione::kIlleggibile;
    s.motivo = (file.empty() ? "" : file + ": ") +
               (guasto.reason().empty() ? guasto.what_failed() : guasto.reason());
    s.oggi.clear();
    return s;
  }
  for (const char* figura : {"plotfoF16.svg", "plotfoF16.gif"}) {
    if (s.figura.empty() && ConfinedFileExists(percorso, figura)) s.figura = figura;
  }
  s.pagina = ConfinedFileExists(percorso, "index.html");
  return s;
}

const char* nome_stato(StatoStazione stato) {
  switch (stato) {
    case StatoStazione::kOk:
      return "ok";
    case StatoStazione::kMuta:
      return "silent";
    case StatoStazione::kNonAggiornata:
      return "not updated";
    case StatoStazione::kInErrore:
      return "failing";
    default:
      return "unreadable";
  }
}

}  // namespace fof1plot
