#include <array>
#include <memory>

#include "run/form1.h"

namespace fof1plot {

// gralvo.ini in the current directory, opened by its relative name so that a deep or a
// deleted current directory behaves: lines 2, 4 and 6 are the work, sample and output
// directories, each kept exactly as written; the other lines are free text. A file that
// ends early leaves the later directories empty; its first missing line is reported.
void Form1::leggi_impostazioni() {
  std::unique_ptr<TextFile> file;
  if (!passo([&] { file = files.Open("gralvo.ini"); }, "cannot open the settings file")) {
    impostazioni_mancanti = true;
    return;
  }
  const std::array<std::string*, 6> righe = {nullptr,        &cartella_lavoro, nullptr,
                                             &cartella_dati, nullptr,          &cartella_uscita};
  for (std::string* valore : righe) {
    const bool letta = passo([&] {
      std::string riga = LineInput(file);
      if (valore != nullptr) *valore = std::move(riga);
    });
    if (!letta) return;
  }
}

}  // namespace fof1plot
