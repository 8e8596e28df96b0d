#pragma once

#include <cstdint>
#include <string_view>

namespace fof1plot {

// The station kind a station file's first line names by its first four characters, 1
// to 6; 0 when it names none of the known stations.
std::int16_t tipo_stazione_di(std::string_view riga);

}  // namespace fof1plot
