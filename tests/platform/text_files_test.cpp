#include "platform/text_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "platform/directory.h"
#include "platform/failure.h"
#include "support/figures.h"

namespace fof1plot {
namespace {

using test::CartellaTemporanea;

std::vector<std::string> tutte_le_righe(const std::string& path) {
  PosixTextFiles files;
  const auto file = files.Open(path);
  std::vector<std::string> righe;
  try {
    for (;;) righe.push_back(file->LineInput());
  } catch (const Failure&) {
  }
  return righe;
}

TEST(PosixTextFilesTest, EveryLineEndEndsALineAndNoneIsKept) {
  const struct {
    const char* nome;
    std::string contenuto;
    std::vector<std::string> righe;
  } kCasi[] = {
      {"crlf", "a\r\nb\r\n", {"a", "b"}},
      {"cr", "a\rb\r", {"a", "b"}},
      {"lf", "a\nb\n", {"a", "b"}},
      {"mixed", "a\r\n\rb\nc", {"a", "", "b", "c"}},
      {"lf cr is two ends", "a\n\rb", {"a", "", "b"}},
      {"no final end", "a\r\nlast", {"a", "last"}},
      {"empty", "", {}},
      {"only an end", "\r\n", {""}},
      {"nul byte", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
  };
  CartellaTemporanea cartella;
  for (const auto& caso : kCasi) {
    test::scrivi(cartella / "f", caso.contenuto);
    EXPECT_EQ(tutte_le_righe(cartella / "f"), caso.righe) << caso.nome;
  }
}

TEST(PosixTextFilesTest, LineLongerThanTheBufferIsCutAndTheNextLineFollows) {
  CartellaTemporanea cartella;
  const std::string lunga(3 * PosixTextFiles::kMaxLine, 'x');
  test::scrivi(cartella / "f", lunga + "\r\nnext\r\n");
  const auto righe = tutte_le_righe(cartella / "f");
  ASSERT_EQ(righe.size(), 2u);
  EXPECT_EQ(righe[0], lunga.substr(0, PosixTextFiles::kMaxLine));
  EXPECT_EQ(righe[1], "next");
}

TEST(PosixTextFilesTest, OnlyOrdinaryFilesOpen) {
  CartellaTemporanea cartella;
  PosixTextFiles files;
  test::crea_cartella(cartella / "dir");
  ASSERT_EQ(::mkfifo((cartella / "fifo").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo((cartella / "held fifo").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("dir", (cartella / "link to dir").c_str()), 0);
  test::scrivi(cartella / "empty", "");
  EXPECT_EQ(files.TryOpen(cartella / "missing"), nullptr);
  EXPECT_EQ(files.TryOpen(cartella / "dir"), nullptr);
  EXPECT_EQ(files.TryOpen(cartella / "link to dir"), nullptr);
  EXPECT_EQ(files.TryOpen(cartella / "fifo"), nullptr);
  // A FIFO that a writer holds open but has not fed is not waited on.
  const int scrittore = ::open((cartella / "held fifo").c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(scrittore, 0);
  EXPECT_EQ(files.TryOpen(cartella / "held fifo"), nullptr);
  ::close(scrittore);
  // An empty ordinary file opens, and has no line.
  const auto vuoto = files.TryOpen(cartella / "empty");
  ASSERT_NE(vuoto, nullptr);
  EXPECT_TRUE(vuoto->Eof());
  const struct {
    std::string path;
    const char* motivo;
  } kRifiuti[] = {{cartella / "missing", "No such file or directory"},
                  {cartella / "fifo", "not an ordinary file"},
                  {cartella / "dir/../missing/x", "No such file or directory"}};
  for (const auto& r : kRifiuti) {
    try {
      files.Open(r.path);
      ADD_FAILURE() << r.path;
    } catch (const Failure& guasto) {
      EXPECT_EQ(std::string(guasto.what()), r.path + ": cannot open: " + r.motivo);
    }
  }
}

TEST(PosixTextFilesTest, NothingPastTheFirstMebibyteIsRead) {
  CartellaTemporanea cartella;
  std::string testo = "first\r\n";
  testo += std::string(PosixTextFiles::kMaxBytes - testo.size() - 2, 'x') + "\r\nbeyond\r\n";
  test::scrivi(cartella / "big", testo);
  PosixTextFiles files;
  const auto file = files.Open(cartella / "big");
  EXPECT_EQ(file->LineInput(), "first");
  EXPECT_EQ(file->LineInput().size(), PosixTextFiles::kMaxLine);
  try {
    file->LineInput();
    ADD_FAILURE() << "the line past the first mebibyte was read";
  } catch (const Failure& guasto) {
    EXPECT_EQ(std::string(guasto.what()), cartella / "big" + ": cannot read line 3: end of file");
  }
}

TEST(PosixTextFilesTest, ANameThatIsThereButCannotBeOpenedIsAFailureNotAbsence) {
  CartellaTemporanea cartella;
  ASSERT_EQ(::symlink("loop", (cartella / "loop").c_str()), 0);
  PosixTextFiles files;
  try {
    files.TryOpen(cartella / "loop");
    ADD_FAILURE() << "a link that loops passed for a missing file";
  } catch (const Failure& guasto) {
    EXPECT_EQ(std::string(guasto.what()),
              cartella / "loop" + ": cannot open: Too many levels of symbolic links");
  }
  EXPECT_EQ(files.TryOpen(cartella / "missing/sample"), nullptr) << "a missing directory part";
}

TEST(PosixTextFilesTest, EofTellsTheEndBeforeTheReadThatWouldFail) {
  CartellaTemporanea cartella;
  test::scrivi(cartella / "two", "a\r\nb");
  PosixTextFiles files;
  const auto file = files.Open(cartella / "two");
  EXPECT_FALSE(file->Eof());
  EXPECT_EQ(file->LineInput(), "a");
  EXPECT_FALSE(file->Eof());
  EXPECT_EQ(file->LineInput(), "b");
  EXPECT_TRUE(file->Eof());
  EXPECT_THROW(file->LineInput(), Failure);
}

TEST(OpenDirectoriesTest, ADirectoryRenamedOrReplacedAfterItsListingIsStillTheOneRead) {
  CartellaTemporanea cartella;
  test::crea_cartella(cartella / "data");
  test::scrivi(cartella / "data/sample", "first\r\n");
  const auto cartelle = std::make_shared<OpenDirectories>();
  PosixDirectory directory(std::chrono::minutes(1), cartelle);
  PosixTextFiles files(cartelle);
  const std::string dati = cartella / "data/";
  EXPECT_EQ(directory.Dir(dati, [](std::string_view) {}), "sample");
  ASSERT_EQ(::rename(dati.c_str(), (cartella / "data.old").c_str()), 0);
  test::crea_cartella(cartella / "data");
  test::scrivi(cartella / "data/sample", "second\r\n");
  const auto file = files.TryOpen(dati + "sample");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->LineInput(), "first");
  EXPECT_EQ(directory.Dir(dati, [](std::string_view) {}), "sample");
  EXPECT_EQ(files.Open(dati + "sample")->LineInput(), "first");
}

TEST(LineInputTest, AFileThatIsNotOpenFailsLikeTheEnd) {
  EXPECT_THROW(LineInput(nullptr), Failure);
}

}  // namespace
}  // namespace fof1plot
