// The work of a fof1plot run that a user can observe, and nothing else: one listing of the sample
// directory, which finds the station file by fof1plot's rule and which of the days' sample names
// exist; opens of those names only, relative to the directory's descriptor, each read to its line 7
// with one read; each figure drawn with fof1plot's own drawing procedures and its GIF encoded from
// the canvas's palette image; the GIFs, the CSV files of the values and, after a daily run, a
// status.json of the same size written with temporary file, fsync and rename, each only where the
// file there holds other bytes (an archived figure without values only where none is yet, a
// published CSV as a link to the archived one). No lock, no archive rule beyond that, no record of
// unread files, no diagnostics, no site. Rome stations only. It writes the same GIF bytes as
// fof1plot; run it in the directory of gralvo.ini, like fof1plot.
//
//   fof1plot_bench_limit                          the daily run: six days ending today
//   fof1plot_bench_limit --archive FIRST LAST     a back-fill (yyyy-mm-dd), nothing published

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bitset>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "bench_files.h"
#include "canvas/gd_surface.h"
#include "canvas/plot_window.h"
#include "forecast/forecast_values.h"
#include "platform/text.h"
#include "platform/value_field.h"
#include "run/form1.h"

namespace {

using namespace fof1plot;
using namespace std::chrono;

// Only the drawing procedures of the plot window are used; its other parts stay idle.
struct Unused : ImageExport, Directory, Diagnostics {
  void Load(const Picture&) override {}
  WriteResult WriteGif(const std::string&, bool) override { return WriteResult::kCreated; }
  bool WriteNewGif(const std::string&, bool) override { return true; }
  std::set<Colore> GifColours(const std::string&) override { return {}; }
  void Release() override {}
  std::string Dir(const std::string&, const std::function<void(std::string_view)>&) override {
    return {};
  }
  std::optional<FileIdentity> Identity(const std::string&) override { return std::nullopt; }
  void MkDir(const std::string&) override {}
  std::string CurDir() override { return {}; }
  std::unique_ptr<DirectoryLock> Lock(const std::string&) override { return nullptr; }
  void Report(const Failure&) override {}
  void Warn(const std::string&) override {}
};

using Minutes = std::bitset<24 * 60>;

// The station file's name, and the samples of the days from first to last by hour and
// minute, keyed by "yyyyddd".
std::string list(int directory, sys_days first, sys_days last,
                 std::map<std::string, Minutes>& samples) {
  DIR* dir = ::fdopendir(::dup(directory));
  if (dir == nullptr) return {};
  const auto key = [](sys_days day) {
    const year_month_day ymd{day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d%03d", static_cast<int>(ymd.year()),
                  static_cast<int>((day - sys_days{ymd.year() / January / 1}).count()) + 1);
    return std::string(text);
  };
  const std::string from = key(first), to = key(last);
  std::string first_file;
  while (const dirent* e = ::readdir(dir)) {
    const char* name = e->d_name;
    if (name[0] == '.' || e->d_type == DT_DIR) continue;
    if (first_file.empty() || ::strcasecmp(name, first_file.c_str()) < 0) first_file = name;
    if (std::strlen(name) != 23 || ::strncasecmp(name, "RM041_", 6) != 0) continue;
    const std::string day(name + 6, 7);
    if (day < from || day > to) continue;
    const int hour = (name[13] - '0') * 10 + (name[14] - '0');
    const int minute = (name[15] - '0') * 10 + (name[16] - '0');
    samples[day].set(static_cast<std::size_t>(hour * 60 + minute));
  }
  ::closedir(dir);
  return first_file;
}

// Characters 16 to 19 of line 7 of the sample `name`, opened relative to the directory;
// false for a file with fewer than seven lines or none.
bool value_field(int directory, const char* name, std::string& field) {
  const int fd = ::openat(directory, name, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char text[1024];
  const ssize_t got = ::read(fd, text, sizeof text);
  ::close(fd);
  const char* line = text;
  const char* const end = text + std::max<ssize_t>(got, 0);
  for (int n = 1; n < 7 && line < end; ++n) {
    line = static_cast<const char*>(std::memchr(line, '\n', static_cast<std::size_t>(end - line)));
    if (line == nullptr) return false;
    ++line;
  }
  if (line >= end) return false;
  const char* stop =
      static_cast<const char*>(std::memchr(line, '\n', static_cast<std::size_t>(end - line)));
  const std::string_view seventh(line, static_cast<std::size_t>((stop ? stop : end) - line));
  field = seventh.size() > 15 ? std::string(seventh.substr(15, 4)) : std::string();
  return true;
}

std::string gif_of(const Picture& picture) {
  GdImage image(gdImageCreate(picture.width, picture.height));
  for (const Colore c : picture.palette) {
    gdImageColorAllocate(image.get(), Rosso(c), Verde(c), Blu(c));
  }
  for (int row = 0; row < picture.height; ++row) {
    std::memcpy(image->pixels[row], picture.pixels.data() + row * picture.width,
                static_cast<std::size_t>(picture.width));
  }
  int size = 0;
  void* bytes = gdImageGifPtr(image.get(), &size);
  std::string gif(static_cast<const char*>(bytes), static_cast<std::size_t>(size));
  gdFree(bytes);
  return gif;
}

// The day's values as the program's CSV holds them, beside the forecast curve: minute 00
// first in its hour.
std::string csv_of(const RegistroFigura& figure) {
  std::vector<CampioneRegistrato> rows = figure.campioni;
  const sys_days day = figure.data;
  std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
    return a.ora * 60 + a.minuto < b.ora * 60 + b.minuto;
  });
  const year_month_day ymd{day};
  std::string csv = "time_utc,foF1_MHz,field,forecast_MHz,deviation_MHz\n";
  for (const CampioneRegistrato& row : rows) {
    char time[40];
    std::snprintf(time, sizeof time, "%04d-%02u-%02uT%02d:%02d:00Z,", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()), row.ora,
                  row.minuto);
    csv += time;
    if (row.tipo == TipoCampo::kValore) csv += in_mhz(row.decimi);
    csv += ',';
    csv += row.campo_valore();
    csv += ',';
    const auto forecast = previsione_al_campione(figure.previsione, row.ora, row.minuto);
    if (forecast) csv += centesimi_in_mhz(*forecast);
    csv += ',';
    if (forecast && row.tipo == TipoCampo::kValore) {
      csv += centesimi_in_mhz(static_cast<int>(10 * std::llround(row.decimi)) - *forecast);
    }
    csv += '\n';
  }
  return csv;
}

