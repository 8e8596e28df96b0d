#pragma once

#include "canvas/drawing_surface.h"

namespace fof1plot {

// Two canvases drawn as one: every operation goes to the first, then to the second, so
// that the same drawing procedures paint a pixel figure and its vector twin. The first
// answers the questions (twips per pixel, Image); a failure of either is the failure
// of the operation.
class TeeSurface : public DrawingSurface {
 public:
  TeeSurface(DrawingSurface& prima, DrawingSurface& seconda) : prima_(prima), seconda_(seconda) {}

  float TwipsPerPixelX() override { return prima_.TwipsPerPixelX(); }
  float TwipsPerPixelY() override { return prima_.TwipsPerPixelY(); }
  void Width(float twips) override { entrambe(&DrawingSurface::Width, twips); }
  void Height(float twips) override { entrambe(&DrawingSurface::Height, twips); }
  void Scale(float x1, float y1, float x2, float y2) override {
    entrambe(&DrawingSurface::Scale, x1, y1, x2, y2);
  }
  void Line(float x1, float y1, float x2, float y2, Colore colore) override {
    entrambe(&DrawingSurface::Line, x1, y1, x2, y2, colore);
  }
  void FillStyle(int stile) override { entrambe(&DrawingSurface::FillStyle, stile); }
  void FillColor(Colore colore) override { entrambe(&DrawingSurface::FillColor, colore); }
  void Circle(float x, float y, float r, Colore colore) override {
    entrambe(&DrawingSurface::Circle, x, y, r, colore);
  }
  void CurrentX(float x) override { entrambe(&DrawingSurface::CurrentX, x); }
  void CurrentY(float y) override { entrambe(&DrawingSurface::CurrentY, y); }
  void Print(const std::string& testo) override { entrambe(&DrawingSurface::Print, testo); }
  void Cls() override { entrambe(&DrawingSurface::Cls); }
  void ToolTipText(const std::string& testo) override {
    entrambe(&DrawingSurface::ToolTipText, testo);
  }
  Picture Image() override { return prima_.Image(); }

 private:
  template <typename Operazione, typename... Argomenti>
  void entrambe(Operazione operazione, const Argomenti&... argomenti) {
    (prima_.*operazione)(argomenti...);
    (seconda_.*operazione)(argomenti...);
  }

  DrawingSurface& prima_;
  DrawingSurface& seconda_;
};

}  // namespace fof1plot
