#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "canvas/drawing_surface.h"
#include "output/image_export.h"
#include "platform/clock.h"
#include "platform/diagnostics.h"
#include "platform/directory.h"
#include "platform/table.h"
#include "platform/text_files.h"
#include "run/step.h"
#include "samples/sample_listing.h"

namespace fof1plot {

// The plot window: the program's one object. Its load event performs the whole daily
// run, six figures of foF1 for today and the five days before, and the procedures it
// calls share the window's state and canvas.
class Form1 {
 public:
  Form1(DrawingSurface& canvas, ImageExport& wpdlx1, TextFiles& files, Directory& directory,
        Clock& clock, Diagnostics& diagnostica);

  // The daily run: settings, lock, day slots, then for each slot stage, forecast,
  // measured values, date line and saved figure. Never throws.
  void Form_Load();
  // Draws the archived figure of every day from primo to ultimo as the daily run draws
  // it, under the same lock and archive rule, and publishes nothing. Never throws.
  void ricostruisci_archivio(std::chrono::sys_days primo, std::chrono::sys_days ultimo);
  // 0 when the run wrote every figure from every input it needs, 1 when it reported a
  // failure.
  int stato_di_uscita() const;

  // Window size and user coordinates; throws at the first failing step.
  void impostazioni_dimensioni_e_scala_del_form();
  // Frame, grid and labels; throws at the first failing step.
  void disegno_dello_stage();
  // The month's forecast curve; drops each failing step.
  void grafico_previsione(const std::string& file_previsioni);
  // The day's measured values and markers; drops each failing step.
  void grafico_valori_autoscalati(const std::string& file_previsioni);
  // BMP, published GIF, archived GIF; throws at the first failing step.
  void salva_figura(const std::string& file_previsioni);

  // Form-level state.
  std::int16_t indice_giorno = 0;
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
  std::string cartella_corrente;
  // The sample files of the slot being drawn that were read, and those listed that
  // could not be: a figure replaces an archived one only when it lost none and read one.
  int campioni_letti = 0;
  int campioni_illeggibili = 0;
  // Whether salva_figura publishes the figure as well as archiving it.
  bool pubblica = true;

  // Steps of the procedures above.
  void riempi_minuti();
  bool prepara_corsa();
  bool leggi_impostazioni();
  bool blocca_cartella_lavoro();
  void rimuovi_temporanei();
  void calcola_giorni();
  void calcola_giorno(int k, std::chrono::year_month_day data_giorno);
  void disegna_giorno();
  void stampa_data();
  std::int16_t riconosci_stazione();
  void elenca_cartella_dati();
  void dimentica_cartella_dati();
  std::string prefisso_nome_campione(std::int16_t tipo_stazione,
                                     const std::string& file_previsioni) const;
  std::string nome_file_campione(const std::string& prefisso, std::int16_t tipo_stazione, int ora,
                                 int m) const;
  bool leggi_campo_valore(const std::string& nome_file, std::string& campo_valore);
  void disegna_campione(std::int16_t ora, int minuto, const std::string& campo_valore,
                        std::int16_t& x_ultimo, std::int16_t& y_ultimo);

  // Records a failure of the run, once per path and kind of failure; `descrizione`, when
  // given, says what failed in the run's own terms ("cannot list the sample directory").
  void segnala(const Failure& guasto, const char* descrizione = nullptr);
  // Runs one step under the run's error policy: its failure is recorded and dropped.
  template <typename Passo>
  bool passo(Passo&& azione, const char* descrizione = nullptr) {
    return esegui_passo(azione, [&](const Failure& guasto) { segnala(guasto, descrizione); });
  }

 private:
  DrawingSurface& canvas;
  ImageExport& wpdlx1;
  TextFiles& files;
  Directory& directory;
  Clock& clock;
  Diagnostics& diagnostica;
  std::unique_ptr<DirectoryLock> blocco;
  // The sample directory is looked at once per run; what it showed is kept here.
  bool cartella_dati_elencata = false;
  std::int16_t tipo_stazione_corsa = 0;
  ElencoCampioni elenco_campioni;
  bool corsa_fallita = false;
  std::set<std::pair<std::string, std::string>> segnalati;
};

}  // namespace fof1plot
