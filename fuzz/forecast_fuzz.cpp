// The forecast file: whatever it holds, the curve has 24 dots and 23 segments, all
// white, and each dot's y is the hour's field decoded, or 0 where that overflows.
#include <string_view>

#include "canvas/colors.h"
#include "fuzz_support.h"
#include "platform/failure.h"
#include "platform/numbers.h"
#include "platform/text.h"
#include "platform/text_files.h"
#include "platform/value_field.h"
#include "run/form1.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fof1plot;
  const std::string_view testo(reinterpret_cast<const char*>(data), size);
  fuzz::scrivi_file(fuzz::cartella_fuzz() + "032025.txt", testo);
  fuzz::FormFuzz f;
  Form1& form = f.form;
  const fuzz::SuperficieContata& canvas = f.canvas;
  form.cartella_lavoro = fuzz::cartella_fuzz();
  form.grafico_previsione("032025");
  if (canvas.cerchi_y.size() != 24 || canvas.linee.size() != 23)
    fuzz::viola("not 24 dots and 23 segments");
  for (Colore c : canvas.linee) {
    if (c != QBColor(15)) fuzz::viola("a segment is not white");
  }
  const auto righe = fuzz::righe_attese(testo, PosixTextFiles::kMaxLine);
  const std::string riga2 = righe.size() >= 2 ? righe[1] : std::string();
  for (int k = 1; k <= 24; ++k) {
    int atteso = 0;
    try {
      atteso = CInt(valore_in_decimi(Mid(riga2, 5 * k - 3, 4)));
    } catch (const Failure&) {
    }
    if (canvas.cerchi_y[static_cast<std::size_t>(k - 1)] != static_cast<float>(atteso)) {
      fuzz::viola("a dot is not at its hour's value");
    }
  }
  return 0;
}
