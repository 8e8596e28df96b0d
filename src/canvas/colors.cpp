#include "canvas/colors.h"

#include <array>

#include "platform/failure.h"

namespace fof1plot {

Colore QBColor(int n) {
  static constexpr std::array<Colore, 16> kPalette = {
      RGB(0, 0, 0),       RGB(0, 0, 128),   RGB(0, 128, 0),   RGB(0, 128, 128),
      RGB(128, 0, 0),     RGB(128, 0, 128), RGB(128, 128, 0), RGB(192, 192, 192),
      RGB(128, 128, 128), RGB(0, 0, 255),   RGB(0, 255, 0),   RGB(0, 255, 255),
      RGB(255, 0, 0),     RGB(255, 0, 255), RGB(255, 255, 0), RGB(255, 255, 255)};
  if (n < 0 || n >= static_cast<int>(kPalette.size())) throw Failure("invalid colour number");
  return kPalette[static_cast<std::size_t>(n)];
}

}  // namespace fof1plot
