#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "run/figure_record.h"

namespace fof1plot {

// When the station last sounded and how often it usually does.
struct Freschezza {
  std::optional<std::chrono::sys_seconds> ultimo;
  std::optional<std::int64_t> intervallo_secondi;

  // Whether, at `adesso`, the station counts as silent: its last sounding is older than
  // three usual intervals and at least an hour old.
  bool muta(std::chrono::system_clock::time_point adesso) const;
};

// "5 min ago", "3 h ago", "2 days ago", as the pages' scripts write it too; "ahead of the
// clock" for a time still to come.
std::string fa(std::chrono::system_clock::duration eta);

// The freshness of the six days' figures.
Freschezza freschezza(const std::vector<RegistroFigura>& figure);

// The UT time of the latest sample read of the six days' figures; none when none of
// them read one. A job that runs can thus be told from a station that sounds.
std::optional<std::chrono::sys_seconds> ultimo_sondaggio(const std::vector<RegistroFigura>& figure);

// The median gap, in whole seconds, between consecutive samples read of the newest of
// the six days that read at least two; none when no day did. The mean of the two middle
// gaps where their number is even.
std::optional<std::int64_t> intervallo_consueto(const std::vector<RegistroFigura>& figure);

}  // namespace fof1plot
