#include "platform/directory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/failure.h"
#include "support/figures.h"

namespace fof1plot {
namespace {

using test::CartellaTemporanea;

TEST(PosixDirectoryTest, FirstOrdinaryFileInCaseInsensitiveOrder) {
  CartellaTemporanea cartella;
  for (const char* nome : {"b.txt", "C.txt", "Ab.txt", "aB.txt", ".hidden", "ab.txt"}) {
    test::scrivi(cartella / nome, "x");
  }
  test::crea_cartella(cartella / "A-directory");
  ASSERT_EQ(::symlink("nowhere", (cartella / "AA-dangling").c_str()), 0);
  PosixDirectory directory;
  EXPECT_EQ(directory.Dir(cartella.path() + "/"), "Ab.txt");
}

TEST(PosixDirectoryTest, LinkToAnOrdinaryFileCounts) {
  CartellaTemporanea cartella;
  test::scrivi(cartella / "z.txt", "x");
  ASSERT_EQ(::symlink("z.txt", (cartella / "a-link").c_str()), 0);
  PosixDirectory directory;
  EXPECT_EQ(directory.Dir(cartella.path() + "/"), "a-link");
}

TEST(PosixDirectoryTest, EmptyOrMissingDirectory) {
  CartellaTemporanea cartella;
  test::crea_cartella(cartella / "empty");
  test::crea_cartella(cartella / "empty/sub");
  PosixDirectory directory;
  EXPECT_EQ(directory.Dir(cartella / "empty/"), "");
  EXPECT_THROW(directory.Dir(cartella / "missing/"), Failure);
}

TEST(PosixDirectoryTest, PatternWithoutSeparatorNamesTheFileItself) {
  CartellaTemporanea cartella;
  test::scrivi(cartella / "station", "x");
  PosixDirectory directory;
  EXPECT_EQ(directory.Dir(cartella / "station"), "station");
  EXPECT_EQ(directory.Dir(cartella / "other"), "");
}

TEST(PosixDirectoryTest, KillDeletesAndFailsOnAMissingFile) {
  CartellaTemporanea cartella;
  test::scrivi(cartella / "f", "x");
  PosixDirectory directory;
  directory.Kill(cartella / "f");
  EXPECT_FALSE(test::esiste(cartella / "f"));
  EXPECT_THROW(directory.Kill(cartella / "f"), Failure);
}

}  // namespace
}  // namespace fof1plot
