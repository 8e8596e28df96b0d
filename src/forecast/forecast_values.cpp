#include "forecast/forecast_values.h"

#include "platform/text.h"

namespace fof1plot {

std::string campo_previsione(std::string_view riga, int k) { return Mid(riga, 5 * k - 3, 4); }

int valori_previsione(std::string_view riga) {
  int valori = 0;
  for (int k = 1; k <= 24; ++k) {
    const std::string campo = campo_previsione(riga, k);
    if (campo.find_first_of("0123456789") != std::string::npos) ++valori;
  }
  return valori;
}

}  // namespace fof1plot
