#include "canvas/plot_window.h"

#include "platform/numbers.h"
#include "run/form1.h"

namespace fof1plot {

// A 286 x 221 canvas, one user unit per pixel, y growing upward: the plot area is x 0
// to 240 (tenths of an hour UT) and y 0 to 160 (tenths of MHz), inside the margins.
void Form1::impostazioni_dimensioni_e_scala_del_form() {
  margine_superiore = 25;
  margine_inferiore = 35;
  margine_destro = 10;
  margine_sinistro = 35;
  // The window's outer size adds its frame, 6 pixels across and 25 down.
  const std::int16_t larghezza =
      somma16(somma16(somma16(somma16(margine_destro, 240), margine_sinistro), 6), 1);
  canvas.Width(static_cast<float>(larghezza) * canvas.TwipsPerPixelX());
  const std::int16_t altezza =
      somma16(somma16(somma16(somma16(margine_superiore, 160), margine_inferiore), 25), 1);
  canvas.Height(static_cast<float>(altezza) * canvas.TwipsPerPixelY());
  canvas.Scale(-margine_sinistro, somma16(margine_superiore, 160),
               somma16(somma16(margine_destro, 240), 1), -somma16(margine_inferiore, 1));
}

}  // namespace fof1plot
