#include "run/figure_record.h"

#include <algorithm>

namespace fof1plot {

int RegistroFigura::conta(TipoCampo tipo) const {
  return static_cast<int>(std::count_if(campioni.begin(), campioni.end(), [&](const auto& c) {
    return c.lettura == LetturaCampione::kLetto && c.tipo == tipo;
  }));
}

int RegistroFigura::letti() const {
  return static_cast<int>(std::count_if(campioni.begin(), campioni.end(), [](const auto& c) {
    return c.lettura == LetturaCampione::kLetto;
  }));
}

int RegistroFigura::illeggibili() const { return static_cast<int>(motivi.size()); }

}  // namespace fof1plot
