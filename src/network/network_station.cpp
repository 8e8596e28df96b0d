#include "network/network_station.h"

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "output/figure_data.h"
#include "output/status_file.h"
#include "platform/confined_files.h"
#include "platform/failure.h"

namespace fof1plot {
namespace {

using namespace std::chrono;
using json = nlohmann::json;

Failure campo(const char* chiave, const char* che) {
  return Failure(std::string("\"") + chiave + "\" " + che);
}

// A text field of an object of status.json; none where it is absent or null. Throws
// Failure where it is of another type.
std::optional<std::string> testo(const json& oggetto, const char* chiave) {
  const auto voce = oggetto.find(chiave);
  if (voce == oggetto.end() || voce->is_null()) return std::nullopt;
  if (!voce->is_string()) throw campo(chiave, "is not a text");
  return voce->get<std::string>();
}

std::optional<sys_seconds> momento(const json& oggetto, const char* chiave) {
  const auto valore = testo(oggetto, chiave);
  if (!valore) return std::nullopt;
  const auto quando = leggi_iso_utc(*valore);
  if (!quando) throw campo(chiave, "is not a UTC time");
  return quando;
}

// A whole number from `minimo` to `massimo`; none where it is absent or null when
// `facoltativo`. Throws Failure for any other value, a number of another kind included.
std::optional<std::int64_t> intero(const json& oggetto, const char* chiave, std::int64_t minimo,
                                   std::int64_t massimo, bool facoltativo = false) {
  const auto voce = oggetto.find(chiave);
  if (facoltativo && (voce == oggetto.end() || voce->is_null())) return std::nullopt;
  if (voce == oggetto.end() || !voce->is_number_integer()) {
    throw campo(chiave, "is not a whole number");
  }
  const bool senza_segno = voce->is_number_unsigned();
  if ((senza_segno && voce->get<std::uint64_t>() > static_cast<std::uint64_t>(massimo)) ||
      (!senza_segno &&
       (voce->get<std::int64_t>() < minimo || voce->get<std::int64_t>() > massimo))) {
    throw campo(chiave, "is out of range");
  }
  return voce->get<std::int64_t>();
}

constexpr std::int64_t kMassimoConto = std::numeric_limits<int>::max();

// A number from `minimo` to `massimo`; none where it is absent or null. Throws Failure
// for any other value.
std::optional<double> reale(const json& oggetto, const char* chiave, double minimo,
                            double massimo) {
  const auto voce = oggetto.find(chiave);
  if (voce == oggetto.end() || voce->is_null()) return std::nullopt;
  if (!voce->is_number()) throw campo(chiave, "is not a number");
  const double valore = voce->get<double>();
  if (!(valore >= minimo && valore <= massimo)) throw campo(chiave, "is out of range");
  return valore;
}

// The same in `unita` (10: tenths), rounded.
std::optional<int> misura(const json& oggetto, const char* chiave, double minimo, double massimo,
                          double unita) {
  const std::optional<double> valore = reale(oggetto, chiave, minimo, massimo);
  if (!valore) return std::nullopt;
  return static_cast<int>(std::llround(*valore * unita));
}

// The station's description, each field of its type and range.
std::optional<DescrizioneStazione> leggi_descrizione_stazione(const json& stato) {
  const auto voce = stato.find("station_description");
  if (voce == stato.end() || voce->is_null()) return std::nullopt;
  if (!voce->is_object()) throw campo("station_description", "is not an object");
  DescrizioneStazione d;
  for (auto [chiave, testo_campo] : {std::pair<const char*, std::string*>{"ursi_code", &d.ursi},
                                     {"name", &d.nome},
                                     {"institution", &d.istituzione},
                                     {"licence", &d.licenza},
                                     {"contact", &d.contatto}}) {
    *testo_campo = testo(*voce, chiave).value_or("");
    if (testo_campo->size() > kMassimoTestoDescrizione) {
      throw campo(chiave, "is longer than the description file allows");
    }
  }
  d.latitudine = reale(*voce, "latitude", -90, 90);
  d.longitudine = reale(*voce, "longitude", -180, 180);
  d.quota = reale(*voce, "elevation_m", -500, 9000);
  return d;
}

// The last sounding's value and its forecast; the words are made here, not taken from
// another host's file.
std::optional<UltimoValore> leggi_valore(const json& stato) {
  const auto voce = stato.find("last_value");
  if (voce == stato.end() || voce->is_null()) return std::nullopt;
  if (!voce->is_object()) throw campo("last_value", "is not an object");
  UltimoValore valore;
  valore.campo = testo(*voce, "field").value_or("");
  if (valore.campo.size() > 4) throw campo("field", "is longer than a value field");
  valore.decimi = misura(*voce, "foF1_MHz", 0, 99.9, 10);
  valore.previsione = misura(*voce, "forecast_MHz", 0, 99.9, 100);
  return valore;
}

// Today's date and counts, from the day of slot 6.
void leggi_giorno_sei(StazioneRete& s, const json& giorno) {
  s.data_oggi = testo(giorno, "date").value_or("");
  s.valori = static_cast<int>(*intero(giorno, "values", 0, kMassimoConto));
  s.na = static_cast<int>(*intero(giorno, "na", 0, kMassimoConto));
  s.no = static_cast<int>(*intero(giorno, "no", 0, kMassimoConto));
  s.versione_oggi = testo(giorno, "version").value_or("");
}

// What status.json tells: the run, its freshness, its failures and today's counts, each
// field of its type and range.
void leggi_stato(StazioneRete& s, const std::string& testo_json) {
  const json stato = json::parse(testo_json, nullptr, false);
  if (stato.is_discarded()) throw Failure("status.json is not JSON");
  const auto programma = stato.is_object() ? stato.find("program") : stato.end();
  if (!stato.is_object() || programma == stato.end() || *programma != "fof1plot") {
    throw Failure("status.json is not fof1plot's");
  }
  s.generato = momento(stato, "generated");
  if (!s.generato) throw Failure("status.json has no \"generated\"");
  s.fresca.ultimo = momento(stato, "last_sounding");
  s.fresca.intervallo_secondi = intero(stato, "usual_interval_seconds", 1, 366LL * 86400, true);
  s.stato_di_uscita = static_cast<int>(*intero(stato, "exit_status", 0, 255));
  const auto guasti = stato.find("failures");
  if (guasti != stato.end() && !guasti->is_array()) throw campo("failures", "is not a list");
  if (guasti != stato.end()) {
    s.guasti = static_cast<int>(guasti->size());
    if (!guasti->empty() && !(*guasti)[0].is_string()) throw campo("failures", "holds no texts");
    if (!guasti->empty()) s.motivo = (*guasti)[0].get<std::string>();
  }
  if (const auto nome = testo(stato, "station"); nome && !nome->empty()) s.nome = *nome;
  s.valore_sondaggio = leggi_valore(stato);
  s.descrizione = leggi_descrizione_stazione(stato);
  const auto giorni = stato.find("days");
  if (giorni == stato.end()) return;
  if (!giorni->is_array()) throw campo("days", "is not a list");
  for (const json& giorno : *giorni) {
    if (!giorno.is_object()) throw campo("days", "holds something else than days");
    // A station of version 1.2.0 writes no last_sounding: its days' last samples tell it.
    if (!stato.contains("last_sounding")) {
      const auto ultimo = momento(giorno, "last");
      if (ultimo && (!s.fresca.ultimo || *ultimo > *s.fresca.ultimo)) s.fresca.ultimo = ultimo;
    }
    if (*intero(giorno, "slot", 0, 6) == 6) leggi_giorno_sei(s, giorno);
  }
}

// The station's values from its published CSV: those of the overview's UTC day, the
// first of each minute, so that what a station's file holds never swells the overview,
// and the last value in MHz whatever its day.
void leggi_oggi(StazioneRete& s, const ConfinedDirectory& cartella, const std::string& oggi) {
  if (!cartella.Holds("plotfoF16.csv")) return;
  std::istringstream righe(cartella.Read("plotfoF16.csv", kMassimoCsv));
  std::string riga;
  std::getline(righe, riga);
  if (riga != kIntestazioneCsv && riga != kIntestazioneCsvPrima) {
    throw Failure("plotfoF16.csv has another header");
  }
  std::set<std::string> minuti;
  while (std::getline(righe, riga)) {
    std::vector<std::string> campi = campi_csv(riga);
    if ((campi.size() != 3 && campi.size() != 5) || campi[0].size() != 20) continue;
    ValoreOggi valore{std::move(campi[0]), std::move(campi[1]), std::move(campi[2])};
    if (!valore.mhz.empty()) s.ultimo_valore = valore;
    if (valore.ora.compare(0, 10, oggi) == 0 && minuti.insert(valore.ora.substr(0, 16)).second) {
      s.oggi.push_back(std::move(valore));
    }
  }
}

StatoStazione giudica(const StazioneRete& s, system_clock::time_point adesso) {
  if (adesso - *s.generato > hours{26}) return StatoStazione::kNonAggiornata;
  if (adesso - *s.generato > kReportoFresco) return StatoStazione::kCopiaFerma;
  if (s.stato_di_uscita != 0) return StatoStazione::kInErrore;
  if (!s.fresca.ultimo || s.fresca.muta(adesso)) return StatoStazione::kMuta;
  return StatoStazione::kOk;
}

}  // namespace

StazioneRete leggi_stazione(const ConfinedDirectory& rete, const std::string& cartella,
                            bool directory, system_clock::time_point adesso) {
  StazioneRete s;
  s.cartella = cartella;
  s.nome = cartella;
  try {
    if (!directory) throw Failure("a symbolic link or not a directory, not followed");
    const ConfinedDirectory stazione(rete, cartella);
    leggi_stato(s, stazione.Read("status.json", kMassimoStato));
    // A report of another day brings no mark to today's chart, whatever its CSV holds.
    const std::string oggi = iso_utc(adesso).substr(0, 10);
    leggi_oggi(s, stazione, oggi);
    if (iso_utc(*s.generato).compare(0, 10, oggi) != 0) s.oggi.clear();
    s.stato = giudica(s, adesso);
    if (s.stato != StatoStazione::kInErrore) s.motivo.clear();
    for (const char* figura : {"plotfoF16.svg", "plotfoF16.gif"}) {
      if (s.figura.empty() && stazione.Holds(figura)) s.figura = figura;
    }
    s.pagina = stazione.Holds("index.html");
  } catch (const Failure& guasto) {
    // "status.json: No such file or directory", "status.json is not JSON".
    std::string file = guasto.path();
    while (!file.empty() && file.back() == '/') file.pop_back();
    file = file.substr(file.rfind('/') + 1);
    if (file == cartella) file.clear();
    s.stato = StatoStazione::kIlleggibile;
    s.motivo = (file.empty() ? "" : file + ": ") +
               (guasto.reason().empty() ? guasto.what_failed() : guasto.reason());
    s.oggi.clear();
    s.ultimo_valore.reset();
  } catch (const std::exception& guasto) {
    // Whatever else a station's files bring about stops that station alone.
    s = StazioneRete();
    s.cartella = s.nome = cartella;
    s.motivo = guasto.what();
  }
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
    case StatoStazione::kCopiaFerma:
      return "copy stale";
    default:
      return "unreadable";
  }
}

}  // namespace fof1plot