// A status.json of the program's shape and size: the run, then per day its counts.
std::string status_of(const Corsa& corsa, const std::string& station) {
  nlohmann::ordered_json days = nlohmann::ordered_json::array();
  for (const RegistroFigura& f : corsa.figure()) {
    nlohmann::ordered_json forecast = nlohmann::ordered_json::array();
    for (const auto& v : f.previsione) forecast.push_back(v ? *v / 10.0 : 0.0);
    days.push_back({{"slot", f.slot},
                    {"day_of_year", f.giorno_anno},
                    {"figure", "plotfoF1" + std::to_string(f.slot) + ".gif"},
                    {"data", "plotfoF1" + std::to_string(f.slot) + ".csv"},
                    {"samples", f.campioni.size()},
                    {"forecast_MHz", forecast}});
  }
  const nlohmann::ordered_json status = {{"program", "fof1plot"},
                                         {"station", station},
                                         {"exit_status", 0},
                                         {"failures", nlohmann::ordered_json::array()},
                                         {"days", days}};
  return status.dump(2) + "\n";
}

sys_days date(const char* text) {
  int y = 0;
  unsigned m = 0, d = 0;
  std::sscanf(text, "%d-%u-%u", &y, &m, &d);
  return year{y} / month{m} / day{d};
}

}  // namespace

