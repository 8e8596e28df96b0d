#include "canvas/gd_surface.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "canvas/plot_window.h"
#include "platform/failure.h"
#include "support/fakes.h"
#include "support/figures.h"

namespace fof1plot {
namespace {

using test::kBianco;
using test::kNero;
using test::kRosso;

// The plot window's canvas as the run sets it up.
class GdSurfaceTest : public ::testing::Test {
 protected:
  GdSurfaceTest() { canvas.Scale(-35, 185, 251, -36); }
  Colore utente(int x, int y) const { return test::in_utente(canvas, x, y); }
  GdSurface canvas{kTwipsPerPixel, kColoreSfondo, kColoreTesto};
};

TEST_F(GdSurfaceTest, UserPointsLandOnTheirPixels) {
  const struct {
    float x, y;
    int colonna, riga;
  } kCasi[] = {{0, 0, 35, 185},      {240, 160, 275, 25}, {-35, -35, 0, 220},     {-35, 185, 0, 0},
               {250, -35, 285, 220}, {75, 180, 110, 5},   {10.4f, 44.6f, 45, 140}};
  for (const auto& caso : kCasi) {
    canvas.Cls();
    canvas.Line(caso.x, caso.y, caso.x + 1, caso.y, kRosso);
    EXPECT_EQ(canvas.colore_pixel(caso.colonna, caso.riga), kRosso) << caso.x << "," << caso.y;
  }
  EXPECT_EQ(canvas.larghezza(), 286);
  EXPECT_EQ(canvas.altezza(), 221);
}

TEST_F(GdSurfaceTest, PaintOutsideTheCanvasIsClipped) {
  canvas.Line(-100, 300, 400, -300, kRosso);
  canvas.FillStyle(0);
  canvas.FillColor(kRosso);
  canvas.Circle(100, 40000, 2, kRosso);
  canvas.CurrentX(1e9f);
  canvas.CurrentY(-1e9f);
  canvas.Print("far away");
  EXPECT_EQ(utente(0, 0), kNero);
}

TEST_F(GdSurfaceTest, CircleFillFollowsFillStyleAndFillColor) {
  canvas.Circle(10, 10, 2, kRosso);
  EXPECT_EQ(utente(12, 10), kRosso);
  EXPECT_EQ(utente(10, 10), kNero) << "hollow until FillStyle 0";
  canvas.FillStyle(0);
  canvas.FillColor(kBianco);
  canvas.Circle(10, 10, 2, kRosso);
  EXPECT_EQ(utente(10, 10), kBianco);
  EXPECT_EQ(utente(11, 11), kBianco);
  EXPECT_EQ(utente(10, 12), kRosso);
  EXPECT_EQ(utente(12, 12), kNero);
}

TEST_F(GdSurfaceTest, PrintDrawsGlyphsOnlyInTheTextColourFromTheTopLeftCorner) {
  canvas.Line(-35, 180, 250, 180, kRosso);
  canvas.CurrentX(75);
  canvas.CurrentY(180);
  canvas.Print("Date: 05/03/2025");
  int testo = 0, rosso = 0;
  for (int c = 110; c < 110 + 16 * 6; ++c) {
    testo += canvas.colore_pixel(c, 5 + 6) == kColoreTesto ||
             canvas.colore_pixel(c, 5 + 9) == kColoreTesto;
    rosso += canvas.colore_pixel(c, 5) == kRosso;
  }
  EXPECT_GT(testo, 20);
  EXPECT_GT(rosso, 80) << "the text cell must not paint its background";
  for (int c = 0; c < 286; ++c) EXPECT_NE(canvas.colore_pixel(c, 4), kColoreTesto) << c;
}

TEST_F(GdSurfaceTest, ClsKeepsSizeScaleAndFillSettings) {
  canvas.FillStyle(0);
  canvas.FillColor(kBianco);
  canvas.Line(0, 0, 10, 0, kRosso);
  canvas.Cls();
  EXPECT_EQ(utente(0, 0), kNero);
  canvas.Circle(50, 50, 2, kRosso);
  EXPECT_EQ(utente(50, 50), kBianco);
}

TEST(GdSurfaceSizeTest, ImpossibleSizeFailsAndKeepsTheCanvas) {
  GdSurface canvas(kTwipsPerPixel, kColoreSfondo, kColoreTesto);
  EXPECT_THROW(canvas.Width(1e30f), Failure);
  EXPECT_THROW(canvas.Width(0), Failure);
  EXPECT_THROW(canvas.Height(-15), Failure);
  EXPECT_EQ(canvas.larghezza(), 286);
  EXPECT_EQ(canvas.altezza(), 221);
}

TEST(GdSurfaceSizeTest, ImageIsThePaletteImageOfTheWholeCanvas) {
  GdSurface canvas(kTwipsPerPixel, kColoreSfondo, kColoreTesto);
  canvas.Scale(-35, 185, 251, -36);
  canvas.Line(0, 0, 1, 0, kRosso);
  const Picture immagine = canvas.Image();
  ASSERT_EQ(immagine.width, 286);
  ASSERT_EQ(immagine.height, 221);
  ASSERT_EQ(immagine.pixels.size(), 286u * 221u);
  const auto colore = [&](int colonna, int riga) {
    return immagine.palette.at(immagine.pixels[static_cast<std::size_t>(riga * 286 + colonna)]);
  };
  EXPECT_EQ(colore(35, 185), kRosso);
  EXPECT_EQ(colore(36, 185), kColoreSfondo);
  EXPECT_EQ(colore(285, 220), kColoreSfondo);
  EXPECT_TRUE(immagine.document.empty());
}

TEST(GdSurfaceSizeTest, TheSamePixelsGiveTheSamePictureWhateverWasDrawnBefore) {
  // One canvas draws red then white on a fresh canvas; the other has drawn a figure in
  // other colours first and draws white then red: the same pixels, the same picture.
  GdSurface primo(kTwipsPerPixel, kColoreSfondo, kColoreTesto);
  GdSurface secondo(kTwipsPerPixel, kColoreSfondo, kColoreTesto);
  for (GdSurface* canvas : {&primo, &secondo}) canvas->Scale(-35, 185, 251, -36);
  secondo.Line(0, 0, 100, 100, kNero);
  secondo.Line(0, 100, 100, 0, RGB(1, 2, 3));
  secondo.Cls();
  primo.Line(0, 0, 10, 0, kRosso);
  primo.Line(0, 5, 10, 5, kBianco);
  secondo.Line(0, 5, 10, 5, kBianco);
  secondo.Line(0, 0, 10, 0, kRosso);
  const Picture a = primo.Image(), b = secondo.Image();
  EXPECT_EQ(a.palette, b.palette);
  EXPECT_EQ(a.pixels, b.pixels);
  EXPECT_EQ(a.palette.size(), 3u) << "only the colours the pixels use";
  EXPECT_TRUE(std::is_sorted(a.palette.begin(), a.palette.end()));
}

}  // namespace
}  // namespace fof1plot
