#include "platform/directory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>

#include "platform/failure.h"
#include "support/figures.h"

namespace fof1plot {
namespace {

using test::CartellaTemporanea;

// The station file and every name handed on, from one listing.
std::pair<std::string, std::vector<std::string>> elenca(const std::string& cartella) {
  std::vector<std::string> nomi;
  PosixDirectory directory;
  std::string primo = directory.Dir(cartella, [&](std::string_view n) { nomi.emplace_back(n); });
  std::sort(nomi.begin(), nomi.end());
  return {primo, nomi};
}

TEST(PosixDirectoryTest, FirstOrdinaryFileInCaseInsensitiveOrder) {
  CartellaTemporanea cartella;
  for (const char* nome : {"b.txt", "C.txt", "Ab.txt", "aB.txt", ".hidden", "ab.txt"}) {
    test::scrivi(cartella / nome, "x");
  }
  test::crea_cartella(cartella / "A-directory");
  ASSERT_EQ(::symlink("nowhere", (cartella / "AA-dangling").c_str()), 0);
  const auto [primo, nomi] = elenca(cartella.path() + "/");
  EXPECT_EQ(primo, "Ab.txt");
  EXPECT_EQ(nomi, (std::vector<std::string>{"AA-dangling", "Ab.txt", "C.txt", "aB.txt", "ab.txt",
                                            "b.txt"}))
      << "hidden files and directories are not handed on";
}

TEST(PosixDirectoryTest, LinkToAnOrdinaryFileCounts) {
  CartellaTemporanea cartella;
  test::scrivi(cartella / "z.txt", "x");
  ASSERT_EQ(::symlink("z.txt", (cartella / "a-link").c_str()), 0);
  EXPECT_EQ(elenca(cartella.path() + "/").first, "a-link");
}

TEST(PosixDirectoryTest, EmptyMissingOrNotADirectoryPath) {
  CartellaTemporanea cartella;
  test::crea_cartella(cartella / "empty/sub");
  test::scrivi(cartella / "station", "x");
  EXPECT_EQ(elenca(cartella / "empty/").first, "");
  for (const std::string& path : {cartella / "missing/", cartella / "station"}) {
    try {
      elenca(path);
      ADD_FAILURE() << path;
    } catch (const Failure& guasto) {
      EXPECT_EQ(guasto.path(), path);
      EXPECT_EQ(guasto.what_failed(), "cannot list");
    }
  }
}

TEST(PosixDirectoryTest, ALockWaitsForItsHolderAndGivesUpAtItsLimit) {
  CartellaTemporanea cartella;
  PosixDirectory paziente(std::chrono::seconds(5));
  PosixDirectory frettoloso(std::chrono::milliseconds(50));
  auto primo = paziente.Lock(cartella.path() + "/");
  EXPECT_THROW(frettoloso.Lock(cartella.path() + "/"), Failure);
  std::thread rilascia([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    primo.reset();
  });
  EXPECT_NE(paziente.Lock(cartella.path() + "/"), nullptr);
  rilascia.join();
  EXPECT_NE(frettoloso.Lock(cartella / "missing/"), nullptr) << "the current directory instead";
}

}  // namespace
}  // namespace fof1plot
