#include "platform/value_field.h"

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

}  // namespace fof1plot
