// Reading the state of the samples read: any bytes are read without a crash, and a state
// that reads reads back the same from its own text.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "samples/sample_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string testo(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> righe;
  for (std::size_t inizio = 0; inizio <= testo.size();) {
    const std::size_t fine = std::min(testo.find('\n', inizio), testo.size());
    righe.push_back(testo.substr(inizio, fine - inizio));
    inizio = fine + 1;
  }
  const auto stato = fof1plot::leggi_stato(righe);
  if (!stato) return 0;
  const std::string scritto = fof1plot::testo_stato(*stato);
  std::vector<std::string> di_nuovo;
  for (std::size_t inizio = 0; inizio < scritto.size();) {
    const std::size_t fine = scritto.find('\n', inizio);
    di_nuovo.push_back(scritto.substr(inizio, fine - inizio));
    inizio = fine + 1;
  }
  if (fof1plot::leggi_stato(di_nuovo) != stato) {
    fof1plot::fuzz::viola("a state did not read back the same from its own text");
  }
  return 0;
}
