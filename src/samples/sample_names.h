#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fof1plot {

// The letters a station kind's sample names start with; empty for kinds 0 and 1.
std::string_view prefisso_stazione(std::int16_t tipo_stazione);

// The part of a sample file's name before the hour code, the same all day: the
// station's prefix, the year (two digits for kind 1, four for the others, from the
// slot's month key) and the day-of-year code. Empty for kind 0, which names no file.
std::string inizio_nome_campione(std::int16_t tipo_stazione, const std::string& file_previsioni,
                                 const std::string& giorno);

// The part after the minute code: "00.TXT" for kinds 4 to 6, ".TXT" for the others.
std::string_view finale_nome_campione(std::int16_t tipo_stazione);

}  // namespace fof1plot
