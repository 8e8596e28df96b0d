#include "network/network_chart.h"

#include <algorithm>
#include <array>

#include "canvas/plot_window.h"
#include "canvas/user_scale.h"
#include "network/network_pages.h"

namespace fof1plot {
namespace {

// Colours that stand apart on the black canvas and from its yellow frame, grey grid and
// the orange of the figures' NO ticks.
constexpr std::array<Colore, 8> kColori = {
    RGB(255, 80, 80), RGB(80, 170, 255),  RGB(80, 255, 80),   RGB(255, 80, 255),
    RGB(0, 230, 230), RGB(255, 255, 255), RGB(170, 120, 255), RGB(200, 200, 90)};
constexpr int kForme = 8;
// The rows of the legend, in pixels, which are user units on this canvas.
constexpr float kRigaLegenda = 14;
// The stations the chart shows, with their marks and a row of the legend each; the
// others are told in one line, their values being in today.csv. So the chart keeps a
// size a browser draws, however large the network.
constexpr std::size_t kStazioniNelGrafico = 100;

// A marker of shape `forma` centred on (x, y): disc, square, triangle, diamond, plus,
// cross, a triangle pointing down or a star, about 5 pixels across.
void marca(DrawingSurface& canvas, int forma, float x, float y, Colore colore) {
  constexpr float r = 2.5f;
  switch (forma) {
    case 0:
      canvas.FillStyle(0);
      canvas.FillColor(colore);
      canvas.Circle(x, y, 2, colore);
      return;
    case 1:
      canvas.Line(x - r, y - r, x + r, y - r, colore);
      canvas.Line(x + r, y - r, x + r, y + r, colore);
      canvas.Line(x + r, y + r, x - r, y + r, colore);
      canvas.Line(x - r, y + r, x - r, y - r, colore);
      return;
    case 2:
      canvas.Line(x - r, y - r, x + r, y - r, colore);
      canvas.Line(x + r, y - r, x, y + r, colore);
      canvas.Line(x, y + r, x - r, y - r, colore);
      return;
    case 3:
      canvas.Line(x - r, y, x, y + r, colore);
      canvas.Line(x, y + r, x + r, y, colore);
      canvas.Line(x + r, y, x, y - r, colore);
      canvas.Line(x, y - r, x - r, y, colore);
      return;
    case 4:
      canvas.Line(x - r, y, x + r, y, colore);
      canvas.Line(x, y - r, x, y + r, colore);
      return;
    case 5:
      canvas.Line(x - r, y - r, x + r, y + r, colore);
      canvas.Line(x - r, y + r, x + r, y - r, colore);
      return;
    case 6:
      canvas.Line(x - r, y + r, x + r, y + r, colore);
      canvas.Line(x + r, y + r, x, y - r, colore);
      canvas.Line(x, y - r, x - r, y + r, colore);
      return;
    default:
      canvas.Line(x - r, y, x + r, y, colore);
      canvas.Line(x, y - r, x, y + r, colore);
      canvas.Line(x - r, y - r, x + r, y + r, colore);
      canvas.Line(x - r, y + r, x + r, y - r, colore);
  }
}

// Where a time "yyyy-mm-ddThh:mm:00Z" lies on the time axis, in tenths of an hour.
float in_decimi_di_ora(const std::string& ora) {
  const int h = (ora[11] - '0') * 10 + (ora[12] - '0');
  const int m = (ora[14] - '0') * 10 + (ora[15] - '0');
  return static_cast<float>(h * 10) + static_cast<float>(m) / 6.0f;
}

bool ora_valida(const std::string& ora) {
  if (ora.size() != 20 || ora[13] != ':') return false;
  for (const std::size_t i : {11, 12, 14, 15}) {
    if (ora[i] < '0' || ora[i] > '9') return false;
  }
  return ora[11] < '3' && ora[14] < '6';
}

}  // namespace

std::string grafico_rete(Form1& finestra, DrawingSurface& canvas,
                         const std::vector<StazioneRete>& stazioni) {
  finestra.impostazioni_dimensioni_e_scala_del_form();
  const std::size_t mostrate = std::min(stazioni.size(), kStazioniNelGrafico);
  const std::size_t righe = mostrate + (mostrate < stazioni.size() ? 1 : 0);
  // The canvas grows downwards by a legend row per station, at one user unit a pixel.
  const float legenda = kRigaLegenda * static_cast<float>(righe) + 6;
  canvas.Height(canvas.TwipsPerPixelY() *
                (static_cast<float>(finestra.margine_superiore + 160 + finestra.margine_inferiore +
                                    1 + kCorniceVerticale) +
                 legenda));
  canvas.Scale(-finestra.margine_sinistro, finestra.margine_superiore + 160,
               241 + finestra.margine_destro, -(finestra.margine_inferiore + 1) - legenda);
  canvas.Cls();
  finestra.disegno_dello_stage();
  for (std::size_t i = 0; i < mostrate; ++i) {
    const StazioneRete& s = stazioni[i];
    // Eight stations have eight colours and eight shapes; beyond, each colour comes back
    // with another shape, so that 64 stations have 64 pairs.
    const Colore colore = kColori[i % kColori.size()];
    const int forma = static_cast<int>((i + i / kColori.size()) % kForme);
    for (const ValoreOggi& v : s.oggi) {
      const auto valore = valore_mhz(v.mhz);
      if (!valore || !ora_valida(v.ora) || *valore < 0 || *valore > 16) continue;
      canvas.ToolTipText(s.nome + " " + v.ora.substr(11, 5) + " UT: " + v.mhz + " MHz");
      marca(canvas, forma, in_decimi_di_ora(v.ora), static_cast<float>(*valore * 10), colore);
    }
    canvas.ToolTipText("");
    const float y = -(static_cast<float>(finestra.margine_inferiore) + 8) -
                    kRigaLegenda * static_cast<float>(i);
    marca(canvas, forma, -25, y - 6, colore);
    canvas.CurrentX(-18);
    canvas.CurrentY(y);
    canvas.Print(s.nome);
  }
  if (mostrate < stazioni.size()) {
    canvas.CurrentX(-30);
    canvas.CurrentY(-(static_cast<float>(finestra.margine_inferiore) + 8) -
                    kRigaLegenda * static_cast<float>(mostrate));
    canvas.Print("and " + std::to_string(stazioni.size() - mostrate) +
                 " more stations, whose values are in today.csv");
  }
  return canvas.Image().document;
}

}  // namespace fof1plot
