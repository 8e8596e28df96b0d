#include "platform/value_field.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/numbers.h"
#include "platform/text.h"

namespace fof1plot {

double valore_in_decimi(std::string_view campo) {
  return Val(Trim(Mid(campo, 1, 2)) + Mid(campo, 4, 1));
}

bool forma_dd_d(std::string_view campo) {
  const auto cifra = [](char c) { return c >= '0' && c <= '9'; };
  return campo.size() == 4 && (cifra(campo[0]) || campo[0] == ' ') && cifra(campo[1]) &&
         cifra(campo[3]);
}

std::string centesimi_in_mhz(int centesimi) {
  char testo[24];
  std::snprintf(testo, sizeof testo, "%s%d.%02d", centesimi < 0 ? "-" : "",
                std::abs(centesimi) / 100, std::abs(centesimi) % 100);
  return testo;
}

std::string in_mhz(double decimi) {
  const long long intero = std::llround(decimi);
  const long long assoluto = intero < 0 ? -intero : intero;
  char testo[48];
  std::snprintf(testo, sizeof testo, "%s%lld.%lld", intero < 0 ? "-" : "", assoluto / 10,
                assoluto % 10);
  return testo;
}

}  // namespace fof1plot
