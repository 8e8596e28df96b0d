#include "run/form1.h"

namespace fof1plot {

Form1::Form1(DrawingSurface& canvas, ImageExport& wpdlx1, Corsa& corsa)
    : canvas(canvas), wpdlx1(wpdlx1), corsa(corsa) {}

}  // namespace fof1plot
