// The line reader: every line read is the input's line by the program's rule, never
// holds CR or LF, and a read past the last line fails.
#include <string_view>

#include "fuzz_support.h"
#include "platform/failure.h"
#include "platform/text_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fof1plot;
  const std::string_view testo(reinterpret_cast<const char*>(data), size);
  const std::string path = fuzz::cartella_fuzz() + "lines.txt";
  fuzz::scrivi_file(path, testo);
  const auto attese = fuzz::righe_attese(testo, PosixTextFiles::kMaxLine);
  PosixTextFiles files;
  const auto file = files.Open(path);
  for (const std::string& attesa : attese) {
    const std::string riga = file->LineInput();
    if (riga.find_first_of("\r\n") != std::string::npos) fuzz::viola("a line holds CR or LF");
    if (riga != attesa) fuzz::viola("a line differs from the input's line");
  }
  try {
    file->LineInput();
  } catch (const Failure&) {
    return 0;
  }
  fuzz::viola("a read past the last line succeeded");
}
