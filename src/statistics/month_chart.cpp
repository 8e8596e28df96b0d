#include "statistics/month_chart.h"

#include "canvas/colors.h"

namespace fof1plot {
namespace {

// Light enough to read at a glance on a phone beside the white forecast and the red
// medians; each hour's quartiles are also marked by a short bar, so that a narrow band
// still shows.
constexpr Colore kBanda = RGB(60, 100, 190);
constexpr Colore kQuartili = RGB(140, 180, 255);
constexpr Colore kMediana = RGB(255, 80, 80);

// An hour's statistic in tenths of MHz, the user unit of the y axis.
float in_decimi(int ventesimi) { return static_cast<float>(ventesimi) / 2.0f; }

// The band: a vertical line at every pixel between two hours that both have quartiles,
// the quartiles taken linearly in between.
void banda(DrawingSurface& canvas, const StatisticheMese& s) {
  for (int h = 0; h + 1 < 24; ++h) {
    const auto& a = s.ore[h].cardini;
    const auto& b = s.ore[h + 1].cardini;
    if (!a || !b) continue;
    for (int x = 0; x <= 10; ++x) {
      const float t = static_cast<float>(x) / 10.0f;
      const float giu = in_decimi((*a)[0]) * (1 - t) + in_decimi((*b)[0]) * t;
      const float su = in_decimi((*a)[2]) * (1 - t) + in_decimi((*b)[2]) * t;
      canvas.Line(static_cast<float>(10 * h + x), giu, static_cast<float>(10 * h + x), su, kBanda);
    }
  }
  for (const OraMese& o : s.ore) {
    if (!o.cardini) continue;
    const auto x = static_cast<float>(10 * o.ora);
    for (const int quartile : {(*o.cardini)[0], (*o.cardini)[2]}) {
      canvas.Line(x - 3, in_decimi(quartile), x + 3, in_decimi(quartile), kQuartili);
    }
    canvas.Line(x, in_decimi((*o.cardini)[0]), x, in_decimi((*o.cardini)[2]), kQuartili);
  }
}

}  // namespace

std::string grafico_mese(Form1& finestra, DrawingSurface& canvas, const StatisticheMese& s) {
  finestra.impostazioni_dimensioni_e_scala_del_form();
  canvas.Cls();
  finestra.disegno_dello_stage();
  banda(canvas, s);
  const Colore bianco = QBColor(15);
  for (int h = 0; h < 24; ++h) {
    const auto& p = s.ore[h].previsione;
    if (!p) continue;
    const auto x = static_cast<float>(10 * h);
    canvas.FillStyle(0);
    canvas.FillColor(bianco);
    canvas.Circle(x, static_cast<float>(*p), 2, bianco);
    if (h > 0 && s.ore[h - 1].previsione) {
      canvas.Line(x - 10, static_cast<float>(*s.ore[h - 1].previsione), x, static_cast<float>(*p),
                  bianco);
    }
  }
  for (int h = 0; h < 24; ++h) {
    const OraMese& o = s.ore[h];
    if (!o.cardini) continue;
    const auto x = static_cast<float>(10 * h);
    if (h > 0 && s.ore[h - 1].cardini) {
      canvas.Line(x - 10, in_decimi((*s.ore[h - 1].cardini)[1]), x, in_decimi((*o.cardini)[1]),
                  kMediana);
    }
    canvas.ToolTipText(std::to_string(h) + " UT: median " + ventesimi_in_mhz((*o.cardini)[1]) +
                       " MHz, quartiles " + ventesimi_in_mhz((*o.cardini)[0]) + " to " +
                       ventesimi_in_mhz((*o.cardini)[2]) + " MHz, " + std::to_string(o.giorni) +
                       " days");
    canvas.FillStyle(0);
    canvas.FillColor(kMediana);
    canvas.Circle(x, in_decimi((*o.cardini)[1]), 2, kMediana);
    canvas.ToolTipText("");
  }
  return canvas.Image().document;
}

}  // namespace fof1plot
