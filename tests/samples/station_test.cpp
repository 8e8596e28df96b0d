#include <gtest/gtest.h>

#include <memory>

#include "support/bench.h"

namespace fof1plot {
namespace {

// A fresh plot window whose sample directory lists `nomi`, the first being the station
// file with the given lines.
std::unique_ptr<test::BancoFinto> banco_con(std::vector<std::string> nomi,
                                            std::vector<std::string> righe) {
  auto banco = std::make_unique<test::BancoFinto>();
  if (!nomi.empty()) banco->files.aggiungi("/data/" + nomi.front(), std::move(righe));
  banco->directory.elenchi["/data/"] = std::move(nomi);
  return banco;
}

TEST(RiconosciStazioneTest, StationTable) {
  const struct {
    const char* riga;
    int tipo;
  } kCasi[] = {
      {"Gibilmanna 2025", 1}, {"Mosc", 1}, {"Tucuman", 2},
      {"Bahia Blanca", 3},    {"Rome", 4}, {"La_Spezia", 5},
      {"Malindi", 6},         {"ROME", 0}, {"rome", 0},
      {" Rome", 0},           {"Rom", 0},  {"", 0},
  };
  for (const auto& caso : kCasi) {
    auto banco = banco_con({"first.txt"}, {caso.riga, "Rome"});
    EXPECT_EQ(banco->form.riconosci_stazione(), caso.tipo) << caso.riga;
    EXPECT_EQ(banco->righe().size(), caso.tipo == 0 ? 1u : 0u) << caso.riga;
  }
}

TEST(RiconosciStazioneTest, HourCodesOfTheKind) {
  auto mosca = banco_con({"s"}, {"Mosc"});
  mosca->form.riconosci_stazione();
  EXPECT_EQ(mosca->form.codici_ora(0), "A");
  EXPECT_EQ(mosca->form.codici_ora(8), "I");
  EXPECT_EQ(mosca->form.codici_ora(23), "X");
  auto roma = banco_con({"s"}, {"Rome"});
  roma->form.riconosci_stazione();
  EXPECT_EQ(roma->form.codici_ora(0), "00");
  EXPECT_EQ(roma->form.codici_ora(9), "09");
  EXPECT_EQ(roma->form.codici_ora(23), "23");
}

TEST(RiconosciStazioneTest, NoStationIsReportedWithItsCause) {
  const struct {
    const char* caso;
    std::unique_ptr<test::BancoFinto> banco;
    const char* riga;
  } kCasi[] = {
      {"directory missing", banco_con({}, {}),
       "/data/: cannot list the sample directory: No such file or directory"},
      {"directory empty", banco_con({}, {}),
       "/data/: no station file: the sample directory holds no ordinary file"},
      {"empty station file", banco_con({"s.txt"}, {}),
       "/data/s.txt: cannot read the station file: end of file"},
      {"unknown station", banco_con({"s.txt"}, {"Pari\x01s"}),
       "/data/s.txt: the station file names no known station: its first line begins "
       "\"Pari\""},
      {"station file unreadable", banco_con({"gone.txt"}, {}),
       "/data/gone.txt: cannot open the station file: No such file or directory"},
  };
  kCasi[0].banco->directory.elenchi.clear();
  kCasi[4].banco->files.file.clear();
  for (const auto& c : kCasi) {
    EXPECT_EQ(c.banco->form.riconosci_stazione(), 0) << c.caso;
    EXPECT_EQ(c.banco->righe(), std::vector<std::string>{c.riga}) << c.caso;
    EXPECT_EQ(c.banco->corsa.stato_di_uscita(), 1) << c.caso;
  }
}

TEST(RiconosciStazioneTest, TheDirectoryIsListedOncePerRun) {
  auto banco = banco_con({"s"}, {"Rome"});
  for (int k = 0; k < 6; ++k) EXPECT_EQ(banco->form.riconosci_stazione(), 4);
  EXPECT_EQ(banco->directory.elencazioni, 1);
  EXPECT_EQ(banco->files.tentativi.size(), 1u) << "the station file is read once";
  auto assente = banco_con({}, {});
  assente->directory.elenchi.clear();
  for (int k = 0; k < 6; ++k) assente->form.riconosci_stazione();
  EXPECT_EQ(assente->righe().size(), 1u) << "one line, not six";
}

}  // namespace
}  // namespace fof1plot
