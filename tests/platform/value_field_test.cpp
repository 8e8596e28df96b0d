#include "platform/value_field.h"

#include <gtest/gtest.h>

namespace fof1plot {
namespace {

TEST(ValoreInDecimiTest, FieldWrittenDdDotDInTenthsOfMHz) {
  const struct {
    const char* campo;
    double decimi;
  } kCasi[] = {
      {" 4.5", 45},  {"12.3", 123}, {"12. ", 12},  {"    ", 0},  {"", 0},   {"----", 0},
      {"n/a", 0},    {"00.0", 0},   {" 4,5", 45},  {"4.5", 4},   {" 4", 4}, {"1E.9", 1e9},
      {"-1.5", -15}, {"1..5", 1.5}, {"\t4.5", 45}, {" 12.3", 1},
  };
  for (const auto& caso : kCasi) {
    EXPECT_DOUBLE_EQ(valore_in_decimi(caso.campo), caso.decimi) << '"' << caso.campo << '"';
  }
}

TEST(FormaDdDTest, OneOrTwoDigitsASeparatorAndADigit) {
  for (const char* campo : {" 4.5", "12.3", "04.3", "12,3", "00.0", " 0x9"}) {
    EXPECT_TRUE(forma_dd_d(campo)) << '"' << campo << '"';
  }
  for (const char* campo : {"4.5 ", "  .5", "12. ", "N/A ", "NO  ", "", " 4.", "-1.5", "1E.9"}) {
    EXPECT_FALSE(forma_dd_d(campo)) << '"' << campo << '"';
  }
}

}  // namespace
}  // namespace fof1plot
