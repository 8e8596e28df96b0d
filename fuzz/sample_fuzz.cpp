// A sample file: whatever it holds, it is drawn as at most one mark; a file of fewer
// than seven lines draws nothing, and a record line whose value field reads "N/A" or
// "NO" draws its tick, in its colour.
#include <string_view>

#include "canvas/colors.h"
#include "fuzz_support.h"
#include "platform/text.h"
#include "platform/text_files.h"
#include "run/form1.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fof1plot;
  const std::string_view testo(reinterpret_cast<const char*>(data), size);
  const std::string path = fuzz::cartella_fuzz() + "RM041_2025064101500.TXT";
  fuzz::scrivi_file(path, testo);
  fuzz::FormFuzz f;
  Form1& form = f.form;
  const fuzz::SuperficieContata& canvas = f.canvas;
  std::string campo_valore;
  std::int16_t x_ultimo = 0;
  std::int16_t y_ultimo = 0;
  if (form.leggi_campo_valore(path, campo_valore) == LetturaCampione::kLetto) {
    f.corsa.figura().campioni.emplace_back();
    form.disegna_campione(10, 15, campo_valore, x_ultimo, y_ultimo);
  }

  const std::size_t segni = canvas.cerchi_y.size() + canvas.linee.size();
  const auto righe = fuzz::righe_attese(testo, PosixTextFiles::kMaxLine);
  if (righe.size() < 7) {
    if (segni != 0) fuzz::viola("a file of fewer than seven lines was drawn");
    return 0;
  }
  if (segni != 1) fuzz::viola("one sample file did not draw exactly one mark");
  const std::string parola = Trim(Mid(righe[6], 16, 4));
  if (parola == "N/A" && canvas.linee != std::vector<Colore>{QBColor(10)})
    fuzz::viola("N/A is not a green tick");
  if (parola == "NO" && canvas.linee != std::vector<Colore>{RGB(255, 153, 0)})
    fuzz::viola("NO is not an orange tick");
  return 0;
}
