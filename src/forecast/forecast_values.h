#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fof1plot {

// The field of hour k (1 to 24) of a forecast's line 2: the last four of its five
// columns.
std::string campo_previsione(std::string_view riga, int k);

// How many of the 24 hourly fields of a forecast's line 2 (five columns each, the value
// in the last four) hold a number: a field with a digit in it.
int valori_previsione(std::string_view riga);

// The forecast curve's value where a figure draws a sample of a day's hour and minute, in
// hundredths of MHz: the hourly points are joined by straight lines, so between two
// hours the value is interpolated, in tenths of an hour as the sample is placed. None
// where either point lacks its field (the figure then draws a 0 there, not a forecast),
// and after 23:00, where the curve ends.
std::optional<int> previsione_al_campione(
    const std::array<std::optional<std::int16_t>, 24>& previsione, int ora, int minuto);

}  // namespace fof1plot
