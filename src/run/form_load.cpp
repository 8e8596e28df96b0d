#include "run/form1.h"
#include "run/step.h"

namespace fof1plot {

void Form1::Form_Load() {
  esegui_passo([&] { riempi_minuti(); });
  leggi_impostazioni();
  calcola_giorni();
  esegui_passo([&] { impostazioni_dimensioni_e_scala_del_form(); });
  for (indice_giorno = 1; indice_giorno <= 6; ++indice_giorno) {
    esegui_passo([&] { disegno_dello_stage(); });
    esegui_passo([&] { grafico_previsione(mese_anno(indice_giorno)); });
    esegui_passo([&] { grafico_valori_autoscalati(mese_anno(indice_giorno)); });
    stampa_data();
    esegui_passo([&] { salva_figura(mese_anno(indice_giorno)); });
    esegui_passo([&] { canvas.Cls(); });
  }
}

// The date line over the 7.5-hour mark, in the top margin above the frame.
void Form1::stampa_data() {
  esegui_passo([&] { canvas.CurrentX(75); });
  esegui_passo([&] { canvas.CurrentY(180); });
  esegui_passo([&] { canvas.Print("Date: " + data_etichetta(indice_giorno)); });
}

}  // namespace fof1plot
