// Writes a demo station tree for fof1plot: gralvo.ini, forecast files, a Rome station
// directory with quarter-hour sample files for the days ending on a given date (six
// unless told), an empty archive folder and an empty output directory. With a time, the
// last day's samples stop there, as a station's would at that moment.
//
//   fof1plot_demo_station <directory> [yyyy-mm-dd [days [hh:mm [station]]]]
//   (default: today, local; 6 days; the whole day; Rome)
//
// The station is Rome, Gibi (Gibilmanna, which names its files as kind 1 does: two-digit
// year, hour as a letter) or Tucu (Tucuman, kind 2).

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <set>
#include <string>

namespace {

using namespace std::chrono;

constexpr double kPi = 3.14159265358979323846;
// Local noon at Rome, in hours UT, and the half-width of the F1 layer's daylight window.
constexpr double kMezzogiornoUt = 11.2;
constexpr double kSemiDurata = 4.5;

void write_file(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) {
    std::cerr << "cannot write " << path << "\n";
    std::exit(1);
  }
}

void make_dir(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
    std::cerr << "cannot create " << path << "\n";
    std::exit(1);
  }
}

std::string printf_string(const char* format, auto... values) {
  char text[256];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

// A plausible foF1 at an hour UT: a daylight arc from about 3.5 MHz at its edges to
// about 5.5 MHz near local noon; 0 outside daylight.
double fof1_at(double ora_ut, int giorno_anno) {
  const double x = (ora_ut - kMezzogiornoUt) / kSemiDurata;
  if (std::abs(x) >= 1) return 0;
  const double stagione = 0.3 * std::cos(2 * kPi * (giorno_anno - 172) / 365.0);
  return 3.5 + (2.0 + stagione) * std::cos(x * kPi / 2);
}

// A small deterministic generator, so a demo for a date always looks the same.
unsigned next_random(unsigned& state) {
  state = state * 1103515245u + 12345u;
  return (state >> 16) & 0x7FFF;
}

int day_of_year(year_month_day d) {
  return static_cast<int>((sys_days{d} - sys_days{d.year() / January / 1}).count()) + 1;
}

std::string month_key(year_month_day d) {
  return printf_string("%02u%04d", static_cast<unsigned>(d.month()), static_cast<int>(d.year()));
}

void write_forecast(const std::string& work, year_month_day d) {
  std::string riga;
  for (int ora = 0; ora < 24; ++ora)
    riga += printf_string("%5.1f", fof1_at(ora + 0.5, day_of_year(d)));
  write_file(work + month_key(d) + ".txt",
             printf_string("foF1 forecast %02u/%04d, hours 0-23 UT, MHz\r\n",
                           static_cast<unsigned>(d.month()), static_cast<int>(d.year())) +
                 riga + "\r\n");
}

// One sample file: line 1 names the station, line 7 carries the value in columns 16-19.
std::string sample_text(year_month_day d, int ora, int minuto, const std::string& campo) {
  return printf_string("Rome  demo autoscaling  %04d-%02u-%02u %02d:%02d UT\r\n",
                       static_cast<int>(d.year()), static_cast<unsigned>(d.month()),
                       static_cast<unsigned>(d.day()), ora, minuto) +
         "sounding: vertical, 1-16 MHz\r\nfoF2   (MHz):  6.2\r\nh'F    (km) :  230\r\n"
         "foE    (MHz):  2.9\r\nM3000F2     :  3.1\r\n" +
         printf_string("%-15s%4s\r\n", "foF1   (MHz):", campo.c_str()) + "end of record\r\n";
}

// The name a station of the given kind gives the sample of a minute.
std::string sample_name(const std::string& stazione, year_month_day d, int ora, int minuto) {
  const int anno = static_cast<int>(d.year());
  if (stazione == "Gibi") {
    return printf_string("%02d%03d%c%02d.TXT", anno % 100, day_of_year(d), 'A' + ora, minuto);
  }
  if (stazione == "Tucu") {
    return printf_string("TUJ2O_%04d%03d%02d%02d.TXT", anno, day_of_year(d), ora, minuto);
  }
  return printf_string("RM041_%04d%03d%02d%02d00.TXT", anno, day_of_year(d), ora, minuto);
}

// The day's samples up to `fino` minutes of the day, included.
void write_samples(const std::string& data, const std::string& stazione, year_month_day d,
                   int fino) {
  // Each station has days of its own; Rome's are those of the single-station demo.
  unsigned state = static_cast<unsigned>(day_of_year(d) * 7919 + static_cast<int>(d.year())) +
                   (stazione == "Rome" ? 0u : static_cast<unsigned>(stazione[0]) * 104729u);
  // Tucuman, in the southern summer in March, sees a higher F1 layer.
  const double scala = stazione == "Tucu" ? 1.15 : 1.0;
  // Each day lies somewhat above or below the month's forecast.
  const double scarto_del_giorno = (static_cast<int>(next_random(state) % 41) - 20) / 40.0;
  for (int ora = 0; ora < 24; ++ora) {
    for (int minuto : {0, 15, 30, 45}) {
      const unsigned caso = next_random(state) % 100;
      if (caso < 6 || ora * 60 + minuto > fino) continue;  // no ionogram at this quarter hour
      const double v = scala * fof1_at(ora + minuto / 60.0, day_of_year(d));
      std::string campo = "N/A";
      // At least one "NO" a day, at 13:45 UT, so that every kind of mark shows.
      if (v > 0 && (caso < 12 || (ora == 13 && minuto == 45))) {
        campo = "NO";
      } else if (v > 0) {
        const double rumore = (static_cast<int>(next_random(state) % 21) - 10) / 40.0;
        campo = printf_string("%4.1f", v + scarto_del_giorno + rumore);
      }
      write_file(data + sample_name(stazione, d, ora, minuto), sample_text(d, ora, minuto, campo));
    }
  }
}

year_month_day today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  return year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday;
}

