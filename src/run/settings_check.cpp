#include "run/settings_check.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "forecast/forecast_values.h"
#include "output/figure_data.h"
#include "output/status_file.h"
#include "platform/access.h"
#include "platform/text.h"
#include "platform/whole_file.h"
#include "run/directory_lines.h"
#include "run/station_description.h"
#include "run/step.h"
#include "samples/sample_listing.h"
#include "samples/sample_state.h"
#include "samples/station.h"

namespace fof1plot {
namespace {

using namespace std::chrono;

// The check's lines and whether any is an error.
class Esito {
 public:
  explicit Esito(std::FILE* uscita) : uscita_(uscita) {}
  void ok(const std::string& cosa) { riga("ok: " + cosa); }
  void avviso(const std::string& cosa, const std::string& fare) {
    riga("warning: " + cosa + "; " + fare);
  }
  void errore(const std::string& cosa, const std::string& fare) {
    errori_ = true;
    riga("error: " + cosa + "; " + fare);
  }
  int stato() const { return errori_ ? 1 : 0; }

 private:
  void riga(const std::string& testo) { std::fprintf(uscita_, "%s\n", testo.c_str()); }
  std::FILE* uscita_;
  bool errori_ = false;
};

std::string utente() {
  const passwd* voce = ::getpwuid(::geteuid());
  return voce != nullptr ? voce->pw_name : "uid " + std::to_string(::geteuid());
}

std::string chiave_mese(year_month_day giorno) {
  char testo[16];
  std::snprintf(testo, sizeof testo, "%02u%04d", static_cast<unsigned>(giorno.month()),
                static_cast<int>(giorno.year()));
  return testo;
}

// Blanks, the final "/" and whether the directory is there; false when it is not.
bool verifica_cartella(const RigaCartella& c, Esito& esito) {
  for (const std::string& avviso : avvisi_riga_cartella(c)) {
    const std::size_t punto = avviso.rfind("; ");
    esito.avviso(avviso.substr(0, punto), avviso.substr(punto + 2));
  }
  const std::string quale =
      std::string(c.nome) + " (line " + std::to_string(c.riga) + ") \"" + c.valore + "\"";
  if (const auto problema = DirectoryProblem(DirectoryPart(c.valore))) {
    esito.errore(quale + ": " + *problema,
                 "create the directory or correct line " + std::to_string(c.riga));
    return false;
  }
  esito.ok(quale + " is a directory");
  return true;
}

void verifica_permesso(const std::string& cartella, const char* che, bool leggere, bool scrivere,
                       Esito& esito) {
  const std::string chi = utente();
  const std::string mostrata = cartella.empty() ? "the current directory" : cartella;
  if (const auto mancante = DirectoryProblem(cartella)) {
    esito.errore(mostrata + ": " + *mancante, "create it, writable by " + chi);
  } else if (const auto problema = AccessProblem(cartella, leggere, scrivere)) {
    esito.errore(chi + " cannot " + che + " " + mostrata + ": " + *problema,
                 "give " + chi + " that right, or run as the directory's owner");
  } else {
    esito.ok(chi + " can " + che + " " + mostrata);
  }
}

// The archived values, which the month's numbers and the day pages read: each CSV must
// be readable by the runs' user, or the month's numbers would lack its day.
void verifica_valori_archiviati(Directory& directory, const std::string& cartella, Esito& esito) {
  std::vector<std::string> illeggibili;
  std::string motivo;
  int letti = 0;
  const bool elencata = esegui_passo([&] {
    directory.Dir(cartella, [&](std::string_view nome) {
      if (!nome.ends_with(".csv")) return;
      ++letti;
      if (const auto problema = ReadProblem(cartella + std::string(nome))) {
        illeggibili.emplace_back(nome);
        if (motivo.empty()) motivo = *problema;
      }
    });
  });
  if (!elencata) return;
  const std::string chi = utente();
  if (illeggibili.empty()) {
    esito.ok(chi + " can read the " + std::to_string(letti) + " archived value files in " +
             cartella);
    return;
  }
  std::sort(illeggibili.begin(), illeggibili.end());
  esito.errore(chi + " cannot read " + std::to_string(illeggibili.size()) +
                   " archived value files in " + cartella + " (" + illeggibili.front() +
                   (illeggibili.size() > 1 ? " ... " + illeggibili.back() : "") + "): " + motivo,
               "give " + chi + " the right to read them; the month's numbers lack those days");
}

void verifica_previsione(TextFiles& files, const std::string& path, bool necessaria, Esito& esito) {
  std::string riga;
  const bool letta = esegui_passo(
      [&] {
        const std::unique_ptr<TextFile> file = files.Open(path);
        file->LineInput();
        riga = file->LineInput();
      },
      [&](const Failure& guasto) {
        const std::string cosa =
            "forecast " + path + ": " + guasto.what_failed() + ": " + guasto.reason();
        if (necessaria) {
          esito.errore(cosa, "put the month's forecast there, 24 values on line 2");
        } else {
          esito.avviso(cosa, "put next month's forecast there before the month begins");
        }
      });
  if (!letta) return;
  const int valori = valori_previsione(riga);
  if (valori < 24) {
    esito.errore("forecast " + path + ": line 2 holds " + std::to_string(valori) +
                     " of the 24 hourly values",
                 "write all 24, each right-aligned in five columns");
  } else {
    esito.ok("forecast " + path + " holds 24 values on line 2");
  }
}

// "45 min", "5 h 10 min", "3 days", to the nearest minute.
std::string durata(system_clock::duration d) {
  const auto m = round<minutes>(d).count();
  if (m < 120) return std::to_string(m) + " min";
  if (m < 2880) return std::to_string(m / 60) + " h " + std::to_string(m % 60) + " min";
  return std::to_string(m / 1440) + " days";
}

// The UT time of the latest sample file the listing holds of the six days.
std::optional<sys_seconds> ultimo_elencato(const ElencoCampioni& elenco, std::int16_t tipo,
                                           sys_days oggi) {
  for (sys_days giorno = oggi; giorno > oggi - days{6}; giorno -= days{1}) {
    for (int ora = 23; ora >= 0; --ora) {
      for (int minuto = 59; minuto >= 0; --minuto) {
        if (elenco.contiene(tipo, giorno, ora, minuto)) {
          return sys_seconds{giorno} + hours{ora} + minutes{minuto};
        }
      }
    }
  }
  return std::nullopt;
}

// The last sounding and how long ago it was: a station that stopped sounding shows here
// before its page goes stale.
void verifica_ultimo_sondaggio(std::optional<sys_seconds> quando, system_clock::time_point adesso,
                               Esito& esito) {
  const char* fare = "check that the ionosonde sounds and its scaling writes samples";
  if (!quando) {
    esito.avviso("no sounding in the six days", fare);
    return;
  }
  const std::string iso = iso_utc(*quando);
  const std::string ora = iso.substr(0, 10) + " " + iso.substr(11, 5) + " UTC";
  if (*quando > adesso) {
    esito.avviso("the latest sample, of " + ora + ", is " + durata(*quando - adesso) +
                     " ahead of this computer's clock",
                 "check the clocks of the station and of this computer");
    return;
  }
  const std::string cosa = "last sounding " + ora + ", " + durata(adesso - *quando) + " ago";
  if (adesso - *quando > hours{1}) {
    esito.avviso(cosa, fare);
  } else {
    esito.ok(cosa);
  }
}

void verifica_stazione(TextFiles& files, Directory& directory, const std::string& dati,
                       sys_days oggi, system_clock::time_point adesso, Esito& esito) {
  ElencoCampioni elenco;
  elenco.prepara(oggi - days{5}, oggi);
  std::string nome;
  std::string riga;
  const bool letta = esegui_passo(
      [&] {
        nome = directory.Dir(dati, [&](std::string_view n) { elenco.registra(n); });
        if (nome.empty()) throw Failure(dati, "no station file", "the directory holds no file");
        riga = LineInput(files.Open(dati + nome));
      },
      [&](const Failure& guasto) {
        esito.errore(std::string(guasto.what()),
                     guasto.what_failed() == "no station file"
                         ? "give the sample directory a station file whose name sorts first"
                         : "correct line 4 or the rights on the sample directory");
      });
  if (!letta) return;
  const std::int16_t tipo = tipo_stazione_di(riga);
  if (tipo == 0) {
    esito.errore("station file " + dati + nome + " names no known station",
                 "its first line must begin Gibi, Mosc, Tucu, Bahi, Rome, La_S or Mali");
    return;
  }
  int campioni = 0;
  for (int ora = 0; ora < 24; ++ora) {
    for (int minuto = 0; minuto < 60; ++minuto)
      campioni += elenco.contiene(tipo, oggi, ora, minuto);
  }
  const std::string stazione = "station file " + dati + nome + " names " + Mid(riga, 1, 4);
  if (campioni == 0) {
    esito.avviso(stazione + ", but no sample of today is there yet",
                 "check that the station's scaling process writes into " + dati);
  } else {
    esito.ok(stazione + "; today's samples: " + std::to_string(campioni));
  }
  verifica_ultimo_sondaggio(ultimo_elencato(elenco, tipo, oggi), adesso, esito);
}

// The station's description file, which the run reads beside gralvo.ini.
void verifica_descrizione(TextFiles& files, const std::string& path, Esito& esito) {
  std::optional<std::vector<std::string>> righe;
  try {
    righe = TryReadLines(files, path);
  } catch (const Failure& guasto) {
    esito.avviso(std::string(guasto.what()),
                 "make it readable; until then the runs go on without it");
    return;
  }
  if (!righe) {
    esito.ok(path + " is not there: the pages name the station by its station file alone");
    return;
  }
  const auto letta = leggi_descrizione(*righe);
  if (const auto* errore = std::get_if<std::string>(&letta)) {
    esito.avviso(path + ": " + *errore, "mend it; until then the runs go on without it");
  } else {
    esito.ok(path +
             " describes the station: " + parole_descrizione(std::get<DescrizioneStazione>(letta)));
  }
}

// What the next run makes of the state of the samples read: takes it, or makes a full
// pass, which writes it again.
void verifica_stato_campioni(TextFiles& files, const std::string& path, const std::string& dati,
                             sys_days oggi, Esito& esito) {
  std::optional<std::vector<std::string>> righe;
  try {
    righe = TryReadLines(files, path);
  } catch (const Failure& guasto) {
    esito.avviso(std::string(guasto.what()), "remove it; until then every run is a full pass");
    return;
  }
  const std::optional<StatoCampioni> stato = righe ? leggi_stato(*righe) : std::nullopt;
  if (!righe || !stato) {
    esito.ok(path + (righe ? " is no whole state of this version" : " is not there yet") +
             ": the next run is a full pass and writes it");
  } else if (stato->oggi != oggi || stato->cartella_dati != dati) {
    esito.ok(path + " is of " + data_iso(stato->oggi) + ", " + stato->cartella_dati +
             ": the next run is a full pass");
  } else {
    esito.ok(path + " holds " + std::to_string(stato->campioni.size()) +
             " samples of the six days: the next run reads only what arrived since");
  }
}

}  // namespace

int verifica_impostazioni(TextFiles& files, Directory& directory, Clock& clock, bool in_servizio,
                          const std::string& metriche, std::FILE* uscita) {
  Esito esito(uscita);
  if (in_servizio) {
    esito.ok("checked in a systemd service, as the runs of its unit see the system");
  } else {
    esito.avviso(
        "checked outside any sandbox: the units' sandbox lets a run write only in "
        "the directories of their ReadWritePaths=",
        "check as the units run with 'systemctl start fof1plot-check' (or "
        "fof1plot-check@<station>), then read 'journalctl -u fof1plot-check'");
  }
  std::string corrente;
  esegui_passo([&] { corrente = directory.CurDir(); });
  std::array<std::string, 6> righe;
  const bool lette = esegui_passo(
      [&] {
        const std::unique_ptr<TextFile> file = files.Open("gralvo.ini");
        for (std::string& riga : righe) riga = file->LineInput();
      },
      [&](const Failure& guasto) {
        esito.errore(corrente + "gralvo.ini: " + guasto.what_failed() + ": " + guasto.reason(),
                     "write the six lines of gralvo.ini in the directory the run starts in");
      });
  if (!lette) return esito.stato();
  esito.ok(corrente + "gralvo.ini holds its six lines");
  verifica_descrizione(files, corrente + kFileDescrizione, esito);

  const std::string& lavoro = righe[1];
  const std::vector<RigaCartella> cartelle = righe_cartelle(lavoro, righe[3], righe[5]);
  if (verifica_cartella(cartelle[0], esito)) {
    verifica_permesso(DirectoryPart(lavoro), "read and write", true, true, esito);
    verifica_permesso(lavoro + "previous_foF1_plots/", "write", false, true, esito);
    if (!DirectoryProblem(lavoro + "previous_foF1_data/")) {
      verifica_permesso(lavoro + "previous_foF1_data/", "write", false, true, esito);
      verifica_valori_archiviati(directory, lavoro + "previous_foF1_data/", esito);
    }
  }
  if (verifica_cartella(cartelle[1], esito)) {
    verifica_permesso(DirectoryPart(righe[3]), "read", true, false, esito);
  }
  if (verifica_cartella(cartelle[2], esito)) {
    verifica_permesso(DirectoryPart(righe[5]), "write", false, true, esito);
  }
  if (!metriche.empty()) {
    verifica_permesso(DirectoryPart(metriche), "write the metrics file in", false, true, esito);
  }

  sys_days oggi{};
  const bool data =
      esegui_passo([&] { oggi = sys_days{clock.Date()}; },
                   [&](const Failure& g) {
                     esito.errore(std::string("the clock: ") + g.what(), "check the system clock");
                   });
  if (data) {
    std::set<std::string> mesi;
    for (int giorni = -5; giorni <= 0; ++giorni) {
      mesi.insert(chiave_mese(year_month_day{oggi + days{giorni}}));
    }
    for (const std::string& mese : mesi) {
      verifica_previsione(files, lavoro + mese + ".txt", true, esito);
    }
    const year_month_day oggi_ymd{oggi};
    const year_month_day prossimo{(oggi_ymd.year() / oggi_ymd.month() / 1) + months{1}};
    verifica_previsione(files, lavoro + chiave_mese(prossimo) + ".txt", false, esito);
    verifica_stazione(files, directory, righe[3], oggi, clock.Now(), esito);
    verifica_stato_campioni(files, lavoro + kFileStatoCampioni, righe[3], oggi, esito);
    const std::string testo = data_iso(oggi);
    if (const auto tz = clock.TimeZone()) {
      esito.ok("TZ=" + *tz + "; today's local date is " + testo);
    } else {
      esito.avviso(std::string("TZ is not set: the days follow the system's time zone (today ") +
                       testo + ")",
                   "set TZ=UTC, as the units do, since stations name samples by the UT day");
    }
  }
  const std::string cartella_blocco = DirectoryPart(lavoro);
  if (LockHeld(cartella_blocco)) {
    esito.avviso("a run holds the lock on " + (cartella_blocco.empty() ? "." : cartella_blocco),
                 "a run now would wait for it");
  } else {
    esito.ok("the lock on " + (cartella_blocco.empty() ? std::string(".") : cartella_blocco) +
             " is free");
  }
  return esito.stato();
}

}  // namespace fof1plot
