#include <gtest/gtest.h>

#include "canvas/gd_surface.h"
#include "canvas/plot_window.h"
#include "support/bench.h"
#include "support/figures.h"

namespace fof1plot {
namespace {

using test::kGiallo;
using test::kGrigio;
using test::kNero;

class StageTest : public ::testing::Test {
 protected:
  StageTest() {
    banco.form.impostazioni_dimensioni_e_scala_del_form();
    banco.form.disegno_dello_stage();
  }
  Colore utente(int x, int y) const { return test::in_utente(canvas, x, y); }
  GdSurface canvas{kTwipsPerPixel, kColoreSfondo, kColoreTesto};
  test::Banco banco{canvas};
};

TEST_F(StageTest, FrameAndGridMeetExactly) {
  const struct {
    int x, y;
    Colore colore;
  } kCasi[] = {
      {0, 0, kGiallo},     {241, 161, kGiallo}, {0, 161, kGiallo},  {241, 0, kGiallo},
      {50, 0, kGiallo},    {50, 1, kGrigio},    {50, 160, kGrigio}, {50, 161, kGiallo},
      {241, 50, kGiallo},  {240, 50, kGrigio},  {0, 50, kGiallo},   {1, 50, kGrigio},
      {242, 0, kNero},     {242, 161, kNero},   {0, 162, kNero},    {-1, 0, kNero},
      {200, 150, kGrigio}, {120, 120, kNero},   {1, 1, kNero},
  };
  for (const auto& caso : kCasi) {
    EXPECT_EQ(test::esadecimale(utente(caso.x, caso.y)), test::esadecimale(caso.colore))
        << "user (" << caso.x << ", " << caso.y << ")";
  }
}

TEST_F(StageTest, FrameOccupiesColumns35To276AndRows24To185) {
  for (int c = 0; c < 286; ++c) {
    for (int r = 0; r < 221; ++r) {
      const bool on_frame = ((c == 35 || c == 276) && r >= 24 && r <= 185) ||
                            ((r == 24 || r == 185) && c >= 35 && c <= 276);
      EXPECT_EQ(canvas.colore_pixel(c, r) == kGiallo, on_frame) << c << "," << r;
    }
  }
}

TEST_F(StageTest, LabelsStandInTheMarginsInTheTextColour) {
  // Under the hour lines, left of the frequency lines, and the titles.
  const struct {
    int x1, y1, x2, y2;
  } kZone[] = {{46, -18, 54, -6},  {92, -18, 106, -6},  {99, -33, 150, -21}, {-14, -7, -8, 6},
               {-19, 92, -7, 105}, {-31, 125, -5, 138}, {-34, 112, -2, 125}};
  for (const auto& z : kZone) {
    int testo = 0;
    for (int x = z.x1; x <= z.x2; ++x) {
      for (int y = z.y1; y <= z.y2; ++y) testo += utente(x, y) == kColoreTesto;
    }
    EXPECT_GT(testo, 3) << "zone from (" << z.x1 << ", " << z.y1 << ")";
  }
  int dentro = 0;
  for (int x = 1; x <= 240; ++x) {
    for (int y = 1; y <= 160; ++y) dentro += utente(x, y) == kColoreTesto;
  }
  EXPECT_EQ(dentro, 0) << "no label reaches into the plot area";
}

TEST(StageOrderTest, TwentyTwoItemsInTheirOrder) {
  test::BancoFinto banco;
  banco.form.disegno_dello_stage();
  const auto& c = banco.chiamate;
  ASSERT_EQ(c.size(), 11u + 11u * 3);
  EXPECT_EQ(c[0], "Line 0 0 242 0 #FFFF00");
  EXPECT_EQ(c[3], "Line 241 161 241 0 #FFFF00");
  EXPECT_EQ(c[4], "Line 50 160 50 0 #646464");
  EXPECT_EQ((std::vector<std::string>(c.begin() + 5, c.begin() + 8)),
            (std::vector<std::string>{"CurrentX 47", "CurrentY -5", "Print 5"}));
  EXPECT_EQ(c.back(), "Print (MHz)");
  EXPECT_EQ(banco.filtrate("Print").size(), 11u);
  EXPECT_EQ(banco.filtrate("Line").size(), 11u);
}

}  // namespace
}  // namespace fof1plot
