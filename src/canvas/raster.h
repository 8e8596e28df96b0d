#pragma once

#include <cstdint>
#include <functional>

namespace fof1plot {

// Pixel positions of the canvas: column from the left edge, row from the top.
struct Pixel {
  std::int64_t colonna;
  std::int64_t riga;
};

using Pennello = std::function<void(std::int64_t colonna, std::int64_t riga)>;

// The pixels of a line from a up to, not including, b, each the pixel nearest to the
// true line at its step along the longer axis. Only steps whose long-axis coordinate
// lies in 0..limite-1 are painted, so a line running far off the canvas costs no more
// than one across it.
void traccia_linea(Pixel a, Pixel b, std::int64_t larghezza, std::int64_t altezza,
                   const Pennello& dipingi);

// The pixels of a disc of radius r around c, those on its rim and those inside it
// apart; for r = 2 a round disc of 21 pixels with 9 inside.
void traccia_disco(Pixel c, std::int64_t r, const Pennello& bordo, const Pennello& interno);

}  // namespace fof1plot
