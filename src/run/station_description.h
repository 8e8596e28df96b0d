#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace fof1plot {

// The station's description file beside gralvo.ini, which the station file cannot give:
// "key = value" lines, "#" comments and blank lines, every key optional.
inline constexpr const char* kFileDescrizione = "station.ini";

// The most bytes of a text of the description, so that every page and the network's
// overview, which refuses longer ones from another host, show it whole.
inline constexpr std::size_t kMassimoTestoDescrizione = 200;

// What the description file says of the station: its URSI code (five letters and
// digits), name, coordinates in degrees (north and east positive) and elevation in
// metres, institution, licence of its data and contact.
struct DescrizioneStazione {
  std::string ursi, nome, istituzione, licenza, contatto;
  std::optional<double> latitudine, longitudine, quota;
  bool operator==(const DescrizioneStazione&) const = default;
};

// The description its lines give, or what is wrong with them, naming the line
// ("line 3: latitude 95 is not between -90 and 90").
std::variant<DescrizioneStazione, std::string> leggi_descrizione(
    const std::vector<std::string>& righe);

// "RO041 · Rome · 41.90° N, 12.52° E, 60 m · INGV · licence CC BY 4.0 · contact
// ionosonde@example.org": what the pages show under the station's name.
std::string parole_descrizione(const DescrizioneStazione& descrizione);

// status.json's and stations.json's "station_description": ursi_code, name, latitude,
// longitude, elevation_m, institution, licence, contact, each null where not given;
// null for none.
nlohmann::json json_descrizione(const std::optional<DescrizioneStazione>& descrizione);

}  // namespace fof1plot
