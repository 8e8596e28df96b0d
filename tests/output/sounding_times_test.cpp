#include "output/sounding_times.h"

#include <gtest/gtest.h>

#include <string>

#include "output/status_file.h"

namespace fof1plot {
namespace {

using namespace std::chrono;

// A day of the six, with its samples as "hh:mm", in drawing order; a trailing "!" marks
// a sample that could not be read.
RegistroFigura giorno(int slot, sys_days data, std::initializer_list<const char*> campioni) {
  RegistroFigura figura;
  figura.slot = slot;
  figura.data = data;
  for (const std::string c : campioni) {
    CampioneRegistrato& campione = figura.campioni.emplace_back();
    campione.ora = static_cast<std::uint8_t>(std::stoi(c.substr(0, 2)));
    campione.minuto = static_cast<std::uint8_t>(std::stoi(c.substr(3, 2)));
    if (c.ends_with("!")) campione.lettura = LetturaCampione::kIlleggibile;
  }
  return figura;
}

TEST(SoundingTimesTest, TheLastSoundingAndTheUsualIntervalOfTheNewestDayWithTwo) {
  const sys_days oggi = 2025y / January / 3, ieri = oggi - days{1};
  const struct {
    const char* caso;
    std::vector<RegistroFigura> figure;
    const char* ultimo;       // nullptr: none
    std::int64_t intervallo;  // -1: none
  } kCasi[] = {
      {"no sample", {giorno(5, ieri, {}), giorno(6, oggi, {})}, nullptr, -1},
      {"an odd number of gaps",
       {giorno(6, oggi, {"10:15", "10:30", "11:15", "11:20"})},
       "2025-01-03T11:20:00Z",
       900},
      {"an even number: the mean of the middle two",
       {giorno(6, oggi, {"10:10", "10:15", "10:30", "10:55", "11:25"})},
       "2025-01-03T11:25:00Z",
       (900 + 1500) / 2},
      {"today has one sample: yesterday's interval",
       {giorno(5, ieri, {"10:00", "10:10", "10:20"}), giorno(6, oggi, {"00:05"})},
       "2025-01-03T00:05:00Z",
       600},
      {"today has none: yesterday's last",
       {giorno(5, ieri, {"22:00", "23:00"}), giorno(6, oggi, {})},
       "2025-01-02T23:00:00Z",
       3600},
      {"minute 00 is drawn last in its hour but sounded first",
       {giorno(6, oggi, {"10:30", "10:00", "11:30", "11:00"})},
       "2025-01-03T11:30:00Z",
       1800},
      {"an unreadable sample is no sounding",
       {giorno(6, oggi, {"10:00", "10:15", "10:20!"})},
       "2025-01-03T10:15:00Z",
       900},
      {"a back-fill's day is none of the six",
       {giorno(0, oggi + days{1}, {"10:00", "10:05"}), giorno(6, oggi, {"10:00", "10:30"})},
       "2025-01-03T10:30:00Z",
       1800},
  };
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.caso);
    const auto ultimo = ultimo_sondaggio(caso.figure);
    EXPECT_EQ(ultimo ? iso_utc(*ultimo) : "none", caso.ultimo ? caso.ultimo : "none");
    EXPECT_EQ(intervallo_consueto(caso.figure).value_or(-1), caso.intervallo);
  }
}

}  // namespace
}  // namespace fof1plot
