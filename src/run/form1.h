#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "canvas/drawing_surface.h"
#include "output/figure_data.h"
#include "output/image_export.h"
#include "platform/table.h"
#include "run/corsa.h"

namespace fof1plot {

// The plot window: the program's one object. Its load event performs the whole daily
// run, six figures of foF1 for today and the five days before, and the procedures it
// calls share the window's state and canvas. What the run needs besides the window is
// the run's own (Corsa).
class Form1 {
 public:
  // The window with its canvas and its image-export control, for one run.
  Form1(DrawingSurface& canvas, ImageExport& wpdlx1, Corsa& corsa);

  // The daily run: settings, lock, day slots, then for each slot stage, forecast,
  // measured values, date line and saved figure. Never throws Failure.
  void Form_Load();
  // Draws the archived figure of every day from primo to ultimo as the daily run draws
  // it, under the same lock and archive rule, and publishes nothing.
  void ricostruisci_archivio(std::chrono::sys_days primo, std::chrono::sys_days ultimo);

  // Window size and user coordinates; throws at the first failing step.
  void impostazioni_dimensioni_e_scala_del_form();
  // Frame, grid and labels; throws at the first failing step.
  void disegno_dello_stage();
  // The month's forecast curve; drops each failing step.
  void grafico_previsione(const std::string& file_previsioni);
  // The day's measured values and markers; drops each failing step.
  void grafico_valori_autoscalati(const std::string& file_previsioni);
  // The archived GIF and values, then the published ones; throws when the picture cannot
  // be taken, and drops each failing write.
  void salva_figura(const std::string& file_previsioni);
  // The run's health in status.json, in the output directory.
  void scrivi_stato();
  // The metrics file, when asked for, and status.json when con_stato, in the order that
  // lets each tell the other's failure.
  void scrivi_esiti(bool con_stato);
  // The web site's pages for the days from primo to ultimo; drops each failing step.
  void scrivi_sito(std::chrono::sys_days primo, std::chrono::sys_days ultimo);

  // Form-level state.
  std::int16_t indice_giorno = 0;
  std::string cartella_corrente;
  std::string cartella_lavoro;
  std::string cartella_dati;
  std::string cartella_uscita;
  Tabella<std::string, 1, 6> data_etichetta;
  Tabella<std::string, 1, 6> mese_anno;
  Tabella<std::string, 1, 6> giorno_anno;
  Tabella<std::string, 1, 60> minuti;
  Tabella<std::string, 0, 23> codici_ora;
  std::int16_t margine_superiore = 0;
  std::int16_t margine_inferiore = 0;
  std::int16_t margine_destro = 0;
  std::int16_t margine_sinistro = 0;
  std::int16_t x_precedente = 0;
  std::int16_t y_precedente = 0;

  // Steps of the procedures above.
  void riempi_minuti();
  bool prepara_corsa();
  bool leggi_impostazioni();
  void rimuovi_temporanei();
  bool calcola_giorni();
  void calcola_giorno(int k, std::chrono::year_month_day data_giorno);
  void disegna_giorno(int slot, std::chrono::sys_days data);
  void stampa_data();
  const PrevisioneLetta& leggi_previsione(const std::string& path);
  std::int16_t riconosci_stazione();
  std::string prefisso_nome_campione(std::int16_t tipo_stazione,
                                     const std::string& file_previsioni) const;
  std::string nome_file_campione(const std::string& prefisso, std::int16_t tipo_stazione, int ora,
                                 int m) const;
  LetturaCampione leggi_campo_valore(const std::string& nome_file, std::string& campo_valore);
  void archivia_figura(const std::string& file_previsioni, std::vector<DatoFigura>& dati);
  void pubblica_figura(const std::vector<DatoFigura>& dati);
  void disegna_campione(std::int16_t ora, int minuto, const std::string& campo_valore,
                        std::int16_t& x_ultimo, std::int16_t& y_ultimo);

 private:
  DrawingSurface& canvas;
  ImageExport& wpdlx1;
  Corsa& corsa;
};

}  // namespace fof1plot
