#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/whole_file.h"
#include "support/figures.h"
#include "support/station_tree.h"

namespace fof1plot {
namespace {

using test::esiste;
using test::scrivi;

using test::kArancio;
using test::kBianco;
using test::kRosso;
using test::kTesto;
using test::kVerde;

using DailyRunTest = test::AlberoStazione;

TEST_F(DailyRunTest, PublishesAndArchivesSixFigures) {
  ASSERT_EQ(esegui(), 0);
  const char* kArchivio[] = {"2024364", "2024365", "2024366", "2025001", "2025002", "2025003"};
  for (int k = 1; k <= 6; ++k) {
    const test::FiguraGif pubblicata(cartella / ("out/plotfoF1" + std::to_string(k) + ".gif"));
    ASSERT_TRUE(pubblicata.valida()) << "slot " << k;
    EXPECT_EQ(pubblicata.larghezza(), 286);
    EXPECT_EQ(pubblicata.altezza(), 221);
    EXPECT_TRUE(test::FiguraGif(cartella / ("work/previous_foF1_plots/" +
                                            std::string(kArchivio[k - 1]) + ".gif"))
                    .valida())
        << kArchivio[k - 1];
    EXPECT_FALSE(esiste(cartella / ("work/grafico" + std::to_string(k) + ".bmp")));
  }
}

TEST_F(DailyRunTest, TodaysFigureShowsValuesSegmentsTicksForecastAndDate) {
  ASSERT_EQ(esegui(), 0);
  const test::FiguraGif oggi(cartella / "out/plotfoF16.gif");
  ASSERT_TRUE(oggi.valida());
  EXPECT_EQ(oggi.in_utente(102, 40), kRosso);
  EXPECT_EQ(oggi.in_utente(105, 60), kRosso);
  EXPECT_EQ(oggi.in_utente(104, 50), kRosso) << "segment between 10:15 and 10:30";
  EXPECT_EQ(oggi.in_utente(110, 4), kVerde);
  EXPECT_EQ(oggi.in_utente(112, 4), kArancio);
  EXPECT_EQ(oggi.in_utente(1, 70), kBianco) << "January forecast at 0 UT";
  // 20.0 MHz at 12 UT: its two segments leave the canvas's top row at 11.9 h and 12.1 h.
  EXPECT_EQ(oggi.in_utente(119, 185), kBianco);
  EXPECT_EQ(oggi.in_utente(121, 185), kBianco);
  EXPECT_NE(oggi.in_utente(120, 185), kBianco);
  int testo = 0;
  for (int c = 110; c < 110 + 16 * 6; ++c) {
    for (int r = 5; r < 18; ++r) testo += oggi.pixel(c, r) == kTesto;
  }
  EXPECT_GT(testo, 40) << "date line";
}

TEST_F(DailyRunTest, SlotsAcrossTheYearEndReadBothForecasts) {
  ASSERT_EQ(esegui(), 0);
  const test::FiguraGif dicembre(cartella / "out/plotfoF11.gif");
  const test::FiguraGif gennaio(cartella / "out/plotfoF14.gif");
  EXPECT_EQ(dicembre.in_utente(1, 30), kBianco);
  EXPECT_NE(dicembre.in_utente(1, 70), kBianco);
  EXPECT_EQ(gennaio.in_utente(1, 70), kBianco);
  EXPECT_EQ(dicembre.conta(kRosso), 0) << "no samples on 29 December";
}

TEST_F(DailyRunTest, SecondRunRewritesTheSameFiles) {
  ASSERT_EQ(esegui(), 0);
  const std::string prima = ReadWholeFile(cartella / "out/plotfoF16.gif");
  scrivi(cartella / "out/plotfoF16.gif", "stale");
  ASSERT_EQ(esegui(), 0);
  EXPECT_EQ(ReadWholeFile(cartella / "out/plotfoF16.gif"), prima);
}

TEST_F(DailyRunTest, MissingArchiveFolderPublishesLeavesNoPictureAndExitsWith1) {
  ::rmdir((cartella / "work/previous_foF1_plots").c_str());
  EXPECT_EQ(esegui(), 1);
  EXPECT_TRUE(test::FiguraGif(cartella / "out/plotfoF16.gif").valida());
  EXPECT_FALSE(esiste(cartella / "work/grafico6.bmp"));
}

TEST_F(DailyRunTest, PicturesAKilledEarlierVersionLeftAreRemoved) {
  scrivi(cartella / "work/grafico3.bmp", "BM");
  EXPECT_EQ(esegui(), 0);
  EXPECT_FALSE(esiste(cartella / "work/grafico3.bmp"));
}

TEST(NoSettingsTest, ARunWithoutSettingsWritesNothingAndSaysWhereItLooked) {
  test::CartellaTemporanea vuota;
  test::crea_cartella(vuota / "previous_foF1_plots");
  const test::Esito esito = test::avvia_fof1plot(vuota.path(), "2025-01-03 10:00:00");
  EXPECT_EQ(esito.stato, 1);
  EXPECT_EQ(esito.errori, "fof1plot: " + (vuota / "gralvo.ini") +
                              ": cannot open the settings file: No such file or directory\n");
  std::vector<std::string> presenti;
  for (const auto& voce : std::filesystem::recursive_directory_iterator(vuota.path())) {
    presenti.push_back(voce.path().filename());
  }
  EXPECT_EQ(presenti, std::vector<std::string>{"previous_foF1_plots"});
}

}  // namespace
}  // namespace fof1plot
