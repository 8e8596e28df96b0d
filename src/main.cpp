#include <cstdio>

#include "canvas/gd_surface.h"
#include "canvas/plot_window.h"
#include "output/gd_image_export.h"
#include "platform/clock.h"
#include "platform/diagnostics.h"
#include "platform/directory.h"
#include "platform/text_files.h"
#include "run/command_line.h"
#include "run/form1.h"

// Draws and publishes the six daily figures of foF1, or archives given days again, as
// set up by gralvo.ini in the current directory. Prints a line on stderr for each
// failure, and nothing otherwise.
int main(int argc, char* argv[]) {
  using namespace fof1plot;
  const RigaDiComando riga = leggi_riga_di_comando(argc, argv);
  switch (riga.azione) {
    case RigaDiComando::Azione::kAiuto:
      std::fputs(kUso, stdout);
      return 0;
    case RigaDiComando::Azione::kVersione:
      std::puts("fof1plot " FOF1PLOT_VERSION);
      return 0;
    case RigaDiComando::Azione::kErrore:
      std::fprintf(stderr, "fof1plot: %s; see 'fof1plot --help'\n", riga.errore.c_str());
      return 2;
    default:
      break;
  }
  GdSurface canvas(kTwipsPerPixel, kColoreSfondo, kColoreTesto);
  GdImageExport wpdlx1;
  PosixTextFiles files;
  PosixDirectory directory;
  LocalClock clock;
  StderrDiagnostics diagnostica;
  Form1 form(canvas, wpdlx1, files, directory, clock, diagnostica);
  if (riga.azione == RigaDiComando::Azione::kArchivio) {
    form.ricostruisci_archivio(riga.primo, riga.ultimo);
  } else {
    form.Form_Load();
  }
  return form.stato_di_uscita();
}
