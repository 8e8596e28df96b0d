#include "forecast/month_forecast.h"

#include <cstdio>

#include "forecast/forecast_values.h"
#include "platform/numbers.h"
#include "platform/value_field.h"
#include "run/form1.h"

namespace fof1plot {

std::array<std::optional<int>, 24> previsione_oraria(Form1& form, std::chrono::year_month mese) {
  char nome[16];
  std::snprintf(nome, sizeof nome, "%02u%04d.txt", static_cast<unsigned>(mese.month()),
                static_cast<int>(mese.year()));
  const PrevisioneLetta& letta = form.leggi_previsione(form.cartella_lavoro + nome);
  std::array<std::optional<int>, 24> valori{};
  for (int k = 1; letta.aperta && k <= 24; ++k) {
    const std::string campo = campo_previsione(letta.riga, k);
    if (!campo.empty()) esegui_passo([&] { valori[k - 1] = CInt(valore_in_decimi(campo)); });
  }
  return valori;
}

}  // namespace fof1plot
