#include <gtest/gtest.h>

#include "support/bench.h"

namespace fof1plot {
namespace {

class RiconosciStazioneTest : public ::testing::Test {
 protected:
  std::int16_t riconosci(std::vector<std::string> righe) {
    banco.directory.primi["/data/"] = "first.txt";
    banco.files.aggiungi("/data/first.txt", std::move(righe));
    return banco.form.riconosci_stazione();
  }
  test::BancoFinto banco;
};

TEST_F(RiconosciStazioneTest, StationTable) {
  const struct {
    const char* riga;
    int tipo;
  } kCasi[] = {
      {"Gibilmanna 2025", 1}, {"Mosc", 1}, {"Tucuman", 2},
      {"Bahia Blanca", 3},    {"Rome", 4}, {"La_Spezia", 5},
      {"Malindi", 6},         {"ROME", 0}, {"rome", 0},
      {" Rome", 0},           {"Rom", 0},  {"", 0},
  };
  for (const auto& caso : kCasi) EXPECT_EQ(riconosci({caso.riga, "Rome"}), caso.tipo) << caso.riga;
}

TEST_F(RiconosciStazioneTest, HourCodesOfTheKind) {
  riconosci({"Mosc"});
  EXPECT_EQ(banco.form.codici_ora(0), "A");
  EXPECT_EQ(banco.form.codici_ora(8), "I");
  EXPECT_EQ(banco.form.codici_ora(23), "X");
  riconosci({"Rome"});
  EXPECT_EQ(banco.form.codici_ora(0), "00");
  EXPECT_EQ(banco.form.codici_ora(9), "09");
  EXPECT_EQ(banco.form.codici_ora(23), "23");
  riconosci({"Unknown"});
  EXPECT_EQ(banco.form.codici_ora(23), "23") << "an unknown station leaves the codes";
}

TEST_F(RiconosciStazioneTest, NoStationWithoutAReadableFirstFile) {
  EXPECT_EQ(banco.form.riconosci_stazione(), 0) << "directory missing";
  banco.directory.primi["/data/"] = "";
  EXPECT_EQ(banco.form.riconosci_stazione(), 0) << "directory empty";
  EXPECT_EQ(banco.files.tentativi.back(), "/data/");
  EXPECT_EQ(riconosci({}), 0) << "empty station file";
}

}  // namespace
}  // namespace fof1plot
