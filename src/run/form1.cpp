#include "run/form1.h"

namespace fof1plot {

Form1::Form1(DrawingSurface& canvas, ImageExport& wpdlx1, TextFiles& files, Directory& directory,
             Clock& clock)
    : canvas(canvas), wpdlx1(wpdlx1), files(files), directory(directory), clock(clock) {}

int Form1::stato_di_uscita() const {
  constexpr int kFigureDellaCorsa = 12;
  return figure_scritte == kFigureDellaCorsa ? 0 : 1;
}

}  // namespace fof1plot
