#include "canvas/gd_surface.h"

#include <gdfonts.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/failure.h"
#include "platform/whole_file.h"

namespace fof1plot {
namespace {

constexpr int kLarghezzaIniziale = 286;
constexpr int kAltezzaIniziale = 221;
constexpr int kLatoMassimo = 32767;

// Far enough off the canvas to be clipped, near enough for exact integer arithmetic.
constexpr double kLimiteCoordinata = 1e12;

std::int64_t nearest_pixel(double v) {
  if (std::isnan(v)) throw Failure("invalid coordinate");
  return static_cast<std::int64_t>(
      std::floor(std::clamp(v, -kLimiteCoordinata, kLimiteCoordinata) + 0.5));
}

}  // namespace

GdSurface::GdSurface(float twips_per_pixel, Colore back_color, Colore fore_color)
    : twips_per_pixel_(twips_per_pixel), back_color_(back_color), fore_color_(fore_color) {
  SilenceLibgd();
  ridimensiona(kLarghezzaIniziale, kAltezzaIniziale);
}

float GdSurface::TwipsPerPixelX() { return twips_per_pixel_; }
float GdSurface::TwipsPerPixelY() { return twips_per_pixel_; }

void GdSurface::Width(float twips) {
  ridimensiona(nearest_pixel(twips / twips_per_pixel_) - kCorniceOrizzontale, altezza());
}

void GdSurface::Height(float twips) {
  ridimensiona(larghezza(), nearest_pixel(twips / twips_per_pixel_) - kCorniceVerticale);
}

void GdSurface::Scale(float x1, float y1, float x2, float y2) { scala_.Scale(x1, y1, x2, y2); }

void GdSurface::Line(float x1, float y1, float x2, float y2, Colore colore) {
  const int indice = indice_colore(colore);
  traccia_linea(pixel_di(x1, y1), pixel_di(x2, y2), larghezza(), altezza(),
                [&](std::int64_t c, std::int64_t r) { dipingi(c, r, indice); });
}

void GdSurface::FillStyle(int stile) { fill_style_ = stile; }
void GdSurface::FillColor(Colore colore) { fill_color_ = colore; }

void GdSurface::Circle(float x, float y, float r, Colore colore) {
  const std::int64_t raggio = nearest_pixel(scala_.lunghezza(r));
  if (raggio < 0 || raggio > std::max(larghezza(), altezza())) throw Failure("invalid radius");
  const int bordo = indice_colore(colore);
  const int interno = fill_style_ == 0 ? indice_colore(fill_color_) : -1;
  traccia_disco(
      pixel_di(x, y), raggio, [&](std::int64_t c, std::int64_t rg) { dipingi(c, rg, bordo); },
      [&](std::int64_t c, std::int64_t rg) {
        if (interno >= 0) dipingi(c, rg, interno);
      });
}

void GdSurface::CurrentX(float x) { current_x_ = x; }
void GdSurface::CurrentY(float y) { current_y_ = y; }

void GdSurface::Print(const std::string& testo) {
  const Pixel inizio = pixel_di(current_x_, current_y_);
  const auto limite = [](std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, -100000, 100000));
  };
  std::string copia = testo;
  gdImageString(immagine_.get(), gdFontGetSmall(), limite(inizio.colonna), limite(inizio.riga),
                reinterpret_cast<unsigned char*>(copia.data()), indice_colore(fore_color_));
}

void GdSurface::Cls() { pulisci(); }

// The picture's palette holds the colours its pixels use, in ascending order of their
// value, whatever order the drawing first used them in and whatever earlier figures
// added to the canvas's palette: the same pixels always give the same picture, and
// the same GIF bytes.
Picture GdSurface::Image() {
  const gdImagePtr im = immagine_.get();
  Picture picture;
  picture.width = larghezza();
  picture.height = altezza();
  std::array<bool, gdMaxColors> usato{};
  for (int riga = 0; riga < picture.height; ++riga) {
    for (int c = 0; c < picture.width; ++c) usato[im->pixels[riga][c]] = true;
  }
  std::vector<std::pair<Colore, int>> colori;
  for (int i = 0; i < gdImageColorsTotal(im); ++i) {
    if (usato[i])
      colori.emplace_back(RGB(gdImageRed(im, i), gdImageGreen(im, i), gdImageBlue(im, i)), i);
  }
  std::sort(colori.begin(), colori.end());
  std::array<std::uint8_t, gdMaxColors> nuovo{};
  for (std::size_t n = 0; n < colori.size(); ++n) {
    picture.palette.push_back(colori[n].first);
    nuovo[colori[n].second] = static_cast<std::uint8_t>(n);
  }
  picture.pixels.resize(static_cast<std::size_t>(picture.width) *
                        static_cast<std::size_t>(picture.height));
  std::uint8_t* destinazione = picture.pixels.data();
  for (int riga = 0; riga < picture.height; ++riga) {
    for (int c = 0; c < picture.width; ++c) *destinazione++ = nuovo[im->pixels[riga][c]];
  }
  return picture;
}

int GdSurface::larghezza() const { return gdImageSX(immagine_.get()); }
int GdSurface::altezza() const { return gdImageSY(immagine_.get()); }

Colore GdSurface::colore_pixel(int colonna, int riga) const {
  if (colonna < 0 || riga < 0 || colonna >= larghezza() || riga >= altezza()) {
    throw Failure("pixel outside the canvas");
  }
  const int indice = gdImagePalettePixel(immagine_.get(), colonna, riga);
  return RGB(gdImageRed(immagine_.get(), indice), gdImageGreen(immagine_.get(), indice),
             gdImageBlue(immagine_.get(), indice));
}

void GdSurface::ridimensiona(std::int64_t larghezza, std::int64_t altezza) {
  if (larghezza < 1 || altezza < 1 || larghezza > kLatoMassimo || altezza > kLatoMassimo) {
    throw Failure("window size out of range");
  }
  GdImage nuova(gdImageCreate(static_cast<int>(larghezza), static_cast<int>(altezza)));
  if (!nuova) throw Failure("cannot create the canvas");
  immagine_ = std::move(nuova);
  scala_ = ScalaUtente(static_cast<int>(larghezza), static_cast<int>(altezza), twips_per_pixel_);
  pulisci();
}

void GdSurface::pulisci() {
  // Row by row: libgd's rectangle fill sets one pixel at a time.
  const int sfondo = indice_colore(back_color_);
  for (int riga = 0; riga < altezza(); ++riga) {
    std::memset(immagine_->pixels[riga], sfondo, static_cast<std::size_t>(larghezza()));
  }
  current_x_ = 0;
  current_y_ = 0;
}

Pixel GdSurface::pixel_di(float x, float y) const {
  return {nearest_pixel(scala_.colonna(x)), nearest_pixel(scala_.riga(y))};
}

int GdSurface::indice_colore(Colore colore) {
  gdImagePtr im = immagine_.get();
  int indice = gdImageColorExact(im, Rosso(colore), Verde(colore), Blu(colore));
  if (indice < 0) indice = gdImageColorAllocate(im, Rosso(colore), Verde(colore), Blu(colore));
  if (indice < 0) throw Failure("palette full");
  return indice;
}

void GdSurface::dipingi(std::int64_t colonna, std::int64_t riga, int indice) {
  if (colonna < 0 || riga < 0 || colonna >= larghezza() || riga >= altezza()) return;
  gdImageSetPixel(immagine_.get(), static_cast<int>(colonna), static_cast<int>(riga), indice);
}

}  // namespace fof1plot
