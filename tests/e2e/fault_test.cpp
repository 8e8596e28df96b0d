#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "platform/whole_file.h"
#include "support/station_tree.h"

namespace fof1plot {
namespace {

using test::esiste;
using test::scrivi;

// Hidden files left in a directory: the temporary files of interrupted writes.
std::vector<std::string> nascosti(const std::string& cartella) {
  std::vector<std::string> nomi;
  DIR* dir = ::opendir(cartella.c_str());
  if (dir == nullptr) return nomi;
  while (const dirent* e = ::readdir(dir)) {
    const std::string nome = e->d_name;
    if (nome != "." && nome != ".." && nome[0] == '.') nomi.push_back(nome);
  }
  ::closedir(dir);
  return nomi;
}

using BadInputTest = test::AlberoStazione;

TEST_F(BadInputTest, JunkInTheSampleDirectoryNeverStopsTheRun) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919) & 0xFF);
  scrivi(nome_campione(1, 0), junk);
  scrivi(nome_campione(2, 0), std::string(10 * 1024 * 1024, 'x'));
  const std::string nul(1, '\0');
  scrivi(nome_campione(3, 0),
         "Rome" + nul + "\r\n" + nul + "\r\n\r\n\r\n\r\n\r\n" + std::string(15, '\0') + " 4.5\r\n");
  test::crea_cartella(nome_campione(4, 0));
  ASSERT_EQ(::symlink("nowhere", nome_campione(5, 0).c_str()), 0);
  ASSERT_EQ(::mkfifo(nome_campione(6, 0).c_str(), 0600), 0);
  EXPECT_EQ(esegui(), 0);
  EXPECT_TRUE(figure_intere());
  const test::FiguraGif oggi(cartella / "out/plotfoF16.gif");
  EXPECT_EQ(oggi.in_utente(30, 45), RGB(255, 0, 0)) << "the file with NUL bytes is read";
  EXPECT_EQ(oggi.in_utente(102, 40), RGB(255, 0, 0)) << "later samples still drawn";
}

TEST_F(BadInputTest, SampleDirectoryThatIsAFile) {
  std::filesystem::remove_all(cartella / "data");
  scrivi(cartella / "data", "not a directory");
  EXPECT_EQ(esegui(), 1);
  EXPECT_TRUE(figure_intere());
}

TEST_F(BadInputTest, AFifoAtASampleNameIsNeverOpened) {
  const std::string fifo = nome_campione(6, 0);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int osservatore = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(osservatore, 0);
  ASSERT_GE(::inotify_add_watch(osservatore, fifo.c_str(), IN_OPEN), 0);
  const auto aperture = [&] {
    char eventi[4096];
    const ssize_t letti = ::read(osservatore, eventi, sizeof eventi);
    return letti > 0 ? letti / static_cast<ssize_t>(sizeof(inotify_event)) : 0;
  };
  EXPECT_EQ(esegui(), 0);
  EXPECT_EQ(aperture(), 0);
  ::close(::open(fifo.c_str(), O_RDWR | O_NONBLOCK));
  EXPECT_GT(aperture(), 0) << "the watch sees an open";
  ::close(osservatore);
}

TEST_F(BadInputTest, SparseFilesOfFourGibibytesAreReadOnlyToTheirFirstMebibyte) {
  const auto sparso = [](const std::string& path) {
    scrivi(path, "");
    ASSERT_EQ(::truncate(path.c_str(), std::int64_t{4} << 30), 0);
  };
  sparso(nome_campione(12, 0));
  const auto inizio = std::chrono::steady_clock::now();
  EXPECT_EQ(esegui(), 0);
  sparso(cartella / "data/00-station.txt");
  EXPECT_EQ(esegui(), 1) << "a station file of NUL bytes names no station";
  EXPECT_LT(std::chrono::steady_clock::now() - inizio, std::chrono::seconds(60));
  EXPECT_TRUE(figure_intere());
}

