#include "canvas/raster.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace fof1plot {
namespace {

using Punti = std::set<std::pair<std::int64_t, std::int64_t>>;

Punti linea(Pixel a, Pixel b) {
  Punti punti;
  traccia_linea(a, b, 286, 221, [&](std::int64_t c, std::int64_t r) { punti.insert({c, r}); });
  return punti;
}

TEST(TracciaLineaTest, PaintsUpToButNotIncludingTheEndPoint) {
  EXPECT_EQ(linea({35, 185}, {38, 185}), (Punti{{35, 185}, {36, 185}, {37, 185}}));
  EXPECT_EQ(linea({10, 10}, {10, 7}), (Punti{{10, 10}, {10, 9}, {10, 8}}));
  EXPECT_EQ(linea({0, 0}, {4, 2}), (Punti{{0, 0}, {1, 1}, {2, 1}, {3, 2}}));
  EXPECT_TRUE(linea({5, 5}, {5, 5}).empty());
}

TEST(TracciaLineaTest, LineFarOffTheCanvasIsClippedWithoutWalkingItsLength) {
  int chiamate = 0;
  traccia_linea({100, 100}, {100, -9'000'000'000}, 286, 221,
                [&](std::int64_t, std::int64_t) { ++chiamate; });
  EXPECT_EQ(chiamate, 101);
  chiamate = 0;
  traccia_linea({-5'000'000'000, 50}, {5'000'000'000, 60}, 286, 221,
                [&](std::int64_t c, std::int64_t r) {
                  ++chiamate;
                  EXPECT_EQ(r, 55) << c;
                });
  EXPECT_EQ(chiamate, 286);
}

TEST(TracciaDiscoTest, RadiusTwoIsARoundDiscOf21PixelsWithNineInside) {
  Punti bordo, interno;
  traccia_disco(
      {10, 20}, 2,
      [&](std::int64_t c, std::int64_t r) {
        bordo.insert({c, r});
      },
      [&](std::int64_t c, std::int64_t r) {
        interno.insert({c, r});
      });
  EXPECT_EQ(bordo.size() + interno.size(), 21u);
  EXPECT_EQ(
      interno,
      (Punti{
          {9, 19}, {10, 19}, {11, 19}, {9, 20}, {10, 20}, {11, 20}, {9, 21}, {10, 21}, {11, 21}}));
  for (auto corner : {std::pair<std::int64_t, std::int64_t>{8, 18}, {12, 22}}) {
    EXPECT_EQ(bordo.count(corner), 0u);
  }
  EXPECT_EQ(bordo.count({9, 18}), 1u);
  EXPECT_EQ(bordo.count({12, 20}), 1u);
}

}  // namespace
}  // namespace fof1plot
