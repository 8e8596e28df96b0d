#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "run/corsa.h"

namespace fof1plot {

// What the status file tells besides the run's records.
struct ContestoStato {
  std::chrono::system_clock::time_point generato;
  std::optional<std::string> fuso_orario;
  std::chrono::sys_days data_locale;
  int stato_di_uscita = 0;
};

// The daily run's health as JSON: the program, when it ran, when the station last sounded
// and how often it usually does, where it ran, the station, its
// exit status, its failure lines as printed with the number of files each stands for,
// its warning lines, and for each of the six days what its figure shows and
// what became of its archived figure.
std::string testo_stato(const Corsa& corsa, const ContestoStato& contesto);

// "yyyy-mm-ddThh:mm:ssZ".
std::string iso_utc(std::chrono::system_clock::time_point quando);

// The moment a text written as iso_utc writes it gives; none for any other text.
std::optional<std::chrono::sys_seconds> leggi_iso_utc(const std::string& testo);

}  // namespace fof1plot
