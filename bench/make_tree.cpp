// Writes a benchmark tree for fof1plot: gralvo.ini, forecast files, and a Rome station
// directory holding five-minute sample files for the days ending today (local date),
// values by day and "N/A" or "NO" by night, nine lines each.
//
//   fof1plot_bench_tree <directory> [days, default 365] [other files, default 0]
//
// With 0 days the sample directory is left empty.
//
// Other files are empty files with names that sort after the samples; they make the
// directory as large as wanted without changing what a run draws.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

using namespace std::chrono;

void write_file(const std::string& path, const std::string& text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()) ||
      ::close(fd) != 0) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

void make_dir(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
    std::fprintf(stderr, "cannot create %s\n", path.c_str());
    std::exit(1);
  }
}

year_month_day today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  return year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday;
}

std::string sample(int ora, int minuto, unsigned caso) {
  char campo[8];
  if (ora < 6 || ora > 16) {
    std::snprintf(campo, sizeof campo, "%s", caso % 7 == 0 ? "NO" : "N/A");
  } else {
    std::snprintf(campo, sizeof campo, "%4.1f", 3.5 + 0.1 * (caso % 20));
  }
  char testo[512];
  std::snprintf(testo, sizeof testo,
                "Rome  bench autoscaling %02d:%02d UT\r\nline 2\r\nline 3\r\nline 4\r\nline 5\r\n"
                "line 6\r\n%-15s%4s MHz\r\nline 8\r\nline 9\r\n",
                ora, minuto, "foF1   (MHz):", campo);
  return testo;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: fof1plot_bench_tree <directory> [days] [other files]\n");
    return 2;
  }
  const std::string base = argv[1];
  const int giorni = argc > 2 ? std::atoi(argv[2]) : 365;
  const long altri = argc > 3 ? std::atol(argv[3]) : 0;
  const std::string work = base + "/work/", data = base + "/data/", out = base + "/out/";
  for (const std::string& d : {base, work, work + "previous_foF1_plots", data, out}) make_dir(d);
  write_file(base + "/gralvo.ini",
             "work\r\n" + work + "\r\ndata\r\n" + data + "\r\nout\r\n" + out + "\r\n");
  // No days: an empty sample directory, not even a station file.
  if (giorni > 0) write_file(data + "000_station.txt", "Rome  bench station\r\n");
  std::string previsione = "forecast\r\n";
  for (int ora = 0; ora < 24; ++ora) previsione += ora < 6 || ora > 16 ? "  0.0" : "  4.5";
  for (int y = 0; y < 2; ++y) {
    for (unsigned m = 1; m <= 12; ++m) {
      char nome[16];
      std::snprintf(nome, sizeof nome, "%02u%04d.txt", m, static_cast<int>(today().year()) - y);
      write_file(work + nome, previsione + "\r\n");
    }
  }
  unsigned caso = 12345;
  const year_month_day oggi = today();
  for (int scarto = giorni - 1; scarto >= 0; --scarto) {
    const year_month_day d{sys_days{oggi} - days{scarto}};
    const int giorno_anno =
        static_cast<int>((sys_days{d} - sys_days{d.year() / January / 1}).count()) + 1;
    for (int ora = 0; ora < 24; ++ora) {
      for (int minuto = 0; minuto < 60; minuto += 5) {
        caso = caso * 1103515245u + 12345u;
        char nome[64];
        std::snprintf(nome, sizeof nome, "RM041_%04d%03d%02d%02d00.TXT", static_cast<int>(d.year()),
                      giorno_anno, ora, minuto);
        write_file(data + nome, sample(ora, minuto, (caso >> 16) % 1000));
      }
    }
  }
  for (long n = 0; n < altri; ++n) {
    char nome[48];
    std::snprintf(nome, sizeof nome, "zz_other_%08ld.dat", n);
    write_file(data + nome, "");
  }
  return 0;
}
