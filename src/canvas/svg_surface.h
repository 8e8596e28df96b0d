#pragma once

#include <string>
#include <string_view>

#include "canvas/drawing_surface.h"
#include "canvas/user_scale.h"

namespace fof1plot {

// The canvas as a vector picture: every drawing operation becomes an SVG element at the
// place, in the colour and of the size the pixel canvas gives it, so that the figure
// stays sharp at any zoom. Lines in the "NO" colour are dashed, so that the two kinds of
// tick can be told apart without colour. A hint set with ToolTipText starts a mark: one
// group (<g>) with the hint as its one <title> and the shapes drawn until the next hint,
// so that a program counting marks counts each once. Image gives the SVG document.
class SvgSurface : public DrawingSurface {
 public:
  SvgSurface(float twips_per_pixel, Colore back_color, Colore fore_color);

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
  void ToolTipText(const std::string& testo) override;
  Picture Image() override;

 private:
  // The canvas position of a point in user coordinates, in pixels.
  double colonna(float x) const;
  double riga(float y) const;
  // Ends the open mark's group, if any.
  void chiudi_segno();
  // Ends an element.
  void chiudi();

  float twips_per_pixel_;
  Colore back_color_;
  Colore fore_color_;
  int larghezza_;
  int altezza_;
  ScalaUtente scala_;
  float current_x_ = 0, current_y_ = 0;
  int fill_style_ = 1;
  Colore fill_color_ = 0;
  bool segno_aperto_ = false;
  std::string elementi_;
};

}  // namespace fof1plot
