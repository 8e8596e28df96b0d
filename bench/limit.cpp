// The work of a fof1plot run that a user can observe, and nothing else: one listing of
// the sample directory, which finds the station file by fof1plot's rule and which of
// the six days' sample names exist; opens of those names only, each read to its line 7;
// each figure drawn with fof1plot's own drawing procedures and encoded straight to GIF;
// the twelve GIFs written with temporary file, fsync and rename. No temporary BMP, no
// lock, no archive rule, no diagnostics. Rome stations only. It writes the same GIF bytes
// as fof1plot; run it in the directory of gralvo.ini, like fof1plot.

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bitset>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "bench_files.h"
#include "canvas/gd_surface.h"
#include "canvas/plot_window.h"
#include "platform/text.h"
#include "run/form1.h"

namespace {

using namespace fof1plot;

// Only the drawing procedures of the plot window are used; its other parts stay idle.
struct Unused : ImageExport, Directory, Diagnostics {
  void Load(const std::string&) override {}
  void WriteGif(const std::string&, bool) override {}
  bool WriteNewGif(const std::string&, bool) override { return true; }
  void Release() override {}
  std::string Dir(const std::string&, const std::function<void(std::string_view)>&) override {
    return {};
  }
  void Kill(const std::string&) override {}
  std::string CurDir() override { return {}; }
  std::unique_ptr<DirectoryLock> Lock(const std::string&) override { return nullptr; }
  void Report(const Failure&) override {}
};

using Minutes = std::bitset<24 * 60>;

// The station file's name, and the samples of the six days by hour and minute.
std::string list(const std::string& data, const Form1& form, std::array<Minutes, 6>& samples) {
  DIR* dir = ::opendir(data.empty() ? "." : data.c_str());
  if (dir == nullptr) return {};
  std::string first;
  while (const dirent* e = ::readdir(dir)) {
    const char* name = e->d_name;
    if (name[0] == '.' || e->d_type == DT_DIR) continue;
    if (first.empty() || ::strcasecmp(name, first.c_str()) < 0) first = name;
    if (std::strlen(name) != 23 || ::strncasecmp(name, "RM041_", 6) != 0) continue;
    for (int k = 1; k <= 6; ++k) {
      if (std::strncmp(name + 6, form.mese_anno(k).c_str() + 2, 4) != 0 ||
          std::strncmp(name + 10, form.giorno_anno(k).c_str(), 3) != 0) {
        continue;
      }
      const int hour = (name[13] - '0') * 10 + (name[14] - '0');
      const int minute = (name[15] - '0') * 10 + (name[16] - '0');
      samples[static_cast<std::size_t>(k - 1)].set(static_cast<std::size_t>(hour * 60 + minute));
    }
  }
  ::closedir(dir);
  return first;
}

std::string gif_of(std::string bmp) {
  GdImage image(gdImageCreateFromBmpPtr(static_cast<int>(bmp.size()), bmp.data()));
  int size = 0;
  void* bytes = gdImageGifPtr(image.get(), &size);
  std::string gif(static_cast<const char*>(bytes), static_cast<std::size_t>(size));
  gdFree(bytes);
  return gif;
}

}  // namespace

int main() {
  SilenceLibgd();
  const auto [work, data, out] = bench::read_settings();

  GdSurface canvas(kTwipsPerPixel, kColoreSfondo, kColoreTesto);
  Unused unused;
  PosixTextFiles files;
  LocalClock clock;
  Form1 form(canvas, unused, files, unused, clock, unused);
  form.cartella_lavoro = work;
  form.riempi_minuti();
  form.calcola_giorni();
  form.impostazioni_dimensioni_e_scala_del_form();

  std::array<Minutes, 6> samples;
  const std::string station = list(data, form, samples);
  std::ifstream station_file(data + station);
  std::string first_line;
  std::getline(station_file, first_line);
  const bool rome = !station.empty() && first_line.rfind("Rome", 0) == 0;

  for (std::int16_t k = 1; k <= 6; ++k) {
    form.indice_giorno = k;
    form.disegno_dello_stage();
    form.grafico_previsione(form.mese_anno(k));
    std::int16_t x_last = 0, y_last = 0;
    for (int hour = 0; rome && hour < 24; ++hour) {
      for (int m = 1; m <= 60; ++m) {
        const int minute = m % 60;
        if (!samples[static_cast<std::size_t>(k - 1)].test(
                static_cast<std::size_t>(hour * 60 + minute))) {
          continue;
        }
        char name[32];
        std::snprintf(name, sizeof name, "RM041_%s%s%02d%02d00.TXT",
                      Mid(form.mese_anno(k), 3, 4).c_str(), form.giorno_anno(k).c_str(), hour,
                      minute);
        std::string field;
        if (form.leggi_campo_valore(data + name, field)) {
          form.disegna_campione(static_cast<std::int16_t>(hour), minute, field, x_last, y_last);
        }
      }
    }
    canvas.CurrentX(75);
    canvas.CurrentY(180);
    canvas.Print("Date: " + form.data_etichetta(k));
    const std::string gif = gif_of(canvas.Image());
    bench::write_figure(out + "plotfoF1" + std::to_string(k) + ".gif", gif);
    bench::write_figure(
        work + "previous_foF1_plots/" + Mid(form.mese_anno(k), 3, 4) + form.giorno_anno(k) + ".gif",
        gif);
    canvas.Cls();
  }
  return 0;
}
