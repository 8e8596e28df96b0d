#pragma once

#include <chrono>
#include <string>

namespace fof1plot {

// What the command line asks of the program.
struct RigaDiComando {
  enum class Azione { kCorsaGiornaliera, kArchivio, kAiuto, kVersione, kErrore };
  Azione azione = Azione::kCorsaGiornaliera;
  // The days to archive again, for kArchivio.
  std::chrono::sys_days primo{}, ultimo{};
  // What is wrong with the command line, for kErrore.
  std::string errore;
};

// The most days one --archive call draws: ten years.
inline constexpr int kGiorniArchivioMax = 3660;

// Reads the arguments: none for the daily run, --help, --version, or --archive FIRST
// [LAST] with dates yyyy-mm-dd; anything else is an error that names what is wrong.
RigaDiComando leggi_riga_di_comando(int argc, char* argv[]);

// The text of --help.
extern const char* const kUso;

}  // namespace fof1plot
