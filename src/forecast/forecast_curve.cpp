#include <memory>

#include "canvas/colors.h"
#include "platform/numbers.h"
#include "platform/table.h"
#include "platform/text.h"
#include "run/form1.h"
#include "samples/sample_value.h"

namespace fof1plot {

// The forecast file of a month, <work directory><mmyyyy>.txt, holds on line 2 the 24
// hourly values, each right-aligned in five columns as dd.d. Each is drawn as a white
// dot at its hour, joined to the previous hour's dot.
void Form1::grafico_previsione(const std::string& file_previsioni) {
  Tabella<std::int16_t, 1, 24> valori_previsione;
  std::string riga_previsione;
  bool esito_ok = true;
  // The first failure is reported; later ones follow from it. A value too large for 16
  // bits is the file's content, not a fault of the run, and only keeps 0.
  bool segnalato = false;
  const auto passo_previsione = [&](auto&& azione, const char* descrizione = nullptr) {
    const bool riuscito = segnalato ? esegui_passo(azione) : passo(azione, descrizione);
    segnalato = segnalato || !riuscito;
    esito_ok = riuscito && esito_ok;
  };

  std::unique_ptr<TextFile> file;
  passo_previsione([&] { file = files.Open(cartella_lavoro + file_previsioni + ".txt"); },
                   "cannot open the forecast file");
  if (!esito_ok) return;
  // Line 1 is not kept, so a file of one line reads as if its line 2 were empty.
  passo_previsione([&] { LineInput(file); });
  passo_previsione([&] { riga_previsione = LineInput(file); });
  for (int k = 1; k <= 24; ++k) {
    esito_ok = esegui_passo([&] {
                 valori_previsione(k) = CInt(valore_in_decimi(Mid(riga_previsione, 5 * k - 3, 4)));
               }) &&
               esito_ok;
  }
  file.reset();

  x_precedente = 0;
  y_precedente = 0;
  const Colore bianco = QBColor(15);
  for (int k = 1; k <= 24; ++k) {
    const std::int16_t x = static_cast<std::int16_t>(10 * (k - 1));
    const std::int16_t y = valori_previsione(k);
    passo_previsione([&] { canvas.FillStyle(0); });
    passo_previsione([&] { canvas.FillColor(bianco); });
    passo_previsione([&] { canvas.Circle(x, y, 2, bianco); });
    if (k >= 2) passo_previsione([&] { canvas.Line(x_precedente, y_precedente, x, y, bianco); });
    x_precedente = x;
    y_precedente = valori_previsione(k);
  }
}

}  // namespace fof1plot
