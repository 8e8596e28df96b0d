#pragma once

#include <string>

#include "canvas/drawing_surface.h"
#include "run/form1.h"
#include "statistics/month_statistics.h"

namespace fof1plot {

// hourly.svg: a month's hourly statistics on the frame, grid and scales of the daily
// figures, drawn by `finestra`'s own procedures on `canvas`, a vector surface: the band
// between the quartiles shaded, the median as a line with markers titled with their hour,
// median, quartiles and count, and the forecast as the white dots and segments of the
// daily figures.
std::string grafico_mese(Form1& finestra, DrawingSurface& canvas, const StatisticheMese& s);

}  // namespace fof1plot
