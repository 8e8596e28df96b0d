// The file-system work that any program drawing the six figures from a station tree
// must do, and nothing else: per day slot, one full scan of the sample directory for
// its station file and the reading of that file's first line; the day's 1440 open
// attempts with the names fof1plot tries, reading the files that open up to their
// seventh line; and two figure-sized files written as fof1plot writes its GIFs
// (temporary file, fsync, rename), into floor/ beside the published and the archived
// figures, whose bytes are left to fof1plot and the limit, each of which compares before
// it writes. Run in the directory of gralvo.ini, like fof1plot.
//
//   fof1plot_bench_floor <figure size in bytes, default 2700>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "bench_files.h"

namespace {

using namespace std::chrono;

void scan(const std::string& dir) {
  DIR* d = ::opendir(dir.c_str());
  if (d == nullptr) return;
  std::string first;
  while (const dirent* e = ::readdir(d)) {
    if (e->d_name[0] != '.' && (first.empty() || first > e->d_name)) first = e->d_name;
  }
  ::closedir(d);
  const int fd = ::open((dir + first).c_str(), O_RDONLY);
  if (fd < 0) return;
  char buffer[4096];
  if (::read(fd, buffer, sizeof buffer) < 0) std::perror("read");
  ::close(fd);
}

// Reads an open sample file up to its seventh line end.
void read_sample(int fd) {
  char buffer[4096];
  int lines = 0;
  ssize_t got;
  while (lines < 7 && (got = ::read(fd, buffer, sizeof buffer)) > 0) {
    for (ssize_t i = 0; i < got; ++i) lines += buffer[i] == '\n';
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t size = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 2700;
  const auto [work, data, out] = bench::read_settings();
  const std::string figure(size, 'g');
  ::mkdir((out + "floor").c_str(), 0755);
  ::mkdir((work + "floor").c_str(), 0755);

  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  const sys_days today{year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday};
  for (int k = 1; k <= 6; ++k) {
    const year_month_day d{today - days{6 - k}};
    const int day = static_cast<int>((sys_days{d} - sys_days{d.year() / January / 1}).count()) + 1;
    scan(data);
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "RM041_%04d%03d", static_cast<int>(d.year()), day);
    for (int hour = 0; hour < 24; ++hour) {
      for (int m = 1; m <= 60; ++m) {
        char name[64];
        std::snprintf(name, sizeof name, "%s%02d%02d00.TXT", prefix, hour, m % 60);
        const int fd = ::open((data + name).c_str(), O_RDONLY);
        if (fd < 0) continue;
        read_sample(fd);
        ::close(fd);
      }
    }
    char archived[32];
    std::snprintf(archived, sizeof archived, "%04d%03d.gif", static_cast<int>(d.year()), day);
    bench::write_figure(out + "floor/plotfoF1" + std::to_string(k) + ".gif", figure);
    bench::write_figure(work + "floor/" + archived, figure);
  }
  return 0;
}
