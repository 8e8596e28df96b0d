#pragma once

#include <chrono>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "hapi/station_archive.h"
#include "network/network_station.h"

namespace fof1plot {

// The most bytes of a value field a record gives: four characters of a sample, each
// possibly replaced by U+FFFD, and the quote that keeps a spreadsheet from a formula.
inline constexpr int kLunghezzaCampo = 16;

// What a dataset holds: a station's values as its day CSVs give them, or the hourly
// forecast of the months its archive has statistics of.
enum class TipoDataset { kValori, kPrevisione };

// Where the server reads: one station's output directory, or a network directory with a
// copy of each station's (as --network reads it).
struct SorgenteHapi {
  std::string sito;
  std::string rete;
};

// A dataset the server offers: "foF1" and "foF1_forecast" of the station, or
// "<station>/foF1" and "<station>/foF1_forecast" of each station of a network, where
// <station> is its subdirectory.
struct DatasetHapi {
  std::string id;
  TipoDataset tipo = TipoDataset::kValori;
  std::string cartella;  // the station's subdirectory; empty for the station's own host
};

// A station opened for a request: what its status.json says and its archive.
struct StazioneHapi {
  StazioneRete stato;
  std::unique_ptr<ArchivioStazione> archivio;
};

// The datasets of the source, in the order of the stations' subdirectories; a network's
// subdirectory whose name is not of letters, digits, '.', '_', '~' and '-' is left out.
// Throws Failure when the source cannot be opened or listed.
std::vector<DatasetHapi> elenco_dataset(const SorgenteHapi& sorgente);

// The station of a dataset, opened; throws Failure when its directory cannot be.
StazioneHapi apri_stazione(const SorgenteHapi& sorgente, const DatasetHapi& dataset,
                           std::chrono::system_clock::time_point adesso);

// The time the dataset covers, [startDate, stopDate): whole days for the values, whole
// months for the forecast; none when it holds nothing yet.
std::optional<std::pair<std::chrono::sys_days, std::chrono::sys_days>> intervallo_dataset(
    StazioneHapi& stazione, TipoDataset tipo);

// The dataset's parameters, Time first: for the values foF1, field, foF1_forecast and
// foF1_deviation, for the forecast foF1_forecast.
const nlohmann::json& parametri_dataset(TipoDataset tipo);

// The indices of the parameters a request's `parameters=` names (all for an empty
// text), Time always first; or 1407 for a name the dataset does not have, 1411 for one
// out of order or given twice.
std::variant<std::vector<std::size_t>, int> scegli_parametri(TipoDataset tipo,
                                                             const std::string& elenco);

// The info of a dataset, without its status, for the chosen parameters.
nlohmann::json info_dataset(const DatasetHapi& dataset, const StazioneHapi& stazione,
                            std::pair<std::chrono::sys_days, std::chrono::sys_days> intervallo,
                            const std::vector<std::size_t>& scelti);

// A JSON value as text, with bytes that are not UTF-8 replaced.
std::string testo_json(const nlohmann::json& valore, int rientro = -1);

}  // namespace fof1plot
