#pragma once

#include <string>
#include <vector>

#include "canvas/colors.h"
#include "platform/libgd.h"

namespace fof1plot::test {

// The colours of a figure.
constexpr Colore kNero = RGB(0, 0, 0);
constexpr Colore kRosso = RGB(255, 0, 0);
constexpr Colore kBianco = RGB(255, 255, 255);
constexpr Colore kVerde = RGB(0, 255, 0);
constexpr Colore kArancio = RGB(255, 153, 0);
constexpr Colore kGiallo = RGB(255, 255, 0);
constexpr Colore kGrigio = RGB(100, 100, 100);
constexpr Colore kTesto = RGB(255, 255, 128);

// The pixel of a point in the figure's user coordinates: column x + 35, row 185 - y.
template <typename Figura>
Colore in_utente(const Figura& figura, int x, int y) {
  return figura.colore_pixel(x + 35, 185 - y);
}

// A fresh directory under the system's temporary folder, removed with its content when
// the object goes.
class CartellaTemporanea {
 public:
  CartellaTemporanea();
  ~CartellaTemporanea();
  CartellaTemporanea(const CartellaTemporanea&) = delete;
  CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;
  // The directory's path followed by "/" and the relative name.
  std::string operator/(const std::string& nome) const;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

void scrivi(const std::string& path, const std::string& contenuto);
bool esiste(const std::string& path);
void crea_cartella(const std::string& path);

// A GIF file decoded; a file that is not a whole GIF of the figure's size fails the test
// that asks for its pixels.
class FiguraGif {
 public:
  explicit FiguraGif(const std::string& path);
  bool valida() const { return immagine_ != nullptr; }
  int larghezza() const;
  int altezza() const;
  Colore pixel(int colonna, int riga) const;
  // The pixel of a point in the figure's user coordinates.
  Colore in_utente(int x, int y) const { return pixel(x + 35, 185 - y); }
  // How many pixels carry a colour.
  int conta(Colore colore) const;

 private:
  GdImage immagine_;
};

// What a run of the program left: its exit status (-1 when it did not exit) and what it
// wrote on stdout and stderr.
struct Esito {
  int stato = -1;
  std::string uscita;
  std::string errori;
};

// Runs the built program in a directory as cron would, with the clock set to a local
// time such as "2025-01-03 10:00:00" in time zone UTC, with the given arguments; as the
// unprivileged user nobody when asked (the caller must be root then).
Esito avvia_fof1plot(const std::string& cartella, const std::string& ora_locale,
                     const std::vector<std::string>& argomenti = {}, bool come_nobody = false);
// The same, without arguments; only the exit status.
int esegui_fof1plot(const std::string& cartella, const std::string& ora_locale);

// The settings file that points the program at work/, data/ and out/ of a directory.
std::string impostazioni_per(const std::string& cartella);

}  // namespace fof1plot::test
