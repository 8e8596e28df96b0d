#include "run/directory_lines.h"

namespace fof1plot {

std::vector<std::string> avvisi_riga_cartella(const RigaCartella& c) {
  const std::string quale =
      std::string(c.nome) + " (line " + std::to_string(c.riga) + ") \"" + c.valore + "\"";
  const std::string n = std::to_string(c.riga);
  std::vector<std::string> avvisi;
  const std::size_t fine = c.valore.find_last_not_of(" \t");
  if (!c.valore.empty() && fine != c.valore.size() - 1) {
    avvisi.push_back(quale + " ends in blanks, which are part of the path; remove them from line " +
                     n);
  }
  if (!c.valore.empty() && c.valore.back() != '/') {
    avvisi.push_back(quale + " does not end in \"/\", so names such as " + c.valore +
                     std::string(c.esempio) + " follow from it; end line " + n + " with \"/\"");
  }
  return avvisi;
}

std::vector<RigaCartella> righe_cartelle(const std::string& lavoro, const std::string& dati,
                                         const std::string& uscita) {
  return {{2, "work directory", lavoro, "previous_foF1_plots/"},
          {4, "sample directory", dati, "RM041_2025064101500.TXT"},
          {6, "output directory", uscita, "plotfoF11.gif"}};
}

}  // namespace fof1plot
