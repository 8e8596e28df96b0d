// The settings file: the three directories are exactly lines 2, 4 and 6 of the input as
// the line reader splits it, and empty where the file is shorter.
#include <string_view>

#include "fuzz_support.h"
#include "platform/text_files.h"
#include "run/form1.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fof1plot;
  const std::string_view testo(reinterpret_cast<const char*>(data), size);
  fuzz::scrivi_file(fuzz::cartella_fuzz() + "gralvo.ini", testo);
  fuzz::FormFuzz f;
  Form1& form = f.form;
  form.leggi_impostazioni();
  const auto righe = fuzz::righe_attese(testo, PosixTextFiles::kMaxLine);
  const auto riga = [&](std::size_t n) { return n <= righe.size() ? righe[n - 1] : std::string(); };
  if (form.cartella_lavoro != riga(2) || form.cartella_dati != riga(4) ||
      form.cartella_uscita != riga(6)) {
    fuzz::viola("a directory is not its line of the settings file");
  }
  return 0;
}
