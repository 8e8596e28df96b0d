#pragma once

#include <string_view>

namespace fof1plot {

// A value written dd.d in four characters, in tenths of MHz: the first two characters
// without surrounding blanks followed by the fourth, read as a number (" 4.5" gives 45,
// "12.3" gives 123, blanks or dashes give 0). The third character is not read. Throws
// Failure when the digits overflow a double.
double valore_in_decimi(std::string_view campo);

// Where a sample of minute 0 to 59 lands within its hour, in tenths of an hour: the
// minute divided by 6, halves rounded down, so minutes 58 and 59 reach the next hour.
int passo_minuti(int minuto);

}  // namespace fof1plot
