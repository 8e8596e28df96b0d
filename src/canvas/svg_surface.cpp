#include "canvas/svg_surface.h"

#include <cmath>
#include <cstdio>

#include "platform/escapes.h"
#include "platform/failure.h"

namespace fof1plot {
namespace {

constexpr Colore kColoreNO = RGB(255, 153, 0);

std::string colore_svg(Colore c) {
  static constexpr char kCifre[] = "0123456789ABCDEF";
  std::string testo = "#000000";
  for (int i = 6; i >= 1; --i, c >>= 4) testo[static_cast<std::size_t>(i)] = kCifre[c & 0xF];
  return testo;
}

// Appends pieces of text to a document.
void aggiungi(std::string& documento, std::initializer_list<std::string_view> pezzi) {
  for (const std::string_view pezzo : pezzi) documento.append(pezzo);
}

// A coordinate with at most two decimals, without trailing zeros: "137.5", "-2".
std::string numero(double v) {
  if (!std::isfinite(v) || std::abs(v) > 1e12) throw Failure("invalid coordinate");
  const long long centesimi = std::llround(v * 100);
  const unsigned long long assoluti =
      static_cast<unsigned long long>(centesimi < 0 ? -centesimi : centesimi);
  std::string testo;
  if (centesimi < 0) testo += '-';
  testo += std::to_string(assoluti / 100);
  const unsigned long long frazione = assoluti % 100;
  if (frazione != 0) {
    testo += '.';
    testo += static_cast<char>('0' + frazione / 10);
    if (frazione % 10 != 0) testo += static_cast<char>('0' + frazione % 10);
  }
  return testo;
}

int pixel_interi(double twips, float twips_per_pixel, int cornice) {
  const double pixel = std::floor(twips / twips_per_pixel + 0.5) - cornice;
  if (!(pixel >= 1 && pixel <= 32767)) throw Failure("window size out of range");
  return static_cast<int>(pixel);
}

}  // namespace

SvgSurface::SvgSurface(float twips_per_pixel, Colore back_color, Colore fore_color)
    : twips_per_pixel_(twips_per_pixel),
      back_color_(back_color),
      fore_color_(fore_color),
      larghezza_(286),
      altezza_(221),
      scala_(larghezza_, altezza_, twips_per_pixel) {}

float SvgSurface::TwipsPerPixelX() { return twips_per_pixel_; }
float SvgSurface::TwipsPerPixelY() { return twips_per_pixel_; }

// A new size brings the scale back to twips, as on the pixel canvas.
void SvgSurface::Width(float twips) {
  larghezza_ = pixel_interi(twips, twips_per_pixel_, kCorniceOrizzontale);
  scala_ = ScalaUtente(larghezza_, altezza_, twips_per_pixel_);
}

void SvgSurface::Height(float twips) {
  altezza_ = pixel_interi(twips, twips_per_pixel_, kCorniceVerticale);
  scala_ = ScalaUtente(larghezza_, altezza_, twips_per_pixel_);
}

void SvgSurface::Scale(float x1, float y1, float x2, float y2) { scala_.Scale(x1, y1, x2, y2); }

// The centre of the pixel the pixel canvas paints.
double SvgSurface::colonna(float x) const { return scala_.colonna(x) + 0.5; }
double SvgSurface::riga(float y) const { return scala_.riga(y) + 0.5; }

void SvgSurface::chiudi() { elementi_ += "/>\n"; }

void SvgSurface::chiudi_segno() {
  if (segno_aperto_) elementi_ += "</g>\n";
  segno_aperto_ = false;
}

void SvgSurface::Line(float x1, float y1, float x2, float y2, Colore colore) {
  aggiungi(elementi_, {"<line x1=\"", numero(colonna(x1)), "\" y1=\"", numero(riga(y1)), "\" x2=\"",
                       numero(colonna(x2)), "\" y2=\"", numero(riga(y2)), "\" stroke=\"",
                       colore_svg(colore), colore == kColoreNO ? "\" class=\"no\"" : "\""});
  chiudi();
}

void SvgSurface::FillStyle(int stile) { fill_style_ = stile; }
void SvgSurface::FillColor(Colore colore) { fill_color_ = colore; }

void SvgSurface::Circle(float x, float y, float r, Colore colore) {
  const double raggio = scala_.lunghezza(r);
  if (!(raggio >= 0)) throw Failure("invalid radius");
  aggiungi(elementi_, {"<circle cx=\"", numero(colonna(x)), "\" cy=\"", numero(riga(y)), "\" r=\"",
                       numero(raggio), "\" stroke=\"", colore_svg(colore), "\" fill=\"",
                       fill_style_ == 0 ? colore_svg(fill_color_) : std::string("none"), "\""});
  chiudi();
}

void SvgSurface::CurrentX(float x) { current_x_ = x; }
void SvgSurface::CurrentY(float y) { current_y_ = y; }

// The pixel font's cells are 6 by 13 pixels with the baseline 10 down: a monospaced
// font of that advance stands where the pixel text stands.
void SvgSurface::Print(const std::string& testo) {
  chiudi_segno();
  aggiungi(elementi_, {"<text x=\"", numero(colonna(current_x_) - 0.5), "\" y=\"",
                       numero(riga(current_y_) - 0.5 + 10), "\">", EscapeXml(testo), "</text>\n"});
}

void SvgSurface::Cls() {
  elementi_.clear();
  segno_aperto_ = false;
  current_x_ = 0;
  current_y_ = 0;
}

void SvgSurface::ToolTipText(const std::string& testo) {
  chiudi_segno();
  if (testo.empty()) return;
  aggiungi(elementi_, {"<g><title>", EscapeXml(testo), "</title>\n"});
  segno_aperto_ = true;
}

Picture SvgSurface::Image() {
  const std::string w = std::to_string(larghezza_), h = std::to_string(altezza_);
  std::string svg;
  aggiungi(svg, {"<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 ",
                 w,
                 " ",
                 h,
                 "\" width=\"",
                 w,
                 "\" height=\"",
                 h,
                 "\" role=\"img\">\n<style>",
                 "line{stroke-width:1;stroke-linecap:square}circle{stroke-width:1}",
                 "line.no{stroke-dasharray:1.5 1.5;stroke-linecap:butt}",
                 "text{font:10px monospace;fill:",
                 colore_svg(fore_color_),
                 "}</style>\n",
                 "<rect width=\"100%\" height=\"100%\" fill=\"",
                 colore_svg(back_color_),
                 "\"/>\n",
                 elementi_,
                 segno_aperto_ ? "</g>\n" : "",
                 "</svg>\n"});
  Picture picture;
  picture.width = larghezza_;
  picture.height = altezza_;
  picture.document = std::move(svg);
  return picture;
}

}  // namespace fof1plot