// A tree spoilt after a good first run: what the second run says and whether the
// archived figure of the last day keeps its measured values.
TEST(SpoiltTreeTest, FailuresAreReportedAndTheArchiveIsNeverMadeWorse) {
  namespace fs = std::filesystem;
  const struct {
    const char* guasto;
    std::function<void(const test::CartellaTemporanea&)> guasta;
    bool come_nobody;
    int stato;
    std::vector<std::string> righe;
  } kCasi[] = {
      {"sample directory renamed",
       [](auto& c) { fs::rename(c / "data", c / "data.old"); },
       false,
       1,
       {"/data/: cannot list the sample directory: No such file or directory"}},
      {"stray first file naming no station",
       [](auto& c) { scrivi(c / "data/00-notes.txt", "backup notes\r\n"); },
       false,
       1,
       {"/data/00-notes.txt: the station file names no known station: its first line "
        "begins \"back\""}},
      {"the last day's samples deleted",
       [](auto& c) {
         for (const auto& f : fs::directory_iterator(c / "data")) {
           if (f.path().filename().string().rfind("RM041_2025003", 0) == 0) fs::remove(f.path());
         }
       },
       false,
       0,
       {}},
      {"forecast deleted",
       [](auto& c) { fs::remove(c / "work/012025.txt"); },
       false,
       1,
       {"/work/012025.txt: cannot open the forecast file: No such file or directory"}},
      {"settings deleted",
       [](auto& c) { fs::remove(c / "gralvo.ini"); },
       false,
       1,
       {"/gralvo.ini: cannot open the settings file: No such file or directory"}},
      {"the last day's value files unreadable",
       [](auto& c) {
         for (const char* minuto : {"1015", "1030"}) {
           fs::permissions(c / ("data/RM041_2025003" + std::string(minuto) + "00.TXT"),
                           fs::perms::owner_read | fs::perms::owner_write);
         }
       },
       true,
       1,
       {"/data/: cannot read 2 sample files (RM041_2025003101500.TXT, RM041_2025003103000.TXT): "
        "Permission denied"}},
      {"station file unreadable",
       [](auto& c) { fs::permissions(c / "data/00-station.txt", fs::perms::none); },
       true,
       1,
       {"/data/00-station.txt: cannot open the station file: Permission denied"}},
      {"output directory not writable",
       [](auto& c) {
         fs::permissions(c / "out", fs::perms::owner_read | fs::perms::owner_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
       },
       true,
       1,
       {"/out/status.json: cannot write: Permission denied"}},
  };
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.guasto);
    test::Albero albero;
    const bool root = ::geteuid() == 0;
    ASSERT_EQ(albero.esegui(), 0);
    ASSERT_GT(albero.rossi_archiviati(), 0);
    if (caso.come_nobody && root) test::aperto_a_tutti(albero.cartella);
    caso.guasta(albero.cartella);
    const test::Esito esito = albero.avvia({}, caso.come_nobody && root);
    EXPECT_EQ(esito.stato, caso.stato);
    if (caso.righe.empty()) {
      EXPECT_EQ(esito.errori, "");
    }
    for (const std::string& riga : caso.righe) {
      EXPECT_NE(esito.errori.find(riga), std::string::npos) << esito.errori;
    }
    EXPECT_EQ(std::count(esito.errori.begin(), esito.errori.end(), '\n'),
              static_cast<long>(caso.righe.size()))
        << "one line per distinct failure:\n"
        << esito.errori;
    EXPECT_GT(albero.rossi_archiviati(), 0);
  }
}

using LimitTest = test::AlberoStazione;

// What a shell command run in the tree wrote on stderr, and its exit status.
test::Esito in_shell(const test::CartellaTemporanea& cartella, const std::string& comando) {
  const std::string completo = "cd '" + cartella.path() + "' && " + comando + " 2>stderr.txt";
  const int stato = std::system(completo.c_str());
  test::Esito esito;
  if (WIFEXITED(stato)) esito.stato = WEXITSTATUS(stato);
  esito.errori = ReadWholeFile(cartella / "stderr.txt");
  return esito;
}

