#include "run/station_description.h"

#include <gtest/gtest.h>

namespace fof1plot {
namespace {

TEST(StationDescriptionTest, AWholeFileGivesEveryFieldAndItsWords) {
  const auto letta = leggi_descrizione({"# Rome's ionosonde", "", "ursi_code = RO041",
                                        "name = Roma", "latitude = 41.8", "longitude=12.5",
                                        "elevation_m = 60", "institution = INGV",
                                        "licence = CC BY 4.0", "contact = iono@example.org"});
  ASSERT_TRUE(std::holds_alternative<DescrizioneStazione>(letta)) << std::get<std::string>(letta);
  const DescrizioneStazione& d = std::get<DescrizioneStazione>(letta);
  EXPECT_EQ(d.ursi, "RO041");
  EXPECT_EQ(d.latitudine, 41.8);
  EXPECT_EQ(parole_descrizione(d),
            "RO041 \xC2\xB7 Roma \xC2\xB7 41.80\xC2\xB0 N, 12.50\xC2\xB0 E, 60 m \xC2\xB7 INGV "
            "\xC2\xB7 licence CC BY 4.0 \xC2\xB7 contact iono@example.org");
  EXPECT_EQ(parole_descrizione(std::get<DescrizioneStazione>(
                leggi_descrizione({"latitude = -34.6", "longitude = -58.4"}))),
            "34.60\xC2\xB0 S, 58.40\xC2\xB0 W");
}

// Each fault is named with its line; the run then goes on without the description.
TEST(StationDescriptionTest, BadContentIsOneLineNamingWhatIsWrong) {
  const struct {
    std::vector<std::string> righe;
    const char* errore;
  } kCasi[] = {
      {{"name = Roma", "latitude = 95"}, "line 2: latitude 95 is not between -90 and 90"},
      {{"longitude = east"}, "line 1: longitude \"east\" is not a number"},
      {{"elevation_m = 1e999"}, "line 1: elevation_m \"1e999\" is not a number"},
      {{"ursi_code = ro041"}, "line 1: ursi_code \"ro041\" is not five capitals or digits"},
      {{"colour = red"}, "line 1: unknown key \"colour\""},
      {{"just text"}, "line 1: not \"key = value\""},
      {{"name = S\xE3o Paulo"}, "line 1: name is not UTF-8 text"},
      {{"# a comment", "institution = " + std::string(201, 'I')},
       "line 2: institution is longer than 200 bytes"},
  };
  for (const auto& caso : kCasi) {
    const auto letta = leggi_descrizione(caso.righe);
    ASSERT_TRUE(std::holds_alternative<std::string>(letta)) << caso.errore;
    EXPECT_EQ(std::get<std::string>(letta), caso.errore);
  }
}

}  // namespace
}  // namespace fof1plot
