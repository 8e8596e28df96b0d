#include "fuzz_support.h"

#include <unistd.h>

#include <fstream>

namespace fof1plot::fuzz {

std::vector<std::string> righe_attese(std::string_view testo, std::size_t max) {
  std::vector<std::string> righe;
  std::size_t inizio = 0;
  while (inizio < testo.size()) {
    std::size_t fine = testo.find_first_of("\r\n", inizio);
    if (fine == std::string_view::npos) fine = testo.size();
    righe.emplace_back(testo.substr(inizio, std::min(fine - inizio, max)));
    std::size_t dopo = fine + 1;
    if (fine < testo.size() && testo[fine] == '\r' && dopo < testo.size() && testo[dopo] == '\n')
      ++dopo;
    inizio = dopo;
  }
  return righe;
}

const std::string& cartella_fuzz() {
  static const std::string cartella = [] {
    std::string modello = "/tmp/fof1plot-fuzz-XXXXXX";
    if (::mkdtemp(modello.data()) == nullptr || ::chdir(modello.c_str()) != 0) {
      viola("cannot create the fuzz directory");
    }
    return modello + "/";
  }();
  return cartella;
}

void scrivi_file(const std::string& path, std::string_view contenuto) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(contenuto.data(), static_cast<std::streamsize>(contenuto.size()));
  if (!file) viola("cannot write a fuzz input file");
}

}  // namespace fof1plot::fuzz
