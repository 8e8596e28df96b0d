#include "platform/numbers.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/failure.h"

namespace fof1plot {
namespace {

bool is_ignored(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Copies the number at the front of text, without the ignored characters and with the
// exponent letter as 'e', so that strtod reads exactly what Val accepts.
std::string number_prefix(std::string_view text) {
  std::string number;
  enum class Part { kSign, kMantissa, kExponentSign, kExponent } part = Part::kSign;
  bool seen_point = false;
  bool seen_digit = false;
  for (char c : text) {
    if (is_ignored(c)) continue;
    if (part == Part::kSign && (c == '+' || c == '-')) {
      part = Part::kMantissa;
    } else if ((part == Part::kSign || part == Part::kMantissa) && (is_digit(c) || c == '.')) {
      if (c == '.' && seen_point) break;
      seen_point = seen_point || c == '.';
      seen_digit = seen_digit || is_digit(c);
      part = Part::kMantissa;
    } else if (part == Part::kMantissa && seen_digit &&
               std::string_view("EeDd").find(c) != std::string_view::npos) {
      part = Part::kExponentSign;
      c = 'e';
    } else if ((part == Part::kExponentSign && (c == '+' || c == '-')) ||
               ((part == Part::kExponentSign || part == Part::kExponent) && is_digit(c))) {
      part = Part::kExponent;
    } else {
      break;
    }
    number += c;
  }
  return number;
}

}  // namespace

double Val(std::string_view text) {
  const std::string number = number_prefix(text);
  const double value = std::strtod(number.c_str(), nullptr);
  if (std::isinf(value)) throw Failure("overflow");
  return value;
}

std::int16_t CInt(double value) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
        rounded <= std::numeric_limits<std::int16_t>::max())) {
    throw Failure("overflow");
  }
  return static_cast<std::int16_t>(rounded);
}

std::int16_t somma16(std::int16_t a, std::int16_t b) {
  const int sum = a + b;
  if (sum < std::numeric_limits<std::int16_t>::min() ||
      sum > std::numeric_limits<std::int16_t>::max()) {
    throw Failure("overflow");
  }
  return static_cast<std::int16_t>(sum);
}

}  // namespace fof1plot
