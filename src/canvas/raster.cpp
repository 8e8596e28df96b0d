#include "canvas/raster.h"

#include <algorithm>
#include <cstdlib>

namespace fof1plot {
namespace {

using Wide = __int128;

// p / n to the nearest integer, halves upward; n > 0.
std::int64_t round_div(Wide p, Wide n) {
  const Wide twice = 2 * p + n;
  const Wide d = 2 * n;
  Wide q = twice / d;
  if (twice % d != 0 && twice < 0) --q;
  return static_cast<std::int64_t>(q);
}

// The steps i in [0, n) for which start + i * step lies in 0..limit-1.
void visible_steps(std::int64_t start, int step, std::int64_t n, std::int64_t limit,
                   std::int64_t& first, std::int64_t& last) {
  if (step > 0) {
    first = -start;
    last = limit - 1 - start;
  } else {
    first = start - (limit - 1);
    last = start;
  }
  first = std::max<std::int64_t>(first, 0);
  last = std::min<std::int64_t>(last, n - 1);
}

bool in_disc(std::int64_t dx, std::int64_t dy, std::int64_t r) {
  return dx * dx + dy * dy <= r * (r + 1);
}

}  // namespace

void traccia_linea(Pixel a, Pixel b, std::int64_t larghezza, std::int64_t altezza,
                   const Pennello& dipingi) {
  const std::int64_t dx = b.colonna - a.colonna;
  const std::int64_t dy = b.riga - a.riga;
  const bool lungo_x = std::llabs(dx) >= std::llabs(dy);
  const std::int64_t n = lungo_x ? std::llabs(dx) : std::llabs(dy);
  if (n == 0) return;
  std::int64_t first, last;
  if (lungo_x) {
    visible_steps(a.colonna, dx > 0 ? 1 : -1, n, larghezza, first, last);
  } else {
    visible_steps(a.riga, dy > 0 ? 1 : -1, n, altezza, first, last);
  }
  for (std::int64_t i = first; i <= last; ++i) {
    dipingi(a.colonna + round_div(static_cast<Wide>(i) * dx, n),
            a.riga + round_div(static_cast<Wide>(i) * dy, n));
  }
}

void traccia_disco(Pixel c, std::int64_t r, const Pennello& bordo, const Pennello& interno) {
  for (std::int64_t dy = -r; dy <= r; ++dy) {
    for (std::int64_t dx = -r; dx <= r; ++dx) {
      if (!in_disc(dx, dy, r)) continue;
      const bool inside = in_disc(dx - 1, dy, r) && in_disc(dx + 1, dy, r) &&
                          in_disc(dx, dy - 1, r) && in_disc(dx, dy + 1, r);
      (inside ? interno : bordo)(c.colonna + dx, c.riga + dy);
    }
  }
}

}  // namespace fof1plot