TEST_F(LimitTest, AWriteBeyondTheFileSizeLimitIsAReportedFailure) {
  ASSERT_EQ(esegui(), 0);
  campione(12, 0, " 9.0");  // today's figure changes, so its files are written again
  const std::string archiviata = cartella / "work/previous_foF1_plots/2025003.gif";
  const std::string prima = ReadWholeFile(archiviata);
  const test::Esito esito =
      in_shell(cartella, std::string("ulimit -f 1 && TZ=UTC ") + FAKETIME_BINARY +
                             " '2025-01-03 10:00:00' " + FOF1PLOT_BINARY + " --archive 2025-01-03");
  EXPECT_EQ(esito.stato, 1) << "not killed by SIGXFSZ";
  EXPECT_EQ(esito.errori, "fof1plot: " + archiviata + ": cannot write: File too large\n");
  EXPECT_EQ(ReadWholeFile(archiviata), prima);
  // The daily run: today's figure and status.json are larger than the limit, today's CSV
  // is not; the other days' files are as they were and not written again.
  const test::Esito giornaliera =
      in_shell(cartella, std::string("ulimit -f 1 && TZ=UTC ") + FAKETIME_BINARY +
                             " '2025-01-03 10:00:00' " + FOF1PLOT_BINARY);
  EXPECT_EQ(giornaliera.stato, 1);
  EXPECT_EQ(giornaliera.errori,
            "fof1plot: " + archiviata + ": cannot write: File too large\n" +
                "fof1plot: " + cartella / "out/" +
                ": cannot write 2 files (plotfoF16.gif, status.json): File too large\n")
      << "one line per directory and cause";
  EXPECT_EQ(ReadWholeFile(archiviata), prima);
}

