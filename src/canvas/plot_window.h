#pragma once

#include "canvas/colors.h"

namespace fof1plot {

// The plot window's stored properties.
constexpr Colore kColoreSfondo = RGB(0, 0, 0);
constexpr Colore kColoreTesto = RGB(255, 255, 128);
// Twips per pixel of a 96 dots-per-inch screen.
constexpr float kTwipsPerPixel = 15;

}  // namespace fof1plot
