#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fof1plot {

// A directory line of gralvo.ini: its number, what it names, its value as written, and
// a file name the program appends to it.
struct RigaCartella {
  int riga;
  std::string_view nome;
  std::string valore;
  std::string_view esempio;
};

// The warnings a directory line deserves: blanks at its end, no final "/" (with the
// names the program then makes). Each reads "<line>: <what is wrong>; <what to do>".
std::vector<std::string> avvisi_riga_cartella(const RigaCartella& c);

// The three directory lines of gralvo.ini's six.
std::vector<RigaCartella> righe_cartelle(const std::string& lavoro, const std::string& dati,
                                         const std::string& uscita);

}  // namespace fof1plot
