#pragma once

#include <string>

#include "canvas/drawing_surface.h"
#include "run/corsa.h"
#include "run/form1.h"

namespace fof1plot {

// The network overview: reads the published files that each subdirectory of `rete`
// holds, one station each, and writes into `rete` index.html and stations.json (every
// run, they carry its time), today.csv, today.svg, network.css and network.js (where their
// bytes changed), and the metrics to `metriche` unless it is empty. `finestra` draws
// today.svg's frame on `vettoriale`. A station that cannot be read is a warning and shows
// as unreadable; a directory that cannot be listed or written is a failure of the run.
void scrivi_rete(Corsa& corsa, Form1& finestra, DrawingSurface& vettoriale, std::string rete,
                 const std::string& metriche);

}  // namespace fof1plot
