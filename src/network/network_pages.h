#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "network/network_station.h"

namespace fof1plot {

// The network's files, each from the stations as read at `adesso`, in their order.

// index.html: a card per station (name, last sounding and its age, state in words,
// today's figure loaded lazily, its page), and the network's chart and files. Right as
// written without scripts; network.js keeps it up to date from stations.json.
std::string pagina_rete(const std::vector<StazioneRete>& stazioni,
                        std::chrono::system_clock::time_point adesso);

// network.js: reads stations.json every minute and updates the open page.
std::string script_rete();

// network.css, the page's style sheet.
std::string foglio_rete();

// stations.json: when it was made, and one object per station.
std::string testo_stazioni(const std::vector<StazioneRete>& stazioni,
                           std::chrono::system_clock::time_point adesso);

// today.csv: every station's values of today, "station,time_utc,foF1_MHz,field".
std::string testo_oggi(const std::vector<StazioneRete>& stazioni);

// The network's metrics: the run, and for each station its last sounding, whether its
// last run succeeded, and its state; every series carries the network's label, the
// name of its directory, so that two networks on one host stay apart.
std::string testo_metriche_rete(const std::string& rete, const std::vector<StazioneRete>& stazioni,
                                std::chrono::system_clock::time_point adesso);

// A value in MHz as a station's CSV gives it ("4.5"), when it is a finite number.
std::optional<double> valore_mhz(const std::string& testo);

}  // namespace fof1plot
