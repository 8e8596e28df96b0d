#pragma once

#include <string>

#include "canvas/drawing_surface.h"
#include "canvas/raster.h"
#include "canvas/user_scale.h"
#include "platform/libgd.h"

namespace fof1plot {

// The canvas as an off-screen libgd palette image, so that every colour reaches the
// GIF files unchanged. Text is drawn in libgd's built-in 6 x 13 font.
class GdSurface : public DrawingSurface {
 public:
  // The window's own properties: twips per pixel of the screen, background and text
  // colour. The canvas starts at the window's stored size, 286 x 221 pixels.
  GdSurface(float twips_per_pixel, Colore back_color, Colore fore_color);

  float TwipsPerPixelX() override;
  float TwipsPerPixelY() override;
  void Width(float twips) override;
  void Height(float twips) override;
  void Scale(float x1, float y1, float x2, float y2) override;
  void Line(float x1, float y1, float x2, float y2, Colore colore) override;
  void FillStyle(int stile) override;
  void FillColor(Colore colore) override;
  void Circle(float x, float y, float r, Colore colore) override;
  void CurrentX(float x) override;
  void CurrentY(float y) override;
  void Print(const std::string& testo) override;
  void Cls() override;
  Picture Image() override;

  int larghezza() const;
  int altezza() const;
  // The colour of a canvas pixel; throws Failure outside the canvas.
  Colore colore_pixel(int colonna, int riga) const;

 private:
  void ridimensiona(std::int64_t larghezza, std::int64_t altezza);
  void pulisci();
  Pixel pixel_di(float x, float y) const;
  int indice_colore(Colore colore);
  void dipingi(std::int64_t colonna, std::int64_t riga, int indice);

  float twips_per_pixel_;
  Colore back_color_;
  Colore fore_color_;
  GdImage immagine_;
  ScalaUtente scala_{1, 1, 1};
  float current_x_ = 0, current_y_ = 0;
  int fill_style_ = 1;
  Colore fill_color_ = 0;
};

}  // namespace fof1plot
