#pragma once

#include <string>
#include <vector>

#include "canvas/drawing_surface.h"
#include "network/network_station.h"
#include "run/form1.h"

namespace fof1plot {

// today.svg: today's values of every station on the frame, grid and scales of the
// station figures, drawn by the window's own procedures on `canvas`, a vector surface;
// each station with its colour and marker shape, each mark titled with its station, time
// and value, and below the chart a legend of the stations.
std::string grafico_rete(Form1& finestra, DrawingSurface& canvas,
                         const std::vector<StazioneRete>& stazioni);

}  // namespace fof1plot
