#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "platform/whole_file.h"
#include "support/station_tree.h"

namespace fof1plot {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr Colore kBianco = RGB(255, 255, 255);

// The tree after a good first run, which archived today's figure with its forecast curve
// and its values.
class ArchiveRuleTest : public test::AlberoStazione {
 protected:
  void SetUp() override { ASSERT_EQ(esegui(), 0); }
  // The forecast's dot at 5 UT (5.0 MHz) on a figure.
  Colore curva(const std::string& gif) const {
    return test::FiguraGif(cartella / gif).in_utente(50, 50);
  }
  json stato() const { return json::parse(ReadWholeFile(cartella / "out/status.json")); }
  const std::string archiviata = "work/previous_foF1_plots/2025003.gif";
};

TEST_F(ArchiveRuleTest, AFigureWithoutItsForecastNeverReplacesAnArchivedOne) {
  ASSERT_EQ(curva(archiviata), kBianco);
  const std::string previsione = ReadWholeFile(cartella / "work/012025.txt");
  fs::remove(cartella / "work/012025.txt");
  EXPECT_EQ(avvia().stato, 1);
  EXPECT_EQ(curva(archiviata), kBianco) << "the archived figure keeps its curve";
  EXPECT_NE(curva("out/plotfoF16.gif"), kBianco) << "the published one shows the run";
  EXPECT_EQ(stato()["days"][5]["archive_outcome"], "kept");

  fs::remove(cartella / archiviata);
  EXPECT_EQ(avvia().stato, 1);
  EXPECT_GT(rossi_archiviati(), 0) << "a day without a figure is archived without its curve";
  EXPECT_NE(curva(archiviata), kBianco);
  EXPECT_EQ(stato()["days"][5]["archive_outcome"], "new");

  test::scrivi(cartella / "work/012025.txt", previsione);
  EXPECT_EQ(avvia().stato, 0);
  EXPECT_EQ(curva(archiviata), kBianco) << "replaced once the forecast is back";
  EXPECT_EQ(stato()["days"][5]["archive_outcome"], "replaced");
}

// A figure drawn without its forecast and without samples shows its frame alone: the
// forecast, once back, gives the day its curve. One that shows values keeps them.
TEST_F(ArchiveRuleTest, TheForecastBackGivesABareArchivedFigureItsCurveAndNothingElse) {
  const std::string vuota = "work/previous_foF1_plots/2025002.gif";
  const std::string previsione = ReadWholeFile(cartella / "work/012025.txt");
  fs::remove(cartella / "work/012025.txt");
  fs::remove(cartella / vuota);
  fs::remove(cartella / archiviata);
  EXPECT_EQ(avvia().stato, 1);
  ASSERT_NE(curva(vuota), kBianco) << "a day without samples archived without its curve";
  ASSERT_NE(curva(archiviata), kBianco);
  ASSERT_GT(rossi_archiviati(), 0);

  test::scrivi(cartella / "work/012025.txt", previsione);
  for (const auto& voce : fs::directory_iterator(cartella / "data")) {
    if (voce.path().filename().string().starts_with("RM041_")) fs::remove(voce.path());
  }
  EXPECT_EQ(avvia().stato, 0);
  EXPECT_EQ(curva(vuota), kBianco) << "the bare figure gets its curve";
  EXPECT_EQ(stato()["days"][4]["archive_outcome"], "replaced");
  EXPECT_GT(rossi_archiviati(), 0) << "a figure with values is not replaced by a bare one";
  EXPECT_EQ(stato()["days"][5]["archive_outcome"], "kept");
  EXPECT_EQ(avvia().stato, 0);
  EXPECT_EQ(stato()["days"][4]["archive_outcome"], "kept") << "and keeps it";
}

TEST_F(ArchiveRuleTest, ManyFilesFailingForOneCauseAreOneLine) {
  const bool root = ::geteuid() == 0;
  if (root) test::aperto_a_tutti(cartella);
  for (int k = 0; k < 500; ++k) {
    campione(12 + k / 60, k % 60, " 5.5");
    fs::permissions(nome_campione(12 + k / 60, k % 60),
                    root ? fs::perms::owner_read | fs::perms::owner_write : fs::perms::none);
  }
  fs::remove(cartella / "work/012025.txt");
  const test::Esito esito = avvia({}, root);
  EXPECT_EQ(esito.stato, 1);
  const std::string dati = cartella / "data/";
  const std::string campioni = "fof1plot: " + dati +
                               ": cannot read 500 sample files (RM041_2025003120100.TXT ... "
                               "RM041_2025003200000.TXT): Permission denied\n";
  const std::string previsione = "fof1plot: " + cartella / "work/012025.txt" +
                                 ": cannot open the forecast file: No such file or directory\n";
  EXPECT_EQ(esito.errori, previsione + campioni) << "two causes, two lines";
  const json s = stato();
  EXPECT_EQ(s["failures"].size(), 2u);
  EXPECT_EQ(s["failure_files"], json::array({1, 500}));
  EXPECT_GT(rossi_archiviati(), 0) << "the archived figure keeps its values";
  EXPECT_EQ(curva(archiviata), kBianco);
}

TEST_F(ArchiveRuleTest, AnUnwritableOutputDirectoryStillLetsTheRunArchive) {
  const bool root = ::geteuid() == 0;
  if (root) test::aperto_a_tutti(cartella);
  campione(12, 0, " 9.0");
  for (const char* giorno : {"2024364", "2025001"}) {
    fs::remove(cartella / ("work/previous_foF1_plots/" + std::string(giorno) + ".gif"));
    fs::remove(cartella / ("work/previous_foF1_data/" + std::string(giorno) + ".csv"));
  }
  const std::string prima = ReadWholeFile(cartella / "out/plotfoF16.gif");
  fs::permissions(cartella / "out", fs::perms::owner_read | fs::perms::owner_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
  const test::Esito esito = avvia({}, root);
  fs::permissions(cartella / "out", fs::perms::all);
  EXPECT_EQ(esito.stato, 1);
  EXPECT_EQ(esito.errori, "fof1plot: " + cartella / "out/" +
                              ": cannot write 3 files (plotfoF16.gif ... status.json): "
                              "Permission denied\n");
  EXPECT_NE(ReadWholeFile(cartella / "work/previous_foF1_data/2025003.csv")
                .find("2025-01-03T12:00:00Z,9.0,9.0"),
            std::string::npos)
      << "today's values archived";
  EXPECT_EQ(test::FiguraGif(cartella / archiviata).in_utente(120, 90), RGB(255, 0, 0))
      << "with today's figure";
  for (const char* giorno : {"2024364", "2025001"}) {
    EXPECT_TRUE(
        test::FiguraGif(cartella / ("work/previous_foF1_plots/" + std::string(giorno) + ".gif"))
            .valida())
        << giorno;
    EXPECT_TRUE(
        test::esiste(cartella / ("work/previous_foF1_data/" + std::string(giorno) + ".csv")))
        << giorno;
  }
  EXPECT_EQ(ReadWholeFile(cartella / "out/plotfoF16.gif"), prima);
}

}  // namespace
}  // namespace fof1plot
