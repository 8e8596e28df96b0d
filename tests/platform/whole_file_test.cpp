#include "platform/whole_file.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/failure.h"
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
