#pragma once

#include <string>

#include "canvas/colors.h"
#include "canvas/picture.h"

namespace fof1plot {

// The canvas of the plot window: the drawing operations the figures are painted with,
// in user coordinates set by Scale. Every operation throws Failure when it cannot be
// carried out; paint outside the canvas is clipped, never a failure.
class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;

  // Twips per pixel of the screen, horizontally and vertically.
  virtual float TwipsPerPixelX() = 0;
  virtual float TwipsPerPixelY() = 0;
  // Outer size of the window in twips; the canvas is the window less its frame.
  virtual void Width(float twips) = 0;
  virtual void Height(float twips) = 0;
  // (x1, y1) is the canvas's upper-left corner, (x2, y2) its lower-right.
  virtual void Scale(float x1, float y1, float x2, float y2) = 0;

  // A line from (x1, y1) up to, not including, (x2, y2).
  virtual void Line(float x1, float y1, float x2, float y2, Colore colore) = 0;
  // 0 fills later circles solidly; 1 leaves them hollow.
  virtual void FillStyle(int stile) = 0;
  virtual void FillColor(Colore colore) = 0;
  // A circle of radius r: outline in the colour, inside in the fill colour.
  virtual void Circle(float x, float y, float r, Colore colore) = 0;

  // Where the next text starts: the top-left corner of its first character cell.
  virtual void CurrentX(float x) = 0;
  virtual void CurrentY(float y) = 0;
  // Draws text in the window's text colour at the current position, glyphs only.
  virtual void Print(const std::string& testo) = 0;
  // Paints the canvas in the background colour and resets the current position; size,
  // scale and fill settings stay.
  virtual void Cls() = 0;

  // Starts a mark, such as a sample's: the shapes drawn until the next hint, or an empty
  // text, are one mark with this hint (its time and value). A surface that cannot show
  // hints ignores it.
  virtual void ToolTipText(const std::string& /*testo*/) {}

  // The canvas as a picture, all paint since the last Cls.
  virtual Picture Image() = 0;
};

}  // namespace fof1plot
