#include "platform/whole_file.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/failure.h"
#include "platform/file_writer.h"
#include "support/figures.h"

namespace fof1plot {
namespace {

using test::CartellaTemporanea;

int voci(const std::string& path) {
  int n = 0;
  DIR* dir = ::opendir(path.c_str());
  while (const dirent* e = ::readdir(dir)) n += e->d_name[0] != '.' || e->d_name[1] > '.';
  ::closedir(dir);
  return n;
}

TEST(WriteFileReplacingTest, ReplacesTheFileWithTheModeOfANewFile) {
  CartellaTemporanea cartella;
  test::scrivi(cartella / "f.gif", "old content");
  const mode_t maschera = ::umask(027);
  WriteFileReplacing(cartella / "f.gif", "new");
  ::umask(maschera);
  EXPECT_EQ(ReadWholeFile(cartella / "f.gif"), "new");
  struct stat info;
  ASSERT_EQ(::stat((cartella / "f.gif").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(voci(cartella.path()), 1);
}

TEST(WriteFileReplacingTest, ReplacesASymbolicLinkWithoutTouchingItsTarget) {
  CartellaTemporanea cartella;
  test::scrivi(cartella / "elsewhere", "keep me");
  ASSERT_EQ(::symlink((cartella / "elsewhere").c_str(), (cartella / "f.gif").c_str()), 0);
  WriteFileReplacing(cartella / "f.gif", "new");
  struct stat info;
  ASSERT_EQ(::lstat((cartella / "f.gif").c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  EXPECT_EQ(ReadWholeFile(cartella / "elsewhere"), "keep me");
}

TEST(WriteFileReplacingTest, LeavesAFileThatHoldsTheBytesAlreadyAsItWas) {
  // What is at the path before the write, the bytes written, and what the write did.
  const struct {
    const char* caso;
    const char* prima;  // nullptr: nothing; "->": a symbolic link to a file of "abc"
    const char* bytes;
    WriteResult esito;
  } kCasi[] = {
      {"nothing there", nullptr, "abc", WriteResult::kCreated},
      {"the same bytes", "abc", "abc", WriteResult::kUnchanged},
      {"an empty file, no bytes", "", "", WriteResult::kUnchanged},
      {"other bytes of the same length", "abd", "abc", WriteResult::kReplaced},
      {"the bytes and more", "abcd", "abc", WriteResult::kReplaced},
      {"a part of the bytes", "ab", "abc", WriteResult::kReplaced},
      {"a link to the same bytes", "->", "abc", WriteResult::kReplaced},
  };
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.caso);
    CartellaTemporanea cartella;
    const std::string path = cartella / "f.csv";
    if (caso.prima != nullptr && std::string(caso.prima) == "->") {
      test::scrivi(cartella / "elsewhere", "abc");
      ASSERT_EQ(::symlink((cartella / "elsewhere").c_str(), path.c_str()), 0);
    } else if (caso.prima != nullptr) {
      test::scrivi(path, caso.prima);
    }
    struct stat prima {};
    ::lstat(path.c_str(), &prima);
    ::usleep(10000);
    EXPECT_EQ(WriteFileReplacing(path, caso.bytes), caso.esito);
    EXPECT_EQ(ReadWholeFile(path), caso.bytes);
    struct stat dopo {};
    ASSERT_EQ(::lstat(path.c_str(), &dopo), 0);
    EXPECT_TRUE(S_ISREG(dopo.st_mode));
    const bool intatto = dopo.st_ino == prima.st_ino &&
                         dopo.st_mtim.tv_nsec == prima.st_mtim.tv_nsec &&
                         dopo.st_mtim.tv_sec == prima.st_mtim.tv_sec;
    EXPECT_EQ(intatto, caso.esito == WriteResult::kUnchanged);
  }
}

TEST(PosixFileWriterTest, LinkLeavesAFileWithTheSameBytesAndLinksOtherwise) {
  CartellaTemporanea cartella;
  test::scrivi(cartella / "archived.csv", "values");
  test::scrivi(cartella / "copy.csv", "values");
  test::scrivi(cartella / "old.csv", "other");
  struct stat archiviato, copia, prima, dopo;
  ASSERT_EQ(::stat((cartella / "archived.csv").c_str(), &archiviato), 0);
  ASSERT_EQ(::stat((cartella / "copy.csv").c_str(), &prima), 0);
  PosixFileWriter scrittore;
  scrittore.Link(cartella / "archived.csv", cartella / "copy.csv");
  scrittore.Link(cartella / "archived.csv", cartella / "old.csv");
  ASSERT_EQ(::stat((cartella / "copy.csv").c_str(), &copia), 0);
  ASSERT_EQ(::stat((cartella / "old.csv").c_str(), &dopo), 0);
  EXPECT_EQ(copia.st_ino, prima.st_ino) << "the same bytes: left as it was";
  EXPECT_EQ(dopo.st_ino, archiviato.st_ino) << "other bytes: now the archived file";
}

TEST(WriteFileReplacingTest, FailureLeavesTheOldFileAndNoTemporaryFile) {
  CartellaTemporanea cartella;
  test::crea_cartella(cartella / "f.gif");  // a directory cannot be renamed over
  EXPECT_THROW(WriteFileReplacing(cartella / "f.gif", "new"), Failure);
  EXPECT_EQ(voci(cartella.path()), 1);
  EXPECT_THROW(WriteFileReplacing(cartella / "missing/f.gif", "new"), Failure);
}

TEST(WriteFileUnlessPresentTest, WritesOnlyWhereNothingIsYet) {
  CartellaTemporanea cartella;
  EXPECT_TRUE(WriteFileUnlessPresent(cartella / "new.gif", "new"));
  EXPECT_EQ(ReadWholeFile(cartella / "new.gif"), "new");
  test::scrivi(cartella / "old.gif", "archived");
  EXPECT_FALSE(WriteFileUnlessPresent(cartella / "old.gif", "empty figure"));
  EXPECT_EQ(ReadWholeFile(cartella / "old.gif"), "archived");
  ASSERT_EQ(::symlink("nowhere", (cartella / "link.gif").c_str()), 0);
  EXPECT_FALSE(WriteFileUnlessPresent(cartella / "link.gif", "empty figure"));
  EXPECT_EQ(voci(cartella.path()), 3) << "no temporary file left";
  EXPECT_THROW(WriteFileUnlessPresent(cartella / "missing/f.gif", "new"), Failure);
}

TEST(ReadWholeFileTest, ReadsEveryByteAndFailsOnWhatIsNotAFile) {
  CartellaTemporanea cartella;
  const std::string contenuto("a\0\r\nb", 5);
  test::scrivi(cartella / "f", contenuto);
  EXPECT_EQ(ReadWholeFile(cartella / "f"), contenuto);
  EXPECT_THROW(ReadWholeFile(cartella / "missing"), Failure);
  EXPECT_THROW(ReadWholeFile(cartella.path()), Failure);
}

}  // namespace
}  // namespace fof1plot
