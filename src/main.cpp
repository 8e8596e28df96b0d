#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

#include "canvas/gd_surface.h"
#include "canvas/plot_window.h"
#include "canvas/svg_surface.h"
#include "canvas/tee_surface.h"
#include "network/network_run.h"
#include "output/gd_image_export.h"
#include "platform/clock.h"
#include "platform/diagnostics.h"
#include "platform/directory.h"
#include "platform/escapes.h"
#include "platform/text_files.h"
#include "run/command_line.h"
#include "run/form1.h"
#include "run/settings_check.h"

namespace {

// The CPU-time limit ends the run with a word; temporaries are left for the next run to
// remove, as after a kill.
void al_limite_cpu(int) {
  static constexpr char kRiga[] = "fof1plot: CPU time limit reached; the run stops\n";
  [[maybe_unused]] const ssize_t scritti = ::write(STDERR_FILENO, kRiga, sizeof kRiga - 1);
  ::_exit(1);
}

// The network overview, on the real platform objects: a run object and a window of its
// own, whose canvas is a vector surface for the network's chart.
int esegui_rete(const fof1plot::RigaDiComando& riga) {
  using namespace fof1plot;
  SvgSurface vettoriale(kTwipsPerPixel, kColoreSfondo, kColoreTesto);
  GdImageExport wpdlx1;
  PosixTextFiles files;
  PosixDirectory directory;
  LocalClock clock;
  StderrDiagnostics diagnostica;
  PosixFileWriter scrittore;
  Corsa corsa(files, directory, clock, diagnostica, scrittore);
  Form1 finestra(vettoriale, wpdlx1, corsa);
  scrivi_rete(corsa, finestra, vettoriale, riga.rete, riga.metriche);
  corsa.riferisci_guasti();
  return corsa.stato_di_uscita();
}

// The run proper, on the real platform objects; every failure of a step is reported
// and drops the step, so only a failure to build those objects throws.
int esegui(const fof1plot::RigaDiComando& riga) {
  using namespace fof1plot;
  GdSurface pixel(kTwipsPerPixel, kColoreSfondo, kColoreTesto);
  // With the site, the same procedures also draw each figure as vectors.
  SvgSurface vettoriale(kTwipsPerPixel, kColoreSfondo, kColoreTesto);
  TeeSurface entrambe(pixel, vettoriale);
  DrawingSurface& canvas = riga.sito ? static_cast<DrawingSurface&>(entrambe) : pixel;
  GdImageExport wpdlx1;
  const auto cartelle = std::make_shared<OpenDirectories>();
  PosixTextFiles files(cartelle);
  PosixDirectory directory(std::chrono::minutes(10), cartelle);
  LocalClock clock;
  StderrDiagnostics diagnostica;
  PosixFileWriter scrittore;
  Corsa corsa(files, directory, clock, diagnostica, scrittore);
  if (riga.sito) corsa.imposta_disegno_vettoriale(&vettoriale);
  if (riga.completo) corsa.passaggio_completo();
  const bool archivio = riga.azione == RigaDiComando::Azione::kArchivio;
  if (!riga.metriche.empty()) {
    // The template units name each instance's station, so that the series of several
    // stations on one host stay apart.
    const char* stazione = std::getenv("FOF1PLOT_STATION");
    corsa.imposta_metriche({riga.metriche, stazione != nullptr ? stazione : "", archivio});
  }
  Form1 form(canvas, wpdlx1, corsa);
  if (archivio && riga.ultimo > std::chrono::sys_days{clock.Date()}) {
    std::fprintf(stderr,
                 "fof1plot: --archive: the last day comes after today; see 'fof1plot --help'\n");
    return 2;
  }
  if (archivio) {
    form.ricostruisci_archivio(riga.primo, riga.ultimo);
  } else {
    form.Form_Load();
  }
  corsa.riferisci_guasti();
  return corsa.stato_di_uscita();
}

}  // namespace

// Draws and publishes the six daily figures of foF1, or archives given days again, as
// set up by gralvo.ini in the current directory. Prints a line on stderr for each
// failure, and nothing otherwise.
int main(int argc, char* argv[]) {
  using namespace fof1plot;
  const RigaDiComando riga = leggi_riga_di_comando(argc, argv);
  switch (riga.azione) {
    case RigaDiComando::Azione::kAiuto:
      std::fputs(kUso, stdout);
      return 0;
    case RigaDiComando::Azione::kVersione:
      std::puts("fof1plot " FOF1PLOT_VERSION);
      return 0;
    case RigaDiComando::Azione::kErrore:
      std::fprintf(stderr, "fof1plot: %s; see 'fof1plot --help'\n", LogLine(riga.errore).c_str());
      return 2;
    default:
      break;
  }
  if (riga.azione == RigaDiComando::Azione::kVerifica) {
    PosixTextFiles files;
    PosixDirectory directory;
    LocalClock clock;
    // systemd gives each run of a unit its invocation's ID.
    return verifica_impostazioni(files, directory, clock, std::getenv("INVOCATION_ID") != nullptr,
                                 riga.metriche, stdout);
  }
  // A write beyond the file-size limit then fails with EFBIG like any other write.
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGXCPU, al_limite_cpu);
  try {
    if (riga.azione == RigaDiComando::Azione::kRete) return esegui_rete(riga);
    return esegui(riga);
  } catch (const std::exception& guasto) {
    std::fprintf(stderr, "fof1plot: cannot run: %s\n", LogLine(guasto.what()).c_str());
    return 1;
  }
}