bool parse_date(const char* text, year_month_day& d) {
  int y = 0;
  unsigned m = 0, g = 0;
  if (std::sscanf(text, "%d-%u-%u", &y, &m, &g) != 3) return false;
  d = year{y} / m / g;
  return d.ok();
}

}  // namespace

int main(int argc, char** argv) {
  year_month_day oggi = today();
  const int giorni = argc >= 4 ? std::atoi(argv[3]) : 6;
  unsigned ore = 23, minuti = 59;
  const std::string stazione = argc == 6 ? argv[5] : "Rome";
  if (argc < 2 || argc > 6 || (argc >= 3 && !parse_date(argv[2], oggi)) || giorni < 1 ||
      giorni > 366 ||
      (argc >= 5 &&
       (std::sscanf(argv[4], "%2u:%2u", &ore, &minuti) != 2 || ore > 23 || minuti > 59)) ||
      (stazione != "Rome" && stazione != "Gibi" && stazione != "Tucu")) {
    std::cerr << "usage: fof1plot_demo_station <directory> [yyyy-mm-dd [days [hh:mm "
                 "[Rome|Gibi|Tucu]]]]\n";
    return 2;
  }
  const std::string base = argv[1];
  const std::string work = base + "/work/", data = base + "/data/", out = base + "/out/";
  for (const std::string& d : {base, work, work + "previous_foF1_plots", data, out}) make_dir(d);
  write_file(base + "/gralvo.ini", "work directory (forecasts, archive)\r\n" + work +
                                       "\r\nsample directory\r\n" + data +
                                       "\r\noutput directory (web)\r\n" + out + "\r\n");
  write_file(data + "000_station.txt", stazione + "  demo station file\r\n");
  std::set<std::string> mesi;
  for (int scarto = 1 - giorni; scarto <= 0; ++scarto) {
    const year_month_day d{sys_days{oggi} + days{scarto}};
    if (mesi.insert(month_key(d)).second) write_forecast(work, d);
    write_samples(data, stazione, d, scarto == 0 ? static_cast<int>(ore * 60 + minuti) : 24 * 60);
  }
  return 0;
}
