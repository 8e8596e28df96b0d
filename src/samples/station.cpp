#include <array>
#include <memory>
#include <string_view>

#include "platform/text.h"
#include "run/form1.h"
#include "run/step.h"

namespace fof1plot {
namespace {

struct Stazione {
  std::string_view nome;
  std::int16_t tipo;
};

// The first four characters of a station's file name it; two stations share kind 1.
constexpr std::array<Stazione, 7> kStazioni = {{
    {"Gibi", 1},
    {"Mosc", 1},
    {"Tucu", 2},
    {"Bahi", 3},
    {"Rome", 4},
    {"La_S", 5},
    {"Mali", 6},
}};

std::string codice_ora(std::int16_t tipo_stazione, int ora) {
  if (tipo_stazione == 1) return std::string(1, static_cast<char>('A' + ora));
  return {static_cast<char>('0' + ora / 10), static_cast<char>('0' + ora % 10)};
}

}  // namespace

// The station that writes the sample directory, from the first line of the directory's
// first ordinary file: sets codici_ora and returns the station kind, 0 when the line
// names no known station.
std::int16_t Form1::riconosci_stazione() {
  std::int16_t tipo_stazione = 0;
  std::string nome_file;
  std::string riga;
  esegui_passo([&] { nome_file = directory.Dir(cartella_dati); });
  std::unique_ptr<TextFile> file;
  esegui_passo([&] { file = files.Open(cartella_dati + nome_file); });
  esegui_passo([&] { riga = LineInput(file); });
  const std::string nome = Mid(riga, 1, 4);
  for (const Stazione& stazione : kStazioni) {
    if (nome != stazione.nome) continue;
    for (int ora = 0; ora <= 23; ++ora) codici_ora(ora) = codice_ora(stazione.tipo, ora);
    tipo_stazione = stazione.tipo;
    break;
  }
  return tipo_stazione;
}

}  // namespace fof1plot
