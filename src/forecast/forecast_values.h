#pragma once

#include <string>
#include <string_view>

namespace fof1plot {

// The field of hour k (1 to 24) of a forecast's line 2: the last four of its five
// columns.
std::string campo_previsione(std::string_view riga, int k);

// How many of the 24 hourly fields of a forecast's line 2 (five columns each, the value
// in the last four) hold a number: a field with a digit in it.
int valori_previsione(std::string_view riga);

}  // namespace fof1plot
