#include "run/form1.h"

namespace fof1plot {

// After an outage: every day from primo to ultimo is drawn in slot 1, one after the
// other, exactly as the daily run draws it, from one listing of the sample directory.
void Form1::ricostruisci_archivio(std::chrono::sys_days primo, std::chrono::sys_days ultimo) {
  corsa.solo_archivio();
  corsa.prepara_giorni(primo, ultimo);
  if (!prepara_corsa()) return scrivi_esiti(false);
  corsa.passo([&] { impostazioni_dimensioni_e_scala_del_form(); });
  indice_giorno = 1;
  for (std::chrono::sys_days giorno = primo; giorno <= ultimo; giorno += std::chrono::days{1}) {
    calcola_giorno(1, giorno);
    disegna_giorno(0, giorno);
  }
  if (corsa.sito()) scrivi_sito(primo, ultimo);
  scrivi_esiti(false);
}

}  // namespace fof1plot
