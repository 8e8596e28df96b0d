#include "support/station_tree.h"

#include <cstdio>
#include <filesystem>

namespace fof1plot::test {
namespace {

std::string riga_previsione(double ora0, double ora12) {
  std::string riga;
  for (int ora = 0; ora < 24; ++ora) {
    char campo[8];
    std::snprintf(campo, sizeof campo, "%5.1f", ora == 0 ? ora0 : ora == 12 ? ora12 : 5.0);
    riga += campo;
  }
  return riga;
}

bool titolo_in_fondo(const FiguraGif& figura) {
  int testo = 0;
  for (int riga = 205; riga < 221; ++riga) {
    for (int colonna = 130; colonna < 190; ++colonna)
      testo += figura.pixel(colonna, riga) == RGB(255, 255, 128);
  }
  return testo > 20;
}

}  // namespace

Albero::Albero() {
  for (const char* d : {"work/previous_foF1_plots", "data", "out"}) crea_cartella(cartella / d);
  scrivi(cartella / "gralvo.ini", impostazioni_per(cartella.path()));
  scrivi(cartella / "work/122024.txt",
         "forecast December\r\n" + riga_previsione(3.0, 5.0) + "\r\n");
  scrivi(cartella / "work/012025.txt",
         "forecast January\r\n" + riga_previsione(7.0, 20.0) + "\r\n");
  scrivi(cartella / "data/00-station.txt", "Rome ionosonde\r\n");
  campione(10, 15, " 4.0");
  campione(10, 30, " 6.0");
  campione(11, 0, " N/A");
  campione(11, 15, "NO  ");
}

std::string Albero::nome_campione(int ora, int minuto) const {
  char nome[64];
  std::snprintf(nome, sizeof nome, "data/RM041_2025003%02d%02d00.TXT", ora, minuto);
  return cartella / nome;
}

void Albero::campione(int ora, int minuto, const std::string& campo) {
  scrivi(nome_campione(ora, minuto),
         "Rome\r\nl2\r\nl3\r\nl4\r\nl5\r\nl6\r\nfoF1 value     " + campo + " MHz\r\nl8\r\nl9\r\n");
}

int Albero::esegui() const { return avvia().stato; }

Esito Albero::avvia(const std::vector<std::string>& argomenti, bool come_nobody) const {
  return avvia_fof1plot(cartella.path(), "2025-01-03 10:00:00", argomenti, come_nobody);
}

int Albero::rossi_archiviati() const {
  return FiguraGif(cartella / "work/previous_foF1_plots/2025003.gif").conta(RGB(255, 0, 0));
}

::testing::AssertionResult Albero::figure_intere() const {
  const char* kArchivio[] = {"2024364", "2024365", "2024366", "2025001", "2025002", "2025003"};
  for (int k = 1; k <= 6; ++k) {
    for (const std::string& gif :
         {cartella / ("out/plotfoF1" + std::to_string(k) + ".gif"),
          cartella / ("work/previous_foF1_plots/" + std::string(kArchivio[k - 1]) + ".gif")}) {
      const FiguraGif figura(gif);
      // A cut GIF still decodes, with black where its end is missing; the time-axis
      // title in the bottom rows is the last paint of a whole figure.
      if (!figura.valida() || figura.larghezza() != 286 || figura.altezza() != 221 ||
          figura.in_utente(241, 0) != RGB(255, 255, 0) || !titolo_in_fondo(figura)) {
        return ::testing::AssertionFailure() << gif << " is not a whole figure";
      }
    }
  }
  return ::testing::AssertionSuccess();
}

void aperto_a_tutti(const CartellaTemporanea& cartella) {
  namespace fs = std::filesystem;
  fs::permissions(cartella.path(), fs::perms::all);
  for (const auto& voce : fs::recursive_directory_iterator(cartella.path())) {
    fs::permissions(voce.path(), fs::perms::all);
  }
}

}  // namespace fof1plot::test
