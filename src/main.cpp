#include "canvas/gd_surface.h"
#include "canvas/plot_window.h"
#include "output/gd_image_export.h"
#include "platform/clock.h"
#include "platform/diagnostics.h"
#include "platform/directory.h"
#include "platform/text_files.h"
#include "run/form1.h"

// Draws and publishes the six daily figures of foF1, as set up by gralvo.ini in the
// current directory. Prints a line on stderr for each failure, and nothing otherwise.
int main() {
  fof1plot::GdSurface canvas(fof1plot::kTwipsPerPixel, fof1plot::kColoreSfondo,
                             fof1plot::kColoreTesto);
  fof1plot::GdImageExport wpdlx1;
  fof1plot::PosixTextFiles files;
  fof1plot::PosixDirectory directory;
  fof1plot::LocalClock clock;
  fof1plot::StderrDiagnostics diagnostica;
  fof1plot::Form1 form(canvas, wpdlx1, files, directory, clock, diagnostica);
  form.Form_Load();
  return form.stato_di_uscita();
}
