#pragma once

namespace fof1plot {

// The window's frame around its canvas: 3 pixels left, right and bottom, 22 on top with
// the caption.
inline constexpr int kCorniceOrizzontale = 6;
inline constexpr int kCorniceVerticale = 25;

// The user coordinates of a canvas, as Scale sets them: the user point of its upper-left
// corner and its extent in user units, over the canvas's size in pixels. A canvas of a
// new size measures in twips from its corner until Scale is called.
class ScalaUtente {
 public:
  ScalaUtente(int larghezza, int altezza, float twips_per_pixel)
      : larghezza_(larghezza),
        altezza_(altezza),
        estensione_x_(larghezza * static_cast<double>(twips_per_pixel)),
        estensione_y_(altezza * static_cast<double>(twips_per_pixel)) {}

  // (x1, y1) is the upper-left corner, (x2, y2) the lower-right; throws Failure when
  // either extent is 0.
  void Scale(float x1, float y1, float x2, float y2);
  // Where a user point lies, in pixels from the left and the top edge, not rounded.
  double colonna(float x) const { return (x - sinistra_) * larghezza_ / estensione_x_; }
  double riga(float y) const { return (y - alto_) * altezza_ / estensione_y_; }
  // A horizontal length in pixels, not rounded.
  double lunghezza(float r) const;

 private:
  int larghezza_;
  int altezza_;
  double sinistra_ = 0, alto_ = 0, estensione_x_, estensione_y_;
};

}  // namespace fof1plot
