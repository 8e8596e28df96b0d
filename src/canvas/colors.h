#pragma once

#include <cstdint>

namespace fof1plot {

// A 24-bit colour, 0xRRGGBB.
using Colore = std::uint32_t;

// The colour (r, g, b), each 0 to 255.
constexpr Colore RGB(int r, int g, int b) {
  return static_cast<Colore>(((r & 0xFF) << 16) | ((g & 0xFF) << 8) | (b & 0xFF));
}

// The 16 colours of the classic palette, 0 to 15; throws Failure for any other number.
Colore QBColor(int n);

constexpr int Rosso(Colore c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr int Verde(Colore c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int Blu(Colore c) { return static_cast<int>(c & 0xFF); }

}  // namespace fof1plot
