#include "run/form1.h"

namespace fof1plot {

Form1::Form1(DrawingSurface& canvas, ImageExport& wpdlx1, TextFiles& files, Directory& directory,
             Clock& clock, Diagnostics& diagnostica)
    : canvas(canvas),
      wpdlx1(wpdlx1),
      files(files),
      directory(directory),
      clock(clock),
      diagnostica(diagnostica) {}

int Form1::stato_di_uscita() const { return corsa_fallita ? 1 : 0; }

void Form1::segnala(const Failure& guasto, const char* descrizione) {
  corsa_fallita = true;
  const std::string cosa = descrizione != nullptr ? descrizione : guasto.what_failed();
  if (!segnalati.emplace(guasto.path(), cosa).second) return;
  diagnostica.Report(descrizione != nullptr ? Failure(guasto.path(), cosa, guasto.reason())
                                            : guasto);
}

}  // namespace fof1plot
