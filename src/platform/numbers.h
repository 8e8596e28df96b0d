#pragma once

#include <cstdint>
#include <string_view>

namespace fof1plot {

// The number at the start of a text: blanks, tabs and line feeds are ignored wherever
// they stand; an optional sign, digits, one decimal point and an exponent written with
// E or D; reading stops at the first character that cannot continue the number. A text
// with no number in front gives 0. Throws Failure when the number is too large for a
// double.
double Val(std::string_view text);

// The nearest 16-bit integer, a half going to the even neighbour; throws Failure
// outside -32768..32767.
std::int16_t CInt(double value);

// 16-bit sum; throws Failure on overflow.
std::int16_t somma16(std::int16_t a, std::int16_t b);

}  // namespace fof1plot
