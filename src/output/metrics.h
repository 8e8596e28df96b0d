#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "run/corsa.h"

namespace fof1plot {

// What the metrics tell besides the run's records.
struct ContestoMetriche {
  std::chrono::system_clock::time_point fine;
  double durata_secondi = 0;
  bool archivio = false;
  int stato_di_uscita = 0;
  // The station's label on every series.
  std::string stazione;
  // The last successful run's time, from the previous metrics file.
  std::optional<std::string> ultimo_successo;
};

// The run's metrics in the Prometheus text format, all gauges, for node_exporter's
// textfile collector: when it ran, whether it succeeded, how long it took, its failure
// lines, the last success, and the station's last sounding and the samples of each slot
// (daily run) or the figures drawn (back-fill); every series carries the station's label.
std::string testo_metriche(const Corsa& corsa, const ContestoMetriche& contesto);

// The last success of a previous metrics file: the station's label, where the file had
// one, and the time as written.
struct SuccessoPrecedente {
  std::optional<std::string> stazione;
  std::string quando;
};

// The last success, when a line of a metrics file gives it.
std::optional<SuccessoPrecedente> ultimo_successo(std::string_view riga);

// Writes the run's metrics to the path asked for, whole, keeping the last success time of
// the file there when this run failed; a failure to write is reported.
void scrivi_metriche(Corsa& corsa, const MetricheRichieste& richieste);

}  // namespace fof1plot
