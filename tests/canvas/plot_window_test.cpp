#include "canvas/plot_window.h"

#include <gtest/gtest.h>

#include "canvas/gd_surface.h"
#include "platform/failure.h"
#include "support/bench.h"

namespace fof1plot {
namespace {

TEST(PlotWindowTest, CanvasIs286By221AtAnyTwipsPerPixel) {
  for (float twips : {15.0f, 12.0f}) {
    GdSurface canvas(twips, kColoreSfondo, kColoreTesto);
    test::Banco banco(canvas);
    banco.form.impostazioni_dimensioni_e_scala_del_form();
    EXPECT_EQ(canvas.larghezza(), 286) << twips;
    EXPECT_EQ(canvas.altezza(), 221) << twips;
    canvas.Line(240, 160, 241, 160, RGB(255, 0, 0));
    EXPECT_EQ(canvas.colore_pixel(275, 25), RGB(255, 0, 0)) << twips;
  }
}

TEST(PlotWindowTest, OuterSizeInTwipsThenScale) {
  test::BancoFinto banco;
  banco.form.impostazioni_dimensioni_e_scala_del_form();
  EXPECT_EQ(banco.chiamate,
            (std::vector<std::string>{"Width 4380", "Height 3690", "Scale -35 185 251 -36"}));
  EXPECT_EQ(banco.form.margine_superiore, 25);
  EXPECT_EQ(banco.form.margine_inferiore, 35);
  EXPECT_EQ(banco.form.margine_destro, 10);
  EXPECT_EQ(banco.form.margine_sinistro, 35);
}

TEST(PlotWindowTest, AFailingSizeAbandonsTheRest) {
  test::BancoFinto banco;
  banco.fallisci("Height");
  EXPECT_THROW(banco.form.impostazioni_dimensioni_e_scala_del_form(), Failure);
  EXPECT_EQ(banco.chiamate, (std::vector<std::string>{"Width 4380", "Height 3690"}));
}

}  // namespace
}  // namespace fof1plot
