#pragma once

#include <string>
#include <string_view>

namespace fof1plot {

// A value written dd.d in four characters, in tenths of MHz: the first two characters
// without surrounding blanks followed by the fourth, read as a number (" 4.5" gives 45,
// "12.3" gives 123, blanks or dashes give 0). The third character is not read. Throws
// Failure when the digits overflow a double.
double valore_in_decimi(std::string_view campo);

// Whether a field has the station's dd.d form: one or two digits in characters 1 and 2
// (a blank before a lone digit), any separator, then a digit.
bool forma_dd_d(std::string_view campo);

// A value in tenths of MHz written in MHz with one decimal, as "4.5" or "12.0".
std::string in_mhz(double decimi);

// "0.23", "-1.05": a number of hundredths of MHz with two decimals.
std::string centesimi_in_mhz(int centesimi);

}  // namespace fof1plot
