#include <array>
#include <memory>

#include "run/form1.h"
#include "run/step.h"

namespace fof1plot {

// gralvo.ini in the current directory: lines 2, 4 and 6 are the work, sample and
// output directories, each kept exactly as written; the other lines are free text.
void Form1::leggi_impostazioni() {
  std::string cartella_corrente;
  esegui_passo([&] { cartella_corrente = directory.CurDir(); });
  if (cartella_corrente.empty() || cartella_corrente.back() != '/') cartella_corrente += '/';
  std::unique_ptr<TextFile> file;
  esegui_passo([&] { file = files.Open(cartella_corrente + "gralvo.ini"); });
  const std::array<std::string*, 6> righe = {nullptr,        &cartella_lavoro, nullptr,
                                             &cartella_dati, nullptr,          &cartella_uscita};
  for (std::string* valore : righe) {
    esegui_passo([&] {
      std::string riga = LineInput(file);
      if (valore != nullptr) *valore = std::move(riga);
    });
  }
}

}  // namespace fof1plot
