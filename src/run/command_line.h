#pragma once

#include <chrono>
#include <string>

namespace fof1plot {

// What the command line asks of the program.
struct RigaDiComando {
  enum class Azione { kCorsaGiornaliera, kArchivio, kVerifica, kRete, kAiuto, kVersione, kErrore };
  Azione azione = Azione::kCorsaGiornaliera;
  // Where to write the run's metrics, for the daily run and kArchivio; empty for none.
  std::string metriche;
  // Whether the run also writes the web site, for the daily run and kArchivio.
  bool sito = false;
  // Whether the daily run lists and reads the whole sample directory.
  bool completo = false;
  // The days to archive again, for kArchivio.
  std::chrono::sys_days primo{}, ultimo{};
  // The network directory, for kRete.
  std::string rete;
  // What is wrong with the command line, for kErrore.
  std::string errore;
};

// The most days one --archive call draws: ten years.
inline constexpr int kGiorniArchivioMax = 3660;

// Reads the arguments: none for the daily run, --help, --version, --check, or --archive
// FIRST [LAST] with dates yyyy-mm-dd, or --network DIR; --metrics FILE with the daily
// run, --archive or --network, --site with the first two, --full with the daily run.
// --check takes the daily run's options.
// Options and dates may come in any order. Anything else is an error that names what is
// wrong.
RigaDiComando leggi_riga_di_comando(int argc, char* argv[]);

// The text of --help.
extern const char* const kUso;

}  // namespace fof1plot
