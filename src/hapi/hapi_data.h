#pragma once

#include <chrono>
#include <vector>

#include "hapi/hapi_datasets.h"
#include "hapi/hapi_stream.h"

namespace fof1plot {

// Streams a dataset's records at or after `inizio` and before `fine`, within the time the
// dataset covers, in time order, with the chosen parameters: the values row by row from
// each day's CSV (a row that is not one of its day's is passed over), the forecast hour
// by hour from each month's hourly.csv. One day's file is in memory at a time. Throws
// Failure when a file is there but cannot be read.
void scrivi_dati(StazioneHapi& stazione, TipoDataset tipo, std::chrono::sys_seconds inizio,
                 std::chrono::sys_seconds fine,
                 std::pair<std::chrono::sys_days, std::chrono::sys_days> intervallo,
                 const std::vector<std::size_t>& scelti, FlussoHapi& flusso);

}  // namespace fof1plot
