#include "platform/whole_file.h"
#include "run/form1.h"

namespace fof1plot {

void Form1::Form_Load() {
  if (!prepara_corsa()) return;
  calcola_giorni();
  passo([&] { impostazioni_dimensioni_e_scala_del_form(); });
  for (indice_giorno = 1; indice_giorno <= 6; ++indice_giorno) disegna_giorno();
}

// What every run does before its day slots: minute codes, settings, lock, and the
// temporaries a killed run left. False when the settings could not be read or the lock
// could not be taken: the run gives up, having written nothing.
bool Form1::prepara_corsa() {
  passo([&] { riempi_minuti(); });
  if (!leggi_impostazioni() || !blocca_cartella_lavoro()) return false;
  rimuovi_temporanei();
  return true;
}

// One run at a time per work directory: a second run waits for the first, then does its
// own complete run. The lock is held until the process ends.
bool Form1::blocca_cartella_lavoro() {
  return passo([&] { blocco = directory.Lock(DirectoryPart(cartella_lavoro)); },
               "cannot lock the work directory");
}

// The figure of slot indice_giorno, from a cleared canvas to its saved GIF files.
void Form1::disegna_giorno() {
  passo([&] { disegno_dello_stage(); });
  passo([&] { grafico_previsione(mese_anno(indice_giorno)); });
  passo([&] { grafico_valori_autoscalati(mese_anno(indice_giorno)); });
  stampa_data();
  passo([&] { salva_figura(mese_anno(indice_giorno)); });
  passo([&] { canvas.Cls(); });
}

// The date line over the 7.5-hour mark, in the top margin above the frame.
void Form1::stampa_data() {
  passo([&] { canvas.CurrentX(75); });
  passo([&] { canvas.CurrentY(180); });
  passo([&] { canvas.Print("Date: " + data_etichetta(indice_giorno)); });
}

}  // namespace fof1plot
