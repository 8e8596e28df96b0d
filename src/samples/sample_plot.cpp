#include <cstdio>
#include <memory>

#include "canvas/colors.h"
#include "platform/numbers.h"
#include "platform/text.h"
#include "platform/value_field.h"
#include "run/form1.h"
#include "samples/sample_value.h"

namespace fof1plot {
namespace {

// What a sample's mark says on hover: "10:15 UT: 4.5 MHz", "10:15 UT: N/A".
std::string suggerimento(const CampioneRegistrato& campione) {
  char ora_ut[16];
  std::snprintf(ora_ut, sizeof ora_ut, "%02d:%02d UT: ", campione.ora, campione.minuto);
  std::string testo = ora_ut;
  switch (campione.tipo) {
    case TipoCampo::kValore:
      testo += in_mhz(campione.decimi);
      testo += " MHz";
      break;
    case TipoCampo::kAltro:
      testo += '"';
      testo += campione.campo_valore();
      testo += "\", not a value, drawn at ";
      testo += in_mhz(campione.decimi);
      testo += " MHz";
      break;
    default:
      testo += campione.campo_valore();
  }
  return testo;
}

}  // namespace

// The day's ionograms: for every minute of the day the name the station would give its
// sample file is built, hours ascending and within an hour minutes 01 to 59 then 00.
// Each one the listing of the sample directory holds is drawn from the value field of its
// line 7, read by an earlier run of the day when the run took its state, or else opened
// now, and recorded with the figure; one that is there but cannot be read is a failure
// of the run.
void Form1::grafico_valori_autoscalati(const std::string& file_previsioni) {
  RegistroFigura& figura = corsa.figura();
  const std::int16_t tipo_stazione = riconosci_stazione();
  std::int16_t x_ultimo = 0;
  std::int16_t y_ultimo = 0;
  if (tipo_stazione == 0) return;
  const std::string prefisso = prefisso_nome_campione(tipo_stazione, file_previsioni);
  for (int ora = 0; ora <= 23; ++ora) {
    for (int m = 1; m <= 60; ++m) {
      const int minuto = m == 60 ? 0 : m;
      if (!corsa.campione_elencato(tipo_stazione, figura.data, ora, minuto)) continue;
      CampioneRegistrato& campione = figura.campioni.emplace_back();
      campione.ora = static_cast<std::uint8_t>(ora);
      campione.minuto = static_cast<std::uint8_t>(minuto);
      std::string campo_valore;
      const auto illeggibile = [&](const Failure& guasto) {
        campione.lettura = LetturaCampione::kIlleggibile;
        figura.motivi.emplace_back(figura.campioni.size() - 1, guasto.reason());
        corsa.segnala(guasto, "cannot read the sample file");
      };
      if (const std::string* letto = corsa.campo_letto(figura.data, ora, minuto)) {
        campo_valore = *letto;
      } else if (esegui_passo(
                     [&] {
                       campione.lettura = leggi_campo_valore(
                           nome_file_campione(prefisso, tipo_stazione, ora, m), campo_valore);
                     },
                     illeggibile) &&
                 campione.lettura == LetturaCampione::kLetto) {
        corsa.ricorda_campo(figura.data, ora, minuto, campo_valore);
      } else {
        continue;
      }
      disegna_campione(static_cast<std::int16_t>(ora), minuto, campo_valore, x_ultimo, y_ultimo);
    }
  }
}

// Characters 16 to 19 of line 7 of a sample file. A file gone since the listing (the
// station pruned it) or with fewer than seven lines (still being written) counts as
// missing. Throws Failure when the file is there but cannot be read.
LetturaCampione Form1::leggi_campo_valore(const std::string& nome_file, std::string& campo_valore) {
  const std::unique_ptr<TextFile> file = corsa.files().TryOpen(nome_file);
  if (!file) return LetturaCampione::kScomparso;
  std::string riga;
  for (int n = 1; n <= 7; ++n) {
    if (file->Eof()) return LetturaCampione::kIncompleto;
    riga = file->LineInput();
  }
  campo_valore = Mid(riga, 16, 4);
  return LetturaCampione::kLetto;
}

// A value is a light-red disc, joined back to the last disc when it lies 2 or 3 tenths
// of an hour to its right; "N/A" and "NO" are short ticks above the time axis.
void Form1::disegna_campione(std::int16_t ora, int minuto, const std::string& campo_valore,
                             std::int16_t& x_ultimo, std::int16_t& y_ultimo) {
  CampioneRegistrato& campione = corsa.figura().campioni.back();
  const std::int16_t x = static_cast<std::int16_t>(10 * ora + passo_minuti(minuto));
  const std::string parola = Trim(campo_valore);
  campione.lunghezza_campo = static_cast<std::uint8_t>(parola.copy(campione.campo.data(), 4));
  // With the site's vector picture, each mark names its sample; the text is made only
  // for a picture that shows it.
  const auto segna = [&](auto&& disegno) {
    if (corsa.sito()) canvas.ToolTipText(suggerimento(campione));
    corsa.passo(disegno);
    if (corsa.sito()) canvas.ToolTipText("");
  };
  if (parola == "N/A" || parola == "NO") {
    campione.tipo = parola == "N/A" ? TipoCampo::kNA : TipoCampo::kNO;
    const Colore colore = parola == "N/A" ? QBColor(10) : RGB(255, 153, 0);
    segna([&] { canvas.Line(x, 1, x, 8, colore); });
    return;
  }
  campione.tipo = forma_dd_d(campo_valore) ? TipoCampo::kValore : TipoCampo::kAltro;
  const Colore rosso = QBColor(12);
  corsa.passo([&] { canvas.FillStyle(0); });
  corsa.passo([&] { canvas.FillColor(rosso); });
  double y = 0;
  esegui_passo([&] { y = valore_in_decimi(campo_valore); });
  campione.decimi = y;
  segna([&] { canvas.Circle(x, static_cast<float>(y), 2, rosso); });
  if ((x == x_ultimo + 2 || x == x_ultimo + 3) && y_ultimo != 0) {
    corsa.passo([&] { canvas.Line(x, static_cast<float>(y), x_ultimo, y_ultimo, rosso); });
  }
  x_ultimo = x;
  esegui_passo([&] { y_ultimo = CInt(y); });
}

}  // namespace fof1plot
