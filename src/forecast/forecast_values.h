#pragma once

#include <string_view>

namespace fof1plot {

// How many of the 24 hourly fields of a forecast's line 2 (five columns each, the value
// in the last four) hold a number: a field with a digit in it.
int valori_previsione(std::string_view riga);

}  // namespace fof1plot
