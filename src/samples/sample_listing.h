#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string_view>
#include <vector>

namespace fof1plot {

// Which sample files of a run's days a listing of the sample directory holds, for every
// station kind, so that a run opens only names that exist. Only a bit per kind, day,
// hour and minute is kept, never the listed names, and a kind's bits only once a name
// of that kind is listed, so a directory of any size costs the same memory. A listed
// name counts when it equals a sample's name ignoring letter case; the file is then
// opened by the name the program builds, and the file system decides, as it would for
// any open, whether that name finds it.
class ElencoCampioni {
 public:
  // Forgets every name; the days from primo to ultimo (at most a century) are recorded.
  void prepara(std::chrono::sys_days primo, std::chrono::sys_days ultimo);
  // Records a listed name (without its directory) when it names a sample of the days.
  void registra(std::string_view nome);
  // Records the sample of a kind, day of the range, hour and minute, as if listed.
  void segna(int tipo_stazione, std::chrono::sys_days giorno, int ora, int minuto);
  // Whether the sample of a day's hour and minute (0 to 59) was listed for a kind.
  bool contiene(int tipo_stazione, std::chrono::sys_days giorno, int ora, int minuto) const;

 private:
  static constexpr int kTipi = 6;
  // The day a sample name of a kind stands for, from its year and day-of-year digits;
  // false when it is no day of the range.
  bool giorno_del_nome(int tipo_stazione, std::string_view anno, std::string_view giorno,
                       std::chrono::sys_days& data) const;
  std::size_t bit(std::chrono::sys_days giorno, int ora, int minuto) const;

  std::chrono::sys_days primo_{}, ultimo_{};
  // The range's first year, and its ends as year * 1000 + day of year, which order as
  // the days do: most listed names fall outside the range and are told by these alone.
  int anno_primo_ = 0, chiave_primo_ = 0, chiave_ultimo_ = 0;
  std::array<std::vector<std::uint64_t>, kTipi> presenti_;
};

}  // namespace fof1plot
