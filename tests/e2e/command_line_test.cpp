#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "platform/whole_file.h"
#include "support/station_tree.h"

namespace fof1plot {
namespace {

namespace fs = std::filesystem;

// Every path under a directory with its size and modification time.
std::map<std::string, std::pair<std::uintmax_t, std::int64_t>> stato_albero(const std::string& d) {
  std::map<std::string, std::pair<std::uintmax_t, std::int64_t>> voci;
  for (const auto& voce : fs::recursive_directory_iterator(d)) {
    struct stat info;
    ::lstat(voce.path().c_str(), &info);
    voci[voce.path().string()] = {static_cast<std::uintmax_t>(info.st_size),
                                  info.st_mtim.tv_sec * 1000000000 + info.st_mtim.tv_nsec};
  }
  return voci;
}

TEST(CommandLineTest, AnswersWithoutTouchingAnyFile) {
  enum Flusso { kNessuno, kUscita, kErrori };
  const struct {
    std::vector<std::string> argomenti;
    int stato;
    Flusso flusso;
    const char* testo;
  } kCasi[] = {
      {{"--help"}, 0, kUscita, "Usage: fof1plot"},
      {{"-h"}, 0, kUscita, "--archive FIRST [LAST]"},
      {{"--version"}, 0, kUscita, "fof1plot " FOF1PLOT_VERSION "\n"},
      {{"--bogus"}, 2, kErrori, "unknown option '--bogus'"},
      {{"today"}, 2, kErrori, "unexpected argument 'today'"},
      {{"--help", "--version"}, 2, kErrori, "more than one of"},
      {{"--archive"}, 2, kErrori, "--archive needs the first day"},
      {{"--archive", "2025-02-30"}, 2, kErrori, "not a date yyyy-mm-dd: '2025-02-30'"},
      {{"--archive", "2025-1-3"}, 2, kErrori, "not a date"},
      {{"--archive", "2025-01-03", "2025-01-01"}, 2, kErrori, "the last day comes before"},
      {{"--archive", "2014-01-01", "2025-01-03"}, 2, kErrori, "more than 3660 days"},
      {{"--archive", "2025-01-01", "2025-01-02", "2025-01-03"}, 2, kErrori, "unexpected argument"},
      {{"--archive", "2025-01-03", "2025-01-04"}, 2, kErrori, "the last day comes after today"},
      {{"--metrics"}, 2, kErrori, "--metrics needs a file"},
      {{"--network", "n", "--site"}, 2, kErrori, "--site goes with the daily run"},
      {{"--check", "--archive", "2025-01-01"}, 2, kErrori, "more than one of"},
  };
  test::Albero albero;
  ASSERT_EQ(albero.esegui(), 0);
  const auto prima = stato_albero(albero.cartella.path());
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.argomenti.front() + " ...");
    const test::Esito esito = albero.avvia(caso.argomenti);
    EXPECT_EQ(esito.stato, caso.stato);
    const std::string& atteso = caso.flusso == kUscita ? esito.uscita : esito.errori;
    const std::string& vuoto = caso.flusso == kUscita ? esito.errori : esito.uscita;
    EXPECT_NE(atteso.find(caso.testo), std::string::npos) << atteso;
    EXPECT_EQ(vuoto, "");
    if (caso.flusso == kErrori) {
      EXPECT_EQ(std::count(atteso.begin(), atteso.end(), '\n'), 1) << atteso;
      EXPECT_NE(atteso.find("fof1plot --help"), std::string::npos);
    }
    EXPECT_EQ(stato_albero(albero.cartella.path()), prima);
  }
}

using BackfillTest = test::AlberoStazione;

TEST_F(BackfillTest, ArchivesExactlyTheDaysAsTheDailyRunDrawsThemAndPublishesNothing) {
  campione(12, 0, " 9.0");
  ASSERT_EQ(esegui(), 0);
  const std::string oggi = ReadWholeFile(cartella / "out/plotfoF16.gif");
  fs::remove_all(cartella / "out");
  test::crea_cartella(cartella / "out");
  fs::remove_all(cartella / "work/previous_foF1_plots");
  test::crea_cartella(cartella / "work/previous_foF1_plots");

  const test::Esito esito = avvia({"--archive", "2024-12-25", "2025-01-03"});
  EXPECT_EQ(esito.stato, 0) << esito.errori;
  std::vector<std::string> archiviate;
  for (const auto& f : fs::directory_iterator(cartella / "work/previous_foF1_plots")) {
    archiviate.push_back(f.path().filename());
  }
  std::sort(archiviate.begin(), archiviate.end());
  EXPECT_EQ(archiviate,
            (std::vector<std::string>{"2024360.gif", "2024361.gif", "2024362.gif", "2024363.gif",
                                      "2024364.gif", "2024365.gif", "2024366.gif", "2025001.gif",
                                      "2025002.gif", "2025003.gif"}));
  EXPECT_TRUE(fs::is_empty(cartella / "out")) << "nothing published";
  for (const auto& f : fs::directory_iterator(cartella / "work")) {
    EXPECT_NE(f.path().extension(), ".bmp") << f.path();
  }
  const test::FiguraGif ricostruita(cartella / "work/previous_foF1_plots/2025003.gif");
  test::scrivi(cartella / "daily.gif", oggi);
  const test::FiguraGif attesa(cartella / "daily.gif");
  int diversi = 0;
  for (int r = 0; r < 221; ++r) {
    for (int c = 0; c < 286; ++c) diversi += attesa.pixel(c, r) != ricostruita.pixel(c, r);
  }
  EXPECT_EQ(diversi, 0) << "the rebuilt figure of 3 January is the daily run's";
}

}  // namespace
}  // namespace fof1plot
