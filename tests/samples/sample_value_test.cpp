#include "samples/sample_value.h"

#include <gtest/gtest.h>

#include "platform/failure.h"

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

TEST(PassoMinutiTest, MinuteOverSixWithHalvesDown) {
  const int kPassi[60] = {0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 3, 3, 3,  3,
                          3, 3, 4, 4, 4, 4, 4, 4, 5, 5, 5, 5, 5, 5, 6, 6, 6, 6, 6,  6,
                          7, 7, 7, 7, 7, 7, 8, 8, 8, 8, 8, 8, 9, 9, 9, 9, 9, 9, 10, 10};
  for (int minuto = 0; minuto < 60; ++minuto) {
    EXPECT_EQ(passo_minuti(minuto), kPassi[minuto]) << "minute " << minuto;
  }
}

}  // namespace
}  // namespace fof1plot
