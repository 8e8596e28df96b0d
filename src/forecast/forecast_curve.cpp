#include <cstdio>
#include <memory>

#include "canvas/colors.h"
#include "forecast/forecast_values.h"
#include "platform/numbers.h"
#include "platform/table.h"
#include "platform/text.h"
#include "platform/value_field.h"
#include "run/form1.h"

namespace fof1plot {
namespace {

// What a forecast dot says on hover: "12:00 UT forecast: 5.0 MHz".
std::string suggerimento_previsione(int ora, std::int16_t decimi) {
  char testo[24];
  std::snprintf(testo, sizeof testo, "%02d:00 UT forecast: ", ora);
  return testo + in_mhz(decimi) + " MHz";
}

}  // namespace

// The forecast file of a month, <work directory><mmyyyy>.txt, holds on line 2 the 24
// hourly values, each right-aligned in five columns as dd.d. Each is drawn as a white
// dot at its hour, joined to the previous hour's dot, and recorded with the figure.
void Form1::grafico_previsione(const std::string& file_previsioni) {
  RegistroFigura& figura = corsa.figura();
  figura.file_previsione = cartella_lavoro + file_previsioni + ".txt";
  const PrevisioneLetta& letta = leggi_previsione(figura.file_previsione);
  // The first failure is reported; later ones follow from it. A value too large for 16
  // bits is the file's content, not a fault of the run, and only keeps 0.
  figura.previsione_letta = letta.aperta && !letta.guasto;
  bool segnalato = letta.guasto.has_value();
  if (segnalato) corsa.segnala(*letta.guasto);
  if (!letta.aperta) return;
  const auto passo_previsione = [&](auto&& azione) {
    const bool riuscito = segnalato ? esegui_passo(azione) : corsa.passo(azione);
    segnalato = segnalato || !riuscito;
  };

  Tabella<std::int16_t, 1, 24> valori_previsione;
  for (int k = 1; k <= 24; ++k) {
    const std::string campo = campo_previsione(letta.riga, k);
    esegui_passo([&] { valori_previsione(k) = CInt(valore_in_decimi(campo)); });
    if (!campo.empty()) figura.previsione[static_cast<std::size_t>(k - 1)] = valori_previsione(k);
  }

  x_precedente = 0;
  y_precedente = 0;
  const Colore bianco = QBColor(15);
  for (int k = 1; k <= 24; ++k) {
    const std::int16_t x = static_cast<std::int16_t>(10 * (k - 1));
    const std::int16_t y = valori_previsione(k);
    passo_previsione([&] { canvas.FillStyle(0); });
    passo_previsione([&] { canvas.FillColor(bianco); });
    // With the site's vector picture, a dot with its field names the forecast.
    const bool titolo = corsa.sito() && figura.previsione[static_cast<std::size_t>(k - 1)];
    if (titolo) canvas.ToolTipText(suggerimento_previsione(k - 1, y));
    passo_previsione([&] { canvas.Circle(x, y, 2, bianco); });
    if (titolo) canvas.ToolTipText("");
    if (k >= 2) passo_previsione([&] { canvas.Line(x_precedente, y_precedente, x, y, bianco); });
    x_precedente = x;
    y_precedente = valori_previsione(k);
  }
}

// Lines 1 and 2 of a forecast file, read once per run: the six slots and the days of a
// back-fill share their month's. Line 1 is not kept, so a file of one line reads as if
// its line 2 were empty.
const PrevisioneLetta& Form1::leggi_previsione(const std::string& path) {
  PrevisioneLetta& letta = corsa.previsione(path);
  if (letta.aperta || letta.guasto) return letta;
  const auto primo_guasto = [&](const char* descrizione) {
    return [&letta, descrizione](const Failure& guasto) {
      if (letta.guasto) return;
      letta.guasto =
          descrizione != nullptr ? Failure(guasto.path(), descrizione, guasto.reason()) : guasto;
    };
  };
  std::unique_ptr<TextFile> file;
  letta.aperta = esegui_passo([&] { file = corsa.files().Open(path); },
                              primo_guasto("cannot open the forecast file"));
  if (!letta.aperta) return letta;
  esegui_passo([&] { LineInput(file); }, primo_guasto(nullptr));
  esegui_passo([&] { letta.riga = LineInput(file); }, primo_guasto(nullptr));
  // A line 2 that lacks hours is drawn as it stands, but the forecast is not what the
  // operator meant to give.
  const int valori = valori_previsione(letta.riga);
  if (!letta.guasto && valori < 24) {
    letta.guasto =
        Failure(path, "line 2 holds " + std::to_string(valori) + " of the 24 hourly values", "");
  }
  return letta;
}

}  // namespace fof1plot
