#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "canvas/drawing_surface.h"
#include "platform/clock.h"
#include "platform/diagnostics.h"
#include "platform/directory.h"
#include "platform/file_writer.h"
#include "platform/text_files.h"
#include "run/failure_lines.h"
#include "run/figure_record.h"
#include "run/station_description.h"
#include "run/step.h"
#include "samples/sample_listing.h"
#include "samples/sample_state.h"

namespace fof1plot {

// A forecast file as one run read it: whether it opened, its line 2, and the first
// failure met while reading it.
struct PrevisioneLetta {
  bool aperta = false;
  std::string riga;
  std::optional<Failure> guasto;
};

// The metrics file a run was asked for: its path, the station's label when the units
// give one (empty: the station file's), and whether the run is a back-fill.
struct MetricheRichieste {
  std::string path;
  std::string stazione;
  bool archivio = false;
};

// What one run needs besides the plot window: the files, directory and clock it reads,
// the writer of its files besides the figures,
// its lock, its diagnostics with their once-per-cause rule and whether it failed, its
// one look at the sample directory, the forecasts it read, and the record of every
// figure it drew.
class Corsa {
 public:
  Corsa(TextFiles& files, Directory& directory, Clock& clock, Diagnostics& diagnostica,
        FileWriter& scrittore);

  TextFiles& files() { return files_; }
  Directory& directory() { return directory_; }
  FileWriter& scrittore() { return scrittore_; }

  // Records a failure of the run, once per path and kind of failure; `descrizione`, when
  // given, says what failed in the run's own terms ("cannot list the sample directory").
  // The failures of one directory's files with one cause become one line (RigheGuasti),
  // told by riferisci_guasti.
  void segnala(const Failure& guasto, const char* descrizione = nullptr);
  // Prints the failure lines not printed yet; the run calls it once, at its end, when
  // every file of a cause is known.
  void riferisci_guasti();
  // Records a warning, once per text, and prints it: the run goes on and may still
  // succeed.
  void avvisa(const std::string& testo);
  // The failure lines of the run so far, with the files each stands for, and the
  // warning lines, as printed.
  std::vector<RigaGuasto> guasti() const { return guasti_.righe(); }
  std::vector<std::string> righe_guasti() const;
  const std::vector<std::string>& righe_avvisi() const { return righe_avvisi_; }
  // Runs one step under the run's error policy: its failure is recorded and dropped.
  template <typename Passo>
  bool passo(Passo&& azione, const char* descrizione = nullptr) {
    return esegui_passo(azione, [&](const Failure& guasto) { segnala(guasto, descrizione); });
  }
  // 0 when the run wrote every figure from every input it needs, 1 when it reported a
  // failure.
  int stato_di_uscita() const { return fallita_ ? 1 : 0; }

  // Today's local date, read from the clock once per run; throws Failure when the
  // clock cannot be read.
  std::chrono::sys_days oggi();
  // When the run started, and the time now.
  std::chrono::system_clock::time_point inizio() const { return inizio_; }
  std::chrono::system_clock::time_point adesso() { return clock_.Now(); }
  std::optional<std::string> fuso_orario() { return clock_.TimeZone(); }
  // Takes the lock of a directory (the work directory's, or the network's) for the rest
  // of the run; false, reported with `descrizione`, when it cannot be had.
  bool blocca(const std::string& cartella,
              const char* descrizione = "cannot lock the work directory");
  // Creates a directory the run writes in, unless this run made or found it already;
  // false, reported, when it cannot.
  bool crea_cartella(const std::string& cartella);
  // The days the run draws, from primo to ultimo; the sample directory's listing
  // records the samples of these days.
  void prepara_giorni(std::chrono::sys_days primo, std::chrono::sys_days ultimo);
  // The daily run publishes the figures as well as archiving them; the back-fill only
  // archives.
  void solo_archivio() { pubblica_ = false; }
  bool pubblica() const { return pubblica_; }
  // With the web site, the vector twin of the canvas, whose picture becomes each
  // figure's SVG; null without it.
  void imposta_disegno_vettoriale(DrawingSurface* disegno) { disegno_vettoriale_ = disegno; }
  DrawingSurface* disegno_vettoriale() { return disegno_vettoriale_; }
  bool sito() const { return disegno_vettoriale_ != nullptr; }
  // The metrics file the run writes with status.json, when one was asked for.
  void imposta_metriche(MetricheRichieste richieste) { metriche_ = std::move(richieste); }
  const std::optional<MetricheRichieste>& metriche() const { return metriche_; }

