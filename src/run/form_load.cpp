#include "platform/whole_file.h"
#include "run/form1.h"

namespace fof1plot {

void Form1::Form_Load() {
  if (!prepara_corsa()) return scrivi_esiti(false);
  if (calcola_giorni()) {
    corsa.passo([&] { impostazioni_dimensioni_e_scala_del_form(); });
    const std::chrono::sys_days oggi = corsa.oggi();
    corsa.prepara_giorni(oggi - std::chrono::days{5}, oggi);
    corsa.imposta_stato_campioni(cartella_lavoro + kFileStatoCampioni);
    for (indice_giorno = 1; indice_giorno <= 6; ++indice_giorno) {
      disegna_giorno(indice_giorno, oggi - std::chrono::days{6 - indice_giorno});
    }
    corsa.salva_stato_campioni();
    if (corsa.sito()) scrivi_sito(oggi - std::chrono::days{5}, oggi);
  }
  scrivi_esiti(true);
}

// What every run does before its day slots: minute codes, settings, lock, and the
// temporaries a killed run left. False when the settings could not be read or the lock
// could not be taken: the run gives up, having written nothing.
bool Form1::prepara_corsa() {
  corsa.passo([&] { riempi_minuti(); });
  if (!leggi_impostazioni() || !corsa.blocca(cartella_lavoro)) return false;
  rimuovi_temporanei();
  corsa.leggi_descrizione(cartella_corrente + kFileDescrizione);
  return true;
}

// The figure of slot indice_giorno, from a cleared canvas to its saved GIF files; its
// record holds what it shows.
void Form1::disegna_giorno(int slot, std::chrono::sys_days data) {
  corsa.nuova_figura(slot, data);
  corsa.passo([&] { disegno_dello_stage(); });
  corsa.passo([&] { grafico_previsione(mese_anno(indice_giorno)); });
  corsa.passo([&] { grafico_valori_autoscalati(mese_anno(indice_giorno)); });
  stampa_data();
  corsa.passo([&] { salva_figura(mese_anno(indice_giorno)); });
  corsa.passo([&] { canvas.Cls(); });
}

// The date line over the 7.5-hour mark, in the top margin above the frame.
void Form1::stampa_data() {
  corsa.passo([&] { canvas.CurrentX(75); });
  corsa.passo([&] { canvas.CurrentY(180); });
  corsa.passo([&] { canvas.Print("Date: " + data_etichetta(indice_giorno)); });
}

}  // namespace fof1plot
