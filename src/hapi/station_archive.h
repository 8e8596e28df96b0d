#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/confined_files.h"

namespace fof1plot {

// A station's output directory as the HAPI server reads it: the day CSVs and each
// month's hourly.csv of its archive (archive/yyyy/mm/), and today's published CSV
// (plotfoF16.csv). Nothing is written and no symbolic link is followed.
class ArchivioStazione {
 public:
  explicit ArchivioStazione(std::unique_ptr<ConfinedDirectory> cartella);

  // The first and the last day with a CSV; none when there is none.
  std::optional<std::pair<std::chrono::sys_days, std::chrono::sys_days>> giorni_con_valori();
  // The first and the last month with an hourly.csv; none when there is none.
  std::optional<std::pair<std::chrono::year_month, std::chrono::year_month>> mesi_orari();
  // The CSV of a day: today's published one when its rows are of that day, which is
  // newer than the archived one, else the archived one; empty when the day has none.
  // Throws Failure when a file is there but cannot be read.
  std::string csv_del_giorno(std::chrono::sys_days giorno);
  // The month's hourly.csv; empty when there is none. Throws Failure as above.
  std::string orario_del_mese(std::chrono::year_month mese);

 private:
  // The archive's directory of a month, opened once for the days that follow; null when
  // there is none.
  const ConfinedDirectory* cartella_mese(std::chrono::year_month mese);
  // The day of today's published CSV (that of its first row) and its text, read once.
  const std::pair<std::optional<std::chrono::sys_days>, std::string>& pubblicato();

  std::unique_ptr<ConfinedDirectory> cartella_;
  std::unique_ptr<ConfinedDirectory> archivio_;
  std::optional<std::chrono::year_month> mese_aperto_;
  std::unique_ptr<ConfinedDirectory> cartella_mese_;
  std::optional<std::pair<std::optional<std::chrono::sys_days>, std::string>> pubblicato_;
};

// Caps on a day's CSV and a month's hourly.csv, which may come from another host: a day
// of a sample a minute is under 60 KiB.
inline constexpr std::size_t kMassimoCsvGiorno = std::size_t{1} << 20;

}  // namespace fof1plot