TEST_F(LimitTest, TheCpuTimeLimitEndsTheRunWithOneLine) {
  // The run waits for the lock this test holds, until its CPU time "runs out".
  const int lavoro = ::open((cartella / "work").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(lavoro, 0);
  ASSERT_EQ(::flock(lavoro, LOCK_EX), 0);
  const test::Esito esito =
      in_shell(cartella, std::string("timeout --preserve-status -s XCPU 1 ") + FOF1PLOT_BINARY);
  ::close(lavoro);
  EXPECT_EQ(esito.stato, 1);
  EXPECT_EQ(esito.errori, "fof1plot: CPU time limit reached; the run stops\n");
}

class OutputFaultTest : public test::AlberoStazione {
 protected:
  // A first run publishes figures; the test then breaks something and runs again.
  void SetUp() override {
    ASSERT_EQ(esegui(), 0);
    precedente = ReadWholeFile(cartella / "out/plotfoF16.gif");
    campione(12, 0, " 9.0");
  }
  std::string precedente;
};

TEST_F(OutputFaultTest, OutputDirectoryMissingOrAFile) {
  std::filesystem::remove_all(cartella / "out");
  EXPECT_EQ(esegui(), 1);
  scrivi(cartella / "out", "a file where the directory should be");
  EXPECT_EQ(esegui(), 1);
  EXPECT_EQ(ReadWholeFile(cartella / "out"), "a file where the directory should be");
  EXPECT_TRUE(test::FiguraGif(cartella / "work/previous_foF1_plots/2025003.gif").valida());
}

TEST_F(OutputFaultTest, PublishedLinkIsReplacedAndItsTargetUntouched) {
  scrivi(cartella / "elsewhere.gif", "someone else's file");
  ::unlink((cartella / "out/plotfoF16.gif").c_str());
  ASSERT_EQ(
      ::symlink((cartella / "elsewhere.gif").c_str(), (cartella / "out/plotfoF16.gif").c_str()), 0);
  EXPECT_EQ(esegui(), 0);
  EXPECT_EQ(ReadWholeFile(cartella / "elsewhere.gif"), "someone else's file");
  EXPECT_EQ(test::FiguraGif(cartella / "out/plotfoF16.gif").in_utente(120, 90), RGB(255, 0, 0));
}

TEST_F(OutputFaultTest, DiskFullKeepsThePreviousFigures) {
  const std::string piccolo = cartella / "small";
  test::crea_cartella(piccolo);
  if (::mount("tmpfs", piccolo.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs here";
  }
  const struct Smonta {
    std::string path;
    ~Smonta() { ::umount(path.c_str()); }
  } smonta{piccolo};
  for (int k = 1; k <= 6; ++k) {
    const std::string nome = "/plotfoF1" + std::to_string(k) + ".gif";
    WriteFileReplacing(piccolo + nome, ReadWholeFile(cartella / ("out" + nome)));
  }
  {
    std::ofstream riempi(piccolo + "/filler", std::ios::binary);
    const std::string blocco(4096, 'f');
    while (riempi.write(blocco.data(), blocco.size())) {
    }
  }
  scrivi(cartella / "gralvo.ini",
         "w\n" + (cartella / "work/") + "\nd\n" + (cartella / "data/") + "\no\n" + piccolo + "/\n");
  EXPECT_EQ(esegui(), 1);
  EXPECT_EQ(ReadWholeFile(piccolo + "/plotfoF16.gif"), precedente);
  EXPECT_TRUE(nascosti(piccolo).empty());
}

TEST_F(OutputFaultTest, ARunKilledAsAFileTakesItsNameLeavesNothingAfterTheNextRun) {
  if (std::system("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace not installed";
  // Only today's files change, so the n-th rename of a run gives today's archived GIF,
  // (the 2nd) its archived CSV or (the 3rd) its published GIF its name; the five days
  // before are as they were and not written. strace kills the run as it asks for it. A
  // run killed between the two files of today's pair leaves a pair the next run repairs.
  const struct {
    int rinomina;
    const char* cartella;
  } kCasi[] = {{1, "work/previous_foF1_plots/"}, {2, "work/previous_foF1_data/"}, {3, "out/"}};
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.cartella);
    campione(13, 15 * caso.rinomina, " 8.0");
    const std::string comando =
        "cd '" + cartella.path() + "' && TZ=UTC strace -f -qq -o /dev/null -e trace=rename " +
        "-e inject=rename:signal=KILL:when=" + std::to_string(caso.rinomina) + " " +
        FAKETIME_BINARY + " '2025-01-03 10:00:00' " + FOF1PLOT_BINARY + " 2>/dev/null";
    const int stato = std::system(comando.c_str());
    if (WIFEXITED(stato) && WEXITSTATUS(stato) == 0) GTEST_SKIP() << "strace cannot inject here";
    ASSERT_EQ(nascosti(cartella / caso.cartella).size(), 1u) << "killed in the window";
    EXPECT_EQ(esegui(), 0);
    for (const char* c : {"work", "out", "work/previous_foF1_plots", "work/previous_foF1_data"}) {
      EXPECT_TRUE(nascosti(cartella / c).empty()) << c;
    }
    EXPECT_EQ(ReadWholeFile(cartella / "work/previous_foF1_data/2025003.csv"),
              ReadWholeFile(cartella / "out/plotfoF16.csv"));
    EXPECT_GT(rossi_archiviati(), 0);
  }
}

TEST_F(OutputFaultTest, FiveRunsAtOnceAllFinishWithWholeFigures) {
  std::vector<test::Esito> esiti(5);
  std::vector<std::thread> corse;
  for (auto& esito : esiti) {
    corse.emplace_back(
        [&] { esito = test::avvia_fof1plot(cartella.path(), "2025-01-03 10:00:00"); });
  }
  for (auto& corsa : corse) corsa.join();
  for (const auto& esito : esiti) EXPECT_EQ(esito.stato, 0) << esito.errori;
  EXPECT_TRUE(figure_intere());
  EXPECT_FALSE(esiste(cartella / "work/grafico1.bmp"));
  EXPECT_TRUE(nascosti(cartella / "out").empty());
  EXPECT_TRUE(nascosti(cartella / "work/previous_foF1_plots").empty());
}

}  // namespace
}  // namespace fof1plot
