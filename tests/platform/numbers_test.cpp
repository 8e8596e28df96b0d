#include "platform/numbers.h"

#include <gtest/gtest.h>

#include "platform/failure.h"

namespace fof1plot {
namespace {

TEST(ValTest, ReadsTheNumberAtTheFrontOfText) {
  const struct {
    const char* testo;
    double valore;
  } kCasi[] = {
      {"45", 45},   {" 4 5", 45},     {"\t1\n2", 12},  {"12.3", 12.3}, {"-7", -7},
      {"+.5", 0.5}, {"1E3", 1000},    {"2d2", 200},    {"1e-1", 0.1},  {"1E", 1},
      {"1E+", 1},   {"12.3.4", 12.3}, {"3abc", 3},     {"", 0},        {"    ", 0},
      {"----", 0},  {"n/a", 0},       {".", 0},        {"1E9", 1e9},   {"- 4", -4},
      {"E5", 0},    {"12 . 5", 12.5}, {"1e3e4", 1000}, {"\r5", 0},
  };
  for (const auto& caso : kCasi) {
    EXPECT_DOUBLE_EQ(Val(caso.testo), caso.valore) << '"' << caso.testo << '"';
  }
}

TEST(ValTest, NumberTooLargeForADoubleFails) {
  EXPECT_THROW(Val("1E999"), Failure);
  EXPECT_DOUBLE_EQ(Val("1E-999"), 0);
}

TEST(CIntTest, RoundsHalvesToEvenWithinSixteenBits) {
  const struct {
    double valore;
    int intero;
  } kCasi[] = {{0.5, 0},   {1.5, 2},         {2.5, 2},           {-0.5, 0},         {-1.5, -2},
               {44.6, 45}, {32767.4, 32767}, {-32768.4, -32768}, {-32768.5, -32768}};
  for (const auto& caso : kCasi) EXPECT_EQ(CInt(caso.valore), caso.intero) << caso.valore;
}

TEST(CIntTest, OutsideSixteenBitsFails) {
  for (double v : {32767.5, 32768.0, -32769.0, 1e9, -1e300}) {
    EXPECT_THROW(CInt(v), Failure) << v;
  }
}

TEST(Somma16Test, OverflowFails) {
  EXPECT_EQ(somma16(32000, 767), 32767);
  EXPECT_THROW(somma16(32000, 768), Failure);
  EXPECT_THROW(somma16(-32768, -1), Failure);
}

}  // namespace
}  // namespace fof1plot