  // The first line of the station file, from the run's one listing of the sample
  // directory, made at the first call; none, and reported, when it cannot be had.
  const std::optional<std::string>& riga_stazione(const std::string& cartella_dati);
  // The station file's first line without surrounding blanks, when one was read.
  std::optional<std::string> stazione() const;
  // The station file's path, once the listing found it.
  const std::string& file_stazione() const { return file_stazione_; }
  // Whether the listing holds the sample of a station kind, day, hour and minute.
  bool campione_elencato(int tipo_stazione, std::chrono::sys_days giorno, int ora,
                         int minuto) const {
    return elenco_campioni_.contiene(tipo_stazione, giorno, ora, minuto);
  }

  // The state of the samples read, in the work directory: the daily run reads it before
  // the sample directory, and writes it after its figures.
  void imposta_stato_campioni(std::string path) { file_stato_ = std::move(path); }
  // The run lists and reads the whole sample directory, whatever the state says.
  void passaggio_completo() { completo_ = true; }
  // Whether the samples came from a listing of the whole directory (true) or from the
  // state and what arrived since (false).
  bool elencata_intera() const { return elencata_intera_; }
  // The value field read from the sample of a day's hour and minute, by this run or the
  // run whose state it took; null when the file is to be opened.
  const std::string* campo_letto(std::chrono::sys_days giorno, int ora, int minuto) const;
  void ricorda_campo(std::chrono::sys_days giorno, int ora, int minuto, std::string campo);
  // Writes the state of the samples the figures show, for the next run; does nothing
  // when the run could not tell the directory and station file it read.
  void salva_stato_campioni();

  // Reads the station's description file at path: none where there is no file; a file
  // that cannot be read or is wrong is a warning, and the run goes on without it.
  void leggi_descrizione(const std::string& path);
  const std::optional<DescrizioneStazione>& descrizione() const { return descrizione_; }

  // The forecast file at path, read at the first call of the run and kept.
  PrevisioneLetta& previsione(const std::string& path) { return previsioni_[path]; }

  // Starts the record of a figure; later calls of figura() return it.
  RegistroFigura& nuova_figura(int slot, std::chrono::sys_days data);
  RegistroFigura& figura() { return figure_.back(); }
  const std::vector<RegistroFigura>& figure() const { return figure_; }

 private:
  // Lists the sample directory once: records which samples of the days exist and reads
  // the station file's first line.
  void elenca_cartella_dati(const std::string& cartella_dati);
  // Takes the samples and the station file's first line from the state of an earlier
  // run of the same day, sample directory and station file, when there is one; adds the
  // names of the minutes since its latest sample when the directory changed. False
  // when the run must list the directory.
  bool riprendi_stato(const std::string& cartella_dati);
  std::optional<StatoCampioni> leggi_stato_campioni();
  // The index of a day's hour and minute among the run's days.
  std::size_t minuto_della_corsa(std::chrono::sys_days giorno, int ora, int minuto) const;

  TextFiles& files_;
  Directory& directory_;
  Clock& clock_;
  Diagnostics& diagnostica_;
  FileWriter& scrittore_;
  RigheGuasti guasti_;
  std::size_t guasti_riferiti_ = 0;
  std::set<std::string> avvisati_;
  std::vector<std::string> righe_avvisi_;
  bool fallita_ = false;
  std::chrono::system_clock::time_point inizio_;
  std::optional<std::chrono::sys_days> oggi_;
  std::unique_ptr<DirectoryLock> blocco_;
  bool pubblica_ = true;
  DrawingSurface* disegno_vettoriale_ = nullptr;
  std::optional<MetricheRichieste> metriche_;
  std::chrono::sys_days primo_{}, ultimo_{};
  bool cartella_dati_elencata_ = false;
  ElencoCampioni elenco_campioni_;
  std::string file_stazione_;
  std::optional<std::string> riga_stazione_;
  std::string file_stato_;
  bool completo_ = false;
  bool elencata_intera_ = false;
  std::string cartella_dati_;
  std::optional<FileIdentity> identita_cartella_, identita_stazione_;
  std::map<std::size_t, std::string> campi_letti_;
  std::map<std::string, PrevisioneLetta> previsioni_;
  std::set<std::string> cartelle_create_;
  std::optional<DescrizioneStazione> descrizione_;
  std::vector<RegistroFigura> figure_;
};

}  // namespace fof1plot
