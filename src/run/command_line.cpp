#include "run/command_line.h"

#include <getopt.h>

#include <array>
#include <vector>

namespace fof1plot {

const char* const kUso =
    "Usage: fof1plot                         draw and publish the figures of today and\n"
    "                                        the five days before, and archive them\n"
    "       fof1plot --archive FIRST [LAST]  draw the archived figures of the days FIRST\n"
    "                                        to LAST (yyyy-mm-dd) again; publish nothing\n"
    "       fof1plot --check                 check gralvo.ini and what a run with the\n"
    "                                        same options needs; write nothing\n"
    "       fof1plot --network DIR           write the overview of the stations whose\n"
    "                                        published files DIR's subdirectories hold\n"
    "       fof1plot --help | --version\n"
    "  --full           list and read the whole sample directory, not only what\n"
    "                   arrived since the last run of the day\n"
    "  --metrics FILE   also write the run's metrics to FILE, for Prometheus\n"
    "  --site           also write the web site into the output directory\n"
    "\n"
    "Reads gralvo.ini in the current directory: line 2 the work directory (forecasts\n"
    "mmyyyy.txt, archive previous_foF1_plots/), line 4 the station's sample directory,\n"
    "line 6 the output directory. The day slots follow the local date of TZ.\n"
    "Exit status: 0 all figures written from all their inputs, 1 a failure (reported\n"
    "on stderr), 2 a wrong command line. See fof1plot(1).\n";

namespace {

RigaDiComando errore(std::string testo) {
  RigaDiComando riga;
  riga.azione = RigaDiComando::Azione::kErrore;
  riga.errore = std::move(testo);
  return riga;
}

// A date written yyyy-mm-dd, with every digit in place.
bool leggi_data(const std::string& testo, std::chrono::sys_days& data) {
  if (testo.size() != 10 || testo[4] != '-' || testo[7] != '-') return false;
  std::array<int, 3> parti{};
  std::size_t pos = 0;
  for (std::size_t p = 0; p < parti.size(); ++p) {
    const std::size_t cifre = p == 0 ? 4 : 2;
    for (std::size_t i = 0; i < cifre; ++i, ++pos) {
      if (testo[pos] < '0' || testo[pos] > '9') return false;
      parti[p] = parti[p] * 10 + (testo[pos] - '0');
    }
    ++pos;
  }
  const std::chrono::year_month_day giorno{std::chrono::year{parti[0]},
                                           std::chrono::month{static_cast<unsigned>(parti[1])},
                                           std::chrono::day{static_cast<unsigned>(parti[2])}};
  if (!giorno.ok()) return false;
  data = giorno;
  return true;
}

RigaDiComando archivio(const std::string& primo, const char* ultimo) {
  RigaDiComando riga;
  riga.azione = RigaDiComando::Azione::kArchivio;
  if (!leggi_data(primo, riga.primo)) return errore("not a date yyyy-mm-dd: '" + primo + "'");
  riga.ultimo = riga.primo;
  if (ultimo != nullptr && !leggi_data(ultimo, riga.ultimo)) {
    return errore("not a date yyyy-mm-dd: '" + std::string(ultimo) + "'");
  }
  if (riga.ultimo < riga.primo) return errore("the last day comes before the first");
  if ((riga.ultimo - riga.primo).count() >= kGiorniArchivioMax) {
    return errore("more than " + std::to_string(kGiorniArchivioMax) + " days at once");
  }
  return riga;
}

}  // namespace

RigaDiComando leggi_riga_di_comando(int argc, char* argv[]) {
  static const option kOpzioni[] = {{"help", no_argument, nullptr, 'h'},
                                    {"version", no_argument, nullptr, 'V'},
                                    {"check", no_argument, nullptr, 'c'},
                                    {"archive", required_argument, nullptr, 'a'},
                                    {"metrics", required_argument, nullptr, 'm'},
                                    {"site", no_argument, nullptr, 's'},
                                    {"network", required_argument, nullptr, 'n'},
                                    {"full", no_argument, nullptr, 'f'},
                                    {nullptr, 0, nullptr, 0}};
  optind = 0;
  opterr = 0;
  RigaDiComando riga;
  std::string primo;
  // Options may stand before, between or after the dates, as in other GNU programs; the
  // leading '-' hands each date over in its place, whatever POSIXLY_CORRECT says.
  std::vector<std::string> operandi;
  for (int scelta; (scelta = ::getopt_long(argc, argv, "-hV", kOpzioni, nullptr)) != -1;) {
    if (scelta == 1) {
      operandi.emplace_back(optarg);
      continue;
    }
    if (scelta == '?' || scelta == ':') {
      const std::string opzione = argv[optind - 1];
      return errore(optopt == 'a'   ? "--archive needs the first day, yyyy-mm-dd"
                    : optopt == 'm' ? "--metrics needs a file"
                    : optopt == 'n' ? "--network needs a directory"
                                    : "unknown option '" + opzione + "'");
    }
    if (scelta == 'm') {
      riga.metriche = optarg;
      continue;
    }
    if (scelta == 's') {
      riga.sito = true;
      continue;
    }
    if (scelta == 'f') {
      riga.completo = true;
      continue;
    }
    if (riga.azione != RigaDiComando::Azione::kCorsaGiornaliera) {
      return errore("more than one of --help, --version, --check, --archive and --network");
    }
    riga.azione = scelta == 'h'   ? RigaDiComando::Azione::kAiuto
                  : scelta == 'V' ? RigaDiComando::Azione::kVersione
                  : scelta == 'c' ? RigaDiComando::Azione::kVerifica
                  : scelta == 'n' ? RigaDiComando::Azione::kRete
                                  : RigaDiComando::Azione::kArchivio;
    if (scelta == 'a') primo = optarg;
    if (scelta == 'n') riga.rete = optarg;
  }
  if (riga.completo && riga.azione != RigaDiComando::Azione::kCorsaGiornaliera &&
      riga.azione != RigaDiComando::Azione::kVerifica) {
    return errore("--full goes with the daily run or --check");
  }
  if (riga.azione == RigaDiComando::Azione::kArchivio) {
    if (operandi.size() > 1) return errore("unexpected argument '" + operandi[1] + "'");
    RigaDiComando letta = archivio(primo, operandi.empty() ? nullptr : operandi[0].c_str());
    letta.metriche = riga.metriche;
    letta.sito = riga.sito;
    return letta;
  }
  // --check takes the run's options, so that the check unit checks what the run will do.
  if (riga.sito && riga.azione != RigaDiComando::Azione::kCorsaGiornaliera &&
      riga.azione != RigaDiComando::Azione::kVerifica) {
    return errore("--site goes with the daily run, --archive or --check");
  }
  if (!riga.metriche.empty() && riga.azione != RigaDiComando::Azione::kCorsaGiornaliera &&
      riga.azione != RigaDiComando::Azione::kRete &&
      riga.azione != RigaDiComando::Azione::kVerifica) {
    return errore("--metrics goes with the daily run, --archive, --check or --network");
  }
  if (!operandi.empty()) return errore("unexpected argument '" + operandi[0] + "'");
  return riga;
}

}  // namespace fof1plot
