#include <array>
#include <memory>
#include <string_view>

#include "platform/text.h"
#include "run/form1.h"

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

// The first characters of a station file's line as the operator should see them.
std::string leggibile(const std::string& testo) {
  std::string visibile = testo;
  for (char& c : visibile) {
    if (c < ' ' || c > '~') c = '?';
  }
  return visibile;
}

}  // namespace

// The station that writes the sample directory, from the first line of the directory's
// first ordinary file: sets codici_ora and returns the station kind, 0 when the line
// names no known station. The directory is looked at once per run, at the first call.
std::int16_t Form1::riconosci_stazione() {
  if (!cartella_dati_elencata) {
    cartella_dati_elencata = true;
    elenca_cartella_dati();
  }
  if (tipo_stazione_corsa != 0) {
    for (int ora = 0; ora <= 23; ++ora) codici_ora(ora) = codice_ora(tipo_stazione_corsa, ora);
  }
  return tipo_stazione_corsa;
}

// The next call of riconosci_stazione looks at the sample directory again, for new days.
void Form1::dimentica_cartella_dati() {
  cartella_dati_elencata = false;
  tipo_stazione_corsa = 0;
}

// One listing of the sample directory finds the station file and records which samples
// of the six days exist; the station file's first line names the station.
void Form1::elenca_cartella_dati() {
  elenco_campioni.prepara(mese_anno, giorno_anno);
  std::string nome_file;
  const auto registra = [&](std::string_view nome) { elenco_campioni.registra(nome); };
  if (!passo([&] { nome_file = directory.Dir(cartella_dati, registra); },
             "cannot list the sample directory")) {
    return;
  }
  if (nome_file.empty()) {
    segnala(
        Failure(cartella_dati, "no station file", "the sample directory holds no ordinary file"));
    return;
  }
  const std::string path = cartella_dati + nome_file;
  std::unique_ptr<TextFile> file;
  std::string riga;
  if (!passo([&] { file = files.Open(path); }, "cannot open the station file") ||
      !passo([&] { riga = LineInput(file); }, "cannot read the station file")) {
    return;
  }
  const std::string nome = Mid(riga, 1, 4);
  for (const Stazione& stazione : kStazioni) {
    if (nome == stazione.nome) {
      tipo_stazione_corsa = stazione.tipo;
      return;
    }
  }
  segnala(Failure(path, "the station file names no known station",
                  "its first line begins \"" + leggibile(nome) + "\""));
}

}  // namespace fof1plot
