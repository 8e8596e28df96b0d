#include "samples/sample_value.h"

#include "platform/numbers.h"
#include "platform/text.h"

namespace fof1plot {

double valore_in_decimi(std::string_view campo) {
  return Val(Trim(Mid(campo, 1, 2)) + Mid(campo, 4, 1));
}

int passo_minuti(int minuto) { return (minuto + 2) / 6; }

}  // namespace fof1plot
