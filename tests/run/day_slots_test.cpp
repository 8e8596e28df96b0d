#include <gtest/gtest.h>

#include "support/bench.h"

namespace fof1plot {
namespace {

using namespace std::chrono;

struct Giorno {
  const char* etichetta;
  const char* mese_anno;
  const char* giorno_anno;
};

void expect_giorni(test::BancoFinto& banco, const Giorno (&attesi)[6]) {
  for (int k = 1; k <= 6; ++k) {
    EXPECT_EQ(banco.form.data_etichetta(k), attesi[k - 1].etichetta) << "slot " << k;
    EXPECT_EQ(banco.form.mese_anno(k), attesi[k - 1].mese_anno) << "slot " << k;
    EXPECT_EQ(banco.form.giorno_anno(k), attesi[k - 1].giorno_anno) << "slot " << k;
  }
}

TEST(CalcolaGiorniTest, SixDaysEndingTodayAcrossALeapYearEnd) {
  test::BancoFinto banco;
  banco.clock.oggi = year{2025} / 1 / 3;
  banco.form.calcola_giorni();
  expect_giorni(banco, {{"29/12/2024", "122024", "364"},
                        {"30/12/2024", "122024", "365"},
                        {"31/12/2024", "122024", "366"},
                        {"01/01/2025", "012025", "001"},
                        {"02/01/2025", "012025", "002"},
                        {"03/01/2025", "012025", "003"}});
}

TEST(CalcolaGiorniTest, DayCodesHaveThreeDigitsAndMonthEndsChangeTheKey) {
  test::BancoFinto banco;
  banco.clock.oggi = year{2025} / 4 / 14;  // day 104
  banco.form.calcola_giorni();
  expect_giorni(banco, {{"09/04/2025", "042025", "099"},
                        {"10/04/2025", "042025", "100"},
                        {"11/04/2025", "042025", "101"},
                        {"12/04/2025", "042025", "102"},
                        {"13/04/2025", "042025", "103"},
                        {"14/04/2025", "042025", "104"}});
  // The clock is read once per run: each other day is a run of its own.
  test::BancoFinto gennaio;
  gennaio.clock.oggi = year{2025} / 1 / 12;
  gennaio.form.calcola_giorni();
  EXPECT_EQ(gennaio.form.giorno_anno(3), "009");
  EXPECT_EQ(gennaio.form.giorno_anno(4), "010");
  test::BancoFinto marzo;
  marzo.clock.oggi = year{2023} / 3 / 2;
  marzo.form.calcola_giorni();
  EXPECT_EQ(marzo.form.mese_anno(4), "022023");
  EXPECT_EQ(marzo.form.data_etichetta(5), "01/03/2023");
  EXPECT_EQ(marzo.form.mese_anno(5), "032023");
}

TEST(RiempiMinutiTest, MinuteZeroComesLast) {
  test::BancoFinto banco;
  banco.form.riempi_minuti();
  EXPECT_EQ(banco.form.minuti(1), "01");
  EXPECT_EQ(banco.form.minuti(9), "09");
  EXPECT_EQ(banco.form.minuti(10), "10");
  EXPECT_EQ(banco.form.minuti(59), "59");
  EXPECT_EQ(banco.form.minuti(60), "00");
}

}  // namespace
}  // namespace fof1plot
