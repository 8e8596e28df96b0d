#include "canvas/svg_surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "canvas/plot_window.h"
#include "canvas/tee_surface.h"
#include "platform/failure.h"
#include "support/fakes.h"

namespace fof1plot {
namespace {

// A vector canvas set up as the plot window sets up its canvas: 286 x 221 pixels, the
// point (x, y) at column x + 35 and row 185 - y.
SvgSurface finestra() {
  SvgSurface svg(kTwipsPerPixel, kColoreSfondo, kColoreTesto);
  svg.Width(292 * kTwipsPerPixel);
  svg.Height(246 * kTwipsPerPixel);
  svg.Scale(-35, 185, 251, -36);
  return svg;
}

TEST(SvgSurfaceTest, ShapesStandWhereThePixelCanvasPutsThem) {
  const struct {
    const char* nome;
    std::function<void(SvgSurface&)> disegna;
    const char* elemento;
  } kCasi[] = {
      {"a disc at hour 3, 4.5 MHz",
       [](SvgSurface& s) {
         s.FillStyle(0);
         s.FillColor(QBColor(12));
         s.Circle(31, 45, 2, QBColor(12));
       },
       "<circle cx=\"66.5\" cy=\"140.5\" r=\"2\" stroke=\"#FF0000\" fill=\"#FF0000\"/>"},
      {"a hollow circle", [](SvgSurface& s) { s.Circle(0, 0, 2, QBColor(15)); },
       "<circle cx=\"35.5\" cy=\"185.5\" r=\"2\" stroke=\"#FFFFFF\" fill=\"none\"/>"},
      {"the frame's bottom", [](SvgSurface& s) { s.Line(0, 0, 242, 0, RGB(255, 255, 0)); },
       "<line x1=\"35.5\" y1=\"185.5\" x2=\"277.5\" y2=\"185.5\" stroke=\"#FFFF00\"/>"},
      {"an N/A tick, solid", [](SvgSurface& s) { s.Line(103, 1, 103, 8, QBColor(10)); },
       "<line x1=\"138.5\" y1=\"184.5\" x2=\"138.5\" y2=\"177.5\" stroke=\"#00FF00\"/>"},
      {"a NO tick, dashed", [](SvgSurface& s) { s.Line(102, 1, 102, 8, RGB(255, 153, 0)); },
       "<line x1=\"137.5\" y1=\"184.5\" x2=\"137.5\" y2=\"177.5\" stroke=\"#FF9900\" "
       "class=\"no\"/>"},
      {"the date line",
       [](SvgSurface& s) {
         s.CurrentX(75);
         s.CurrentY(180);
         s.Print("Date: 05/03/2025 <&>");
       },
       "<text x=\"110\" y=\"15\">Date: 05/03/2025 &lt;&amp;&gt;</text>"},
      {"a titled disc",
       [](SvgSurface& s) {
         s.ToolTipText("10:15 UT: 4.5 MHz");
         s.Circle(102, 45, 2, QBColor(12));
         s.ToolTipText("");
         s.Circle(105, 45, 2, QBColor(12));
       },
       "<g><title>10:15 UT: 4.5 MHz</title>\n<circle cx=\"137.5\" cy=\"140.5\" r=\"2\" "
       "stroke=\"#FF0000\" fill=\"none\"/>\n</g>\n<circle cx=\"140.5\" cy=\"140.5\" r=\"2\" "
       "stroke=\"#FF0000\" fill=\"none\"/>"},
      {"a mark of several shapes, one group with one title",
       [](SvgSurface& s) {
         s.ToolTipText("a");
         s.Line(1, 1, 2, 2, QBColor(15));
         s.Line(2, 1, 1, 2, QBColor(15));
         s.ToolTipText("b");
         s.Line(3, 1, 4, 2, QBColor(15));
       },
       "<g><title>a</title>\n<line x1=\"36.5\" y1=\"184.5\" x2=\"37.5\" y2=\"183.5\" "
       "stroke=\"#FFFFFF\"/>\n<line x1=\"37.5\" y1=\"184.5\" x2=\"36.5\" y2=\"183.5\" "
       "stroke=\"#FFFFFF\"/>\n</g>\n<g><title>b</title>\n<line x1=\"38.5\" y1=\"184.5\" "
       "x2=\"39.5\" y2=\"183.5\" stroke=\"#FFFFFF\"/>\n</g>\n</svg>"},
  };
  for (const auto& caso : kCasi) {
    SvgSurface svg = finestra();
    caso.disegna(svg);
    const std::string immagine = svg.Image().document;
    EXPECT_NE(immagine.find(caso.elemento), std::string::npos) << caso.nome << "\n" << immagine;
    EXPECT_NE(immagine.find("viewBox=\"0 0 286 221\""), std::string::npos);
  }
}

TEST(SvgSurfaceTest, ClsClearsAndBadInputFailsAsOnThePixelCanvas) {
  SvgSurface svg = finestra();
  svg.Line(0, 0, 10, 10, QBColor(15));
  svg.Cls();
  EXPECT_EQ(svg.Image().document.find("<line"), std::string::npos);
  EXPECT_THROW(svg.Scale(1, 1, 1, 2), Failure);
  EXPECT_THROW(svg.Width(0), Failure);
  EXPECT_THROW(svg.Line(std::nanf(""), 0, 1, 1, 0), Failure);
}

TEST(TeeSurfaceTest, BothCanvasesGetEveryCallAndTheFirstGivesThePicture) {
  test::FakeSurface prima, seconda;
  TeeSurface doppia(prima, seconda);
  doppia.Line(1, 2, 3, 4, QBColor(15));
  doppia.ToolTipText("hint");
  doppia.Cls();
  EXPECT_EQ(prima.chiamate, seconda.chiamate);
  EXPECT_EQ(seconda.suggerimenti, std::vector<std::string>{"hint"});
  EXPECT_EQ(doppia.Image().width, 1);
  EXPECT_EQ(prima.chiamate.back(), "Image");
  EXPECT_EQ(seconda.chiamate.back(), "Cls");
}

}  // namespace
}  // namespace fof1plot
