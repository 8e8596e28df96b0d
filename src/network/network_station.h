#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "output/last_value.h"
#include "output/sounding_times.h"
#include "run/station_description.h"

namespace fof1plot {

// How a station of the network stands: sounding and published; silent (no sounding for
// three usual intervals and at least an hour, on a fresh report); not updated (no run
// for 26 hours); its last run failed; its published files cannot be read; or its report
// is older than three live intervals, so that the copy, not the instrument, is in doubt.
enum class StatoStazione { kOk, kMuta, kNonAggiornata, kInErrore, kIlleggibile, kCopiaFerma };

// How old a report may be and still tell whether the station sounds: three of the
// stations' five-minute live intervals.
inline constexpr std::chrono::minutes kReportoFresco{15};

// One of a station's values, as its published CSV gives it.
struct ValoreOggi {
  std::string ora;  // "yyyy-mm-ddThh:mm:00Z"
  std::string mhz;  // empty for a field not of the dd.d form
  std::string campo;
};

// A station of the network as its copied files show it.
struct StazioneRete {
  // The station's subdirectory of the network directory, and the name it shows.
  std::string cartella;
  std::string nome;
  StatoStazione stato = StatoStazione::kIlleggibile;
  // Why the station is unreadable, or its first failure line when it is failing.
  std::string motivo;
  std::optional<std::chrono::sys_seconds> generato;
  Freschezza fresca;
  int stato_di_uscita = 0;
  int guasti = 0;
  // Today's date and counts, from status.json's slot 6.
  std::string data_oggi;
  int valori = 0, na = 0, no = 0;
  std::string versione_oggi;
  // The values of the overview's UTC day, at most one a minute, in time order; and the
  // last value in MHz of the CSV, whatever its day.
  std::vector<ValoreOggi> oggi;
  std::optional<ValoreOggi> ultimo_valore;
  // The last sounding's value beside its forecast, from status.json (since 1.5.0).
  std::optional<UltimoValore> valore_sondaggio;
  // What the station's description file says of it, from status.json (since 1.5.0).
  std::optional<DescrizioneStazione> descrizione;
  // The figure of today to show (plotfoF16.svg, or its GIF), and whether the station
  // publishes a page of its own; empty and false when it does not.
  std::string figura;
  bool pagina = false;
};

// Caps on what is read of a station's files, which come from another host.
inline constexpr std::size_t kMassimoStato = std::size_t{1} << 20;
inline constexpr std::size_t kMassimoCsv = std::size_t{10} << 20;

class ConfinedDirectory;

// Reads the station in the subdirectory `cartella` of `rete`, a real directory when
// listed or not, and judges its state at `adesso`. Never throws: what cannot be read, a
// field of another type or out of its range, makes the station unreadable, with the
// reason.
StazioneRete leggi_stazione(const ConfinedDirectory& rete, const std::string& cartella,
                            bool directory, std::chrono::system_clock::time_point adesso);

// "ok", "silent", "not updated", "failing", "unreadable", "copy stale".
const char* nome_stato(StatoStazione stato);

}  // namespace fof1plot
