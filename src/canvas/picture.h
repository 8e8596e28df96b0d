#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas/colors.h"

namespace fof1plot {

// The canvas as a picture. A pixel canvas gives a palette image: its colours in palette
// order and one palette index per pixel, row after row from the top. A vector canvas
// gives its document instead.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Colore> palette;
  std::vector<std::uint8_t> pixels;
  std::string document;
};

}  // namespace fof1plot
