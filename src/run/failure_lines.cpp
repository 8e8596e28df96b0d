#include "run/failure_lines.h"

#include "platform/whole_file.h"

namespace fof1plot {

bool RigheGuasti::aggiungi(const std::string& path, const std::string& cosa,
                           const std::string& motivo) {
  if (!visti_.emplace(path, cosa).second) return false;
  const std::string cartella = DirectoryPart(path);
  const std::string nome = path.substr(cartella.size());
  const auto chiave = std::make_tuple(cartella, cosa, motivo, nome.empty());
  const auto [voce, nuova] = indice_.emplace(chiave, gruppi_.size());
  if (nuova) gruppi_.push_back({cartella, cosa, motivo, nome, nome, 0});
  Gruppo& gruppo = gruppi_[voce->second];
  gruppo.ultimo = nome;
  ++gruppo.file;
  return true;
}

std::vector<RigaGuasto> RigheGuasti::righe() const {
  std::vector<RigaGuasto> righe;
  for (const Gruppo& g : gruppi_) {
    if (g.file == 1) {
      righe.push_back({Failure(g.cartella + g.primo, g.cosa, g.motivo), 1});
      continue;
    }
    const std::string nomi = " (" + g.primo + (g.file == 2 ? ", " : " ... ") + g.ultimo + ")";
    righe.push_back({Failure(g.cartella.empty() ? "./" : g.cartella,
                             al_plurale(g.cosa, g.file) + nomi, g.motivo),
                     g.file});
  }
  return righe;
}

std::string al_plurale(const std::string& cosa, int file) {
  const std::string numero = std::to_string(file);
  const std::size_t articolo = cosa.find(" the ");
  const std::string kFile = " file";
  if (articolo != std::string::npos && cosa.size() >= kFile.size() &&
      cosa.compare(cosa.size() - kFile.size(), kFile.size(), kFile) == 0) {
    return cosa.substr(0, articolo) + " " + numero + " " + cosa.substr(articolo + 5) + "s";
  }
  return cosa + " " + numero + " files";
}

}  // namespace fof1plot
