#include <array>

#include "run/form1.h"

namespace fof1plot {
namespace {

struct Elemento {
  enum Tipo { kLinea, kEtichetta } tipo;
  float x1, y1, x2, y2;
  Colore colore;
  const char* testo;
};

constexpr Colore kGiallo = RGB(255, 255, 0);
constexpr Colore kGrigio = RGB(100, 100, 100);

constexpr Elemento linea(float x1, float y1, float x2, float y2, Colore colore) {
  return {Elemento::kLinea, x1, y1, x2, y2, colore, nullptr};
}

constexpr Elemento etichetta(float x, float y, const char* testo) {
  return {Elemento::kEtichetta, x, y, 0, 0, 0, testo};
}

// In drawing order. The frame's bottom and top lines end at x = 242 because a line
// leaves out its last point; the grid fills exactly the inside of the frame. Labels sit
// centred under or beside their grid lines for a 13-pixel font.
constexpr std::array<Elemento, 22> kStage = {
    linea(0, 0, 242, 0, kGiallo),     linea(0, 161, 0, 0, kGiallo),
    linea(0, 161, 242, 161, kGiallo), linea(241, 161, 241, 0, kGiallo),
    linea(50, 160, 50, 0, kGrigio),   etichetta(47, -5, "5"),
    linea(100, 160, 100, 0, kGrigio), etichetta(93, -5, "10"),
    linea(150, 160, 150, 0, kGrigio), etichetta(143, -5, "15"),
    linea(200, 160, 200, 0, kGrigio), etichetta(193, -5, "20"),
    etichetta(100, -20, "Time(UT)"),  etichetta(-13, 6, "0"),
    linea(1, 50, 241, 50, kGrigio),   etichetta(-13, 55, "5"),
    linea(1, 100, 241, 100, kGrigio), etichetta(-18, 105, "10"),
    linea(1, 150, 241, 150, kGrigio), etichetta(-18, 155, "15"),
    etichetta(-30, 138, "foF1"),      etichetta(-33, 125, "(MHz)"),
};

}  // namespace

void Form1::disegno_dello_stage() {
  for (const Elemento& e : kStage) {
    if (e.tipo == Elemento::kLinea) {
      canvas.Line(e.x1, e.y1, e.x2, e.y2, e.colore);
    } else {
      canvas.CurrentX(e.x1);
      canvas.CurrentY(e.y1);
      canvas.Print(e.testo);
    }
  }
}

}  // namespace fof1plot