int main(int argc, char* argv[]) {
  SilenceLibgd();
  const auto [work, data, out] = bench::read_settings();
  const bool backfill = argc == 4 && std::strcmp(argv[1], "--archive") == 0;

  GdSurface canvas(kTwipsPerPixel, kColoreSfondo, kColoreTesto);
  Unused unused;
  PosixTextFiles files;
  LocalClock clock;
  PosixFileWriter writer;
  Corsa corsa(files, unused, clock, unused, writer);
  Form1 form(canvas, unused, corsa);
  form.cartella_lavoro = work;
  form.riempi_minuti();
  form.impostazioni_dimensioni_e_scala_del_form();
  const sys_days first = backfill ? date(argv[2]) : corsa.oggi() - days{5};
  const sys_days last = backfill ? date(argv[3]) : corsa.oggi();

  const int directory =
      ::open(data.empty() ? "." : data.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  std::map<std::string, Minutes> samples;
  const std::string station = list(directory, first, last, samples);
  std::string first_line;
  char head[256];
  const int station_fd = ::openat(directory, station.c_str(), O_RDONLY | O_CLOEXEC);
  const ssize_t got = station_fd < 0 ? 0 : ::read(station_fd, head, sizeof head);
  if (station_fd >= 0) ::close(station_fd);
  first_line.assign(head, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
  first_line.resize(std::min(first_line.find('\n'), first_line.size()));
  const bool rome = !station.empty() && first_line.rfind("Rome", 0) == 0;

  form.indice_giorno = 1;
  int slot = backfill ? 0 : 1;
  for (sys_days giorno = first; giorno <= last; giorno += days{1}, ++slot) {
    form.calcola_giorno(1, giorno);
    corsa.nuova_figura(slot, giorno);
    form.disegno_dello_stage();
    form.grafico_previsione(form.mese_anno(1));
    const std::string key = Mid(form.mese_anno(1), 3, 4) + form.giorno_anno(1);
    const auto found = samples.find(key);
    std::int16_t x_last = 0, y_last = 0;
    bool values = false;
    corsa.figura().campioni.reserve(found == samples.end() ? 0 : found->second.count());
    for (int hour = 0; rome && found != samples.end() && hour < 24; ++hour) {
      for (int m = 1; m <= 60; ++m) {
        const int minute = m % 60;
        if (!found->second.test(static_cast<std::size_t>(hour * 60 + minute))) continue;
        char name[32];
        std::snprintf(name, sizeof name, "RM041_%s%02d%02d00.TXT", key.c_str(), hour, minute);
        std::string field;
        if (value_field(directory, name, field)) {
          CampioneRegistrato& row = corsa.figura().campioni.emplace_back();
          row.ora = static_cast<std::uint8_t>(hour);
          row.minuto = static_cast<std::uint8_t>(minute);
          form.disegna_campione(static_cast<std::int16_t>(hour), minute, field, x_last, y_last);
          values = true;
        }
      }
    }
    canvas.CurrentX(75);
    canvas.CurrentY(180);
    canvas.Print("Date: " + form.data_etichetta(1));
    const std::string gif = gif_of(canvas.Image());
    const std::string archived = work + "previous_foF1_plots/" + key + ".gif";
    const std::string archived_csv = work + "previous_foF1_data/" + key + ".csv";
    struct stat info;
    const bool archive = values || ::lstat(archived.c_str(), &info) != 0;
    if (archive) {
      bench::write_if_changed(archived, gif);
      bench::write_if_changed(archived_csv, csv_of(corsa.figura()));
    }
    if (!backfill) {
      const std::string published = out + "plotfoF1" + std::to_string(slot);
      bench::write_if_changed(published + ".gif", gif);
      if (archive) {
        bench::link_if_changed(archived_csv, published + ".csv");
      } else {
        bench::write_if_changed(published + ".csv", csv_of(corsa.figura()));
      }
    }
    canvas.Cls();
  }
  if (!backfill) bench::write_figure(out + "status.json", status_of(corsa, first_line));
  return 0;
}
