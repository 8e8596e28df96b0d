#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/failure.h"

namespace fof1plot {

// One line of the run's failures and how many files it stands for.
struct RigaGuasto {
  Failure riga;
  int file = 1;
};

// The run's failures as the lines that tell them: the failures of the files of one
// directory that share what failed and why are one line, "/srv/iono/: cannot read 576
// sample files (RM041_2026339001500.TXT ... RM041_2026344234500.TXT): Permission denied",
// so that one cause, such as a directory the run may not read, never floods the log.
class RigheGuasti {
 public:
  // Adds a failure of the file or directory at `path`, `cosa` saying what failed; false
  // when that path already had a failure of that kind, which changes nothing.
  bool aggiungi(const std::string& path, const std::string& cosa, const std::string& motivo);
  // The lines, in the order their first failure came.
  std::vector<RigaGuasto> righe() const;

 private:
  struct Gruppo {
    std::string cartella, cosa, motivo;
    // The first and last file names, none for a failure of a directory or of no file.
    std::string primo, ultimo;
    int file = 0;
  };
  std::set<std::pair<std::string, std::string>> visti_;
  std::vector<Gruppo> gruppi_;
  std::map<std::tuple<std::string, std::string, std::string, bool>, std::size_t> indice_;
};

// "cannot read the sample file" for 576 files: "cannot read 576 sample files"; a text
// without "the ... file": "cannot write" for 12, "cannot write 12 files".
std::string al_plurale(const std::string& cosa, int file);

}  // namespace fof1plot
