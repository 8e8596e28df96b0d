#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/directory.h"
#include "run/figure_record.h"

namespace fof1plot {

// What a run read of the sample directory, kept in the work directory so that the next
// run of the same day opens only what arrived since: the directory and station file as
// they were, and every sample of the six days with the value field read from it, or
// whether it was still being written or unreadable, to be tried again.
struct StatoCampioni {
  struct Campione {
    std::chrono::sys_days giorno{};
    int ora = 0;
    int minuto = 0;
    LetturaCampione lettura = LetturaCampione::kLetto;
    // Characters 16 to 19 of line 7, as read: only for kLetto.
    std::string campo;
    bool operator==(const Campione&) const = default;
  };

  // The sample directory as gralvo.ini names it, and the run's today.
  std::string cartella_dati;
  std::chrono::sys_days oggi{};
  FileIdentity cartella;
  // The station file's name in the sample directory, its identity and first line.
  std::string nome_stazione;
  FileIdentity stazione;
  std::string riga_stazione;
  std::vector<Campione> campioni;

  bool operator==(const StatoCampioni&) const = default;
};

// The state's file in the work directory.
inline constexpr const char* kFileStatoCampioni = "fof1plot.state";

// The state as the lines of its file, the first naming the format and its version.
std::string testo_stato(const StatoCampioni& stato);
// The state a file's lines hold; none when they are not a whole state of this version.
std::optional<StatoCampioni> leggi_stato(const std::vector<std::string>& righe);

}  // namespace fof1plot
