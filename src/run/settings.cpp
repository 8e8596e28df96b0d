#include <array>
#include <memory>

#include "run/directory_lines.h"
#include "run/form1.h"

namespace fof1plot {

// gralvo.ini in the current directory, opened by its relative name so that a deep
// current directory behaves: lines 2, 4 and 6 are the work, sample and output
// directories, each kept exactly as written; the other lines are free text. False, with
// the failure reported under the file's full path, when the file cannot be opened or
// ends before its sixth line: without all three directories a run would write its
// figures wherever it was started. A directory line that ends in blanks or lacks its
// final "/" is used as written, with a warning.
bool Form1::leggi_impostazioni() {
  esegui_passo([&] { cartella_corrente = corsa.directory().CurDir(); });
  const std::string posizione = cartella_corrente.empty()
                                    ? "gralvo.ini (in a current directory that cannot be told)"
                                    : cartella_corrente + "gralvo.ini";
  const auto al_guasto = [&](const Failure& guasto) {
    corsa.segnala(Failure(posizione, guasto.what_failed(), guasto.reason()));
  };
  std::unique_ptr<TextFile> file;
  if (!esegui_passo([&] { file = corsa.files().Open("gralvo.ini"); },
                    [&](const Failure& guasto) {
                      corsa.segnala(
                          Failure(posizione, "cannot open the settings file", guasto.reason()));
                    })) {
    return false;
  }
  const std::array<std::string*, 6> righe = {nullptr,        &cartella_lavoro, nullptr,
                                             &cartella_dati, nullptr,          &cartella_uscita};
  for (std::string* valore : righe) {
    const bool letta = esegui_passo(
        [&] {
          std::string riga = LineInput(file);
          if (valore != nullptr) *valore = std::move(riga);
        },
        al_guasto);
    if (!letta) return false;
  }
  for (const RigaCartella& riga : righe_cartelle(cartella_lavoro, cartella_dati, cartella_uscita)) {
    for (const std::string& avviso : avvisi_riga_cartella(riga)) corsa.avvisa(avviso);
  }
  return true;
}

}  // namespace fof1plot
