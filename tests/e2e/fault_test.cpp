#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
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
  EXPECT_EQ(esegui(), 0);
  EXPECT_TRUE(figure_intere());
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

TEST_F(OutputFaultTest, TwoRunsAtOnceBothFinishWithWholeFigures) {
  int stati[2] = {-1, -1};
  std::thread primo([&] { stati[0] = esegui(); });
  std::thread secondo([&] { stati[1] = esegui(); });
  primo.join();
  secondo.join();
  for (int stato : stati) EXPECT_TRUE(stato == 0 || stato == 1) << stato;
  EXPECT_TRUE(figure_intere());
  EXPECT_TRUE(nascosti(cartella / "out").empty());
  EXPECT_TRUE(nascosti(cartella / "work/previous_foF1_plots").empty());
}

}  // namespace
}  // namespace fof1plot
