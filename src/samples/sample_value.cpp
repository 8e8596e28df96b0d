#include "samples/sample_value.h"

namespace fof1plot {

int passo_minuti(int minuto) { return (minuto + 2) / 6; }

}  // namespace fof1plot
