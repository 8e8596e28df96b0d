#include "canvas/user_scale.h"

#include <cmath>

#include "platform/failure.h"

namespace fof1plot {

void ScalaUtente::Scale(float x1, float y1, float x2, float y2) {
  if (x1 == x2 || y1 == y2) throw Failure("invalid scale");
  sinistra_ = x1;
  alto_ = y1;
  estensione_x_ = static_cast<double>(x2) - x1;
  estensione_y_ = static_cast<double>(y2) - y1;
}

double ScalaUtente::lunghezza(float r) const { return r * larghezza_ / std::abs(estensione_x_); }

}  // namespace fof1plot
