#include <algorithm>

#include "run/form1.h"

namespace fof1plot {

// After an outage: the days go through the slots six at a time, each block with its own
// look at the sample directory, and each day is drawn exactly as the daily run draws
// it. No BMP is left behind, even where a figure could not be archived.
void Form1::ricostruisci_archivio(std::chrono::sys_days primo, std::chrono::sys_days ultimo) {
  using std::chrono::days;
  pubblica = false;
  if (!prepara_corsa()) return;
  passo([&] { impostazioni_dimensioni_e_scala_del_form(); });
  for (std::chrono::sys_days inizio = primo; inizio <= ultimo; inizio += days{6}) {
    const int giorni = static_cast<int>(std::min<days::rep>(6, (ultimo - inizio).count() + 1));
    for (int k = 1; k <= 6; ++k) {
      calcola_giorno(k, k <= giorni ? inizio + days{k - 1} : inizio);
    }
    dimentica_cartella_dati();
    for (indice_giorno = 1; indice_giorno <= giorni; ++indice_giorno) {
      disegna_giorno();
      esegui_passo([&] {
        directory.Kill(cartella_lavoro + "grafico" + std::to_string(indice_giorno) + ".bmp");
      });
    }
  }
}

}  // namespace fof1plot
