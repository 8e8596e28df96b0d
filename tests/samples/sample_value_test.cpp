#include "samples/sample_value.h"

#include <gtest/gtest.h>

namespace fof1plot {
namespace {

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
