#include "samples/station.h"

#include <array>
#include <memory>
#include <string_view>

#include "platform/text.h"
#include "run/corsa.h"
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

std::int16_t tipo_stazione_di(std::string_view riga) {
  const std::string nome = Mid(riga, 1, 4);
  for (const Stazione& stazione : kStazioni) {
    if (nome == stazione.nome) return stazione.tipo;
  }
  return 0;
}

// The station that writes the sample directory, from the first line of the directory's
// first ordinary file: sets codici_ora and returns the station kind, 0 when the line
// names no known station. The directory is looked at once per run, at the first call.
std::int16_t Form1::riconosci_stazione() {
  const std::optional<std::string>& riga = corsa.riga_stazione(cartella_dati);
  if (!riga) return 0;
  corsa.figura().stazione = Trim(*riga);
  const std::int16_t tipo = tipo_stazione_di(*riga);
  if (tipo == 0) {
    corsa.segnala(Failure(corsa.file_stazione(), "the station file names no known station",
                          "its first line begins \"" + leggibile(Mid(*riga, 1, 4)) + "\""));
    return 0;
  }
  for (int ora = 0; ora <= 23; ++ora) codici_ora(ora) = codice_ora(tipo, ora);
  return tipo;
}

const std::optional<std::string>& Corsa::riga_stazione(const std::string& cartella_dati) {
  if (!cartella_dati_elencata_) {
    cartella_dati_elencata_ = true;
    elenca_cartella_dati(cartella_dati);
  }
  return riga_stazione_;
}

// One listing of the sample directory finds the station file and records which samples
// of the run's days exist; the station file's first line names the station.
void Corsa::elenca_cartella_dati(const std::string& cartella_dati) {
  cartella_dati_ = cartella_dati;
  if (riprendi_stato(cartella_dati)) return;
  elencata_intera_ = true;
  elenco_campioni_.prepara(primo_, ultimo_);
  campi_letti_.clear();
  // Looked at before the listing, so that a sample that arrives during it counts as new
  // for the next run, which the state is for.
  const bool con_stato = !file_stato_.empty();
  identita_cartella_ = con_stato ? directory_.Identity(cartella_dati) : std::nullopt;
  identita_stazione_.reset();
  std::string nome_file;
  const auto registra = [&](std::string_view nome) { elenco_campioni_.registra(nome); };
  if (!passo([&] { nome_file = directory_.Dir(cartella_dati, registra); },
             "cannot list the sample directory")) {
    return;
  }
  if (nome_file.empty()) {
    segnala(
        Failure(cartella_dati, "no station file", "the sample directory holds no ordinary file"));
    return;
  }
  file_stazione_ = cartella_dati + nome_file;
  if (con_stato) identita_stazione_ = directory_.Identity(file_stazione_);
  std::unique_ptr<TextFile> file;
  passo([&] { file = files_.Open(file_stazione_); }, "cannot open the station file") &&
      passo([&] { riga_stazione_ = LineInput(file); }, "cannot read the station file");
}

}  // namespace fof1plot
