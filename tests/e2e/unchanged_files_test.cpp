#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "platform/whole_file.h"
#include "support/station_tree.h"

namespace fof1plot {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

// Where a file is and when it was written: a file written again, even with the same
// bytes, gets a new inode (it takes its name by rename) and a new time.
struct Identita {
  ino_t inode;
  std::int64_t mtime_ns;
  bool operator==(const Identita&) const = default;
};

// Every ordinary file of the output and archive directories, by its path in the tree.
std::map<std::string, Identita> identita(const test::CartellaTemporanea& cartella) {
  std::map<std::string, Identita> file;
  for (const char* c : {"out", "work/previous_foF1_plots", "work/previous_foF1_data"}) {
    for (const auto& voce : fs::recursive_directory_iterator(cartella / c)) {
      struct stat info;
      if (::lstat(voce.path().c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
      file[fs::relative(voce.path(), cartella.path()).string()] = {
          info.st_ino, info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
    }
  }
  return file;
}

// The files that are new or were written again between two snapshots.
std::set<std::string> cambiati(const std::map<std::string, Identita>& prima,
                               const std::map<std::string, Identita>& dopo) {
  std::set<std::string> nomi;
  for (const auto& [nome, id] : dopo) {
    const auto trovato = prima.find(nome);
    if (trovato == prima.end() || !(trovato->second == id)) nomi.insert(nome);
  }
  return nomi;
}

// A run at a time of 3 January 2025, under strace where there is one: its exit status
// and the flushes (fsync, fdatasync) it made, or -1 without strace.
std::pair<int, int> esegui_contando(const test::CartellaTemporanea& cartella,
                                    const std::string& ora, const std::string& argomenti) {
  const bool strace = std::system("strace -V >/dev/null 2>&1") == 0;
  const std::string traccia = cartella / "strace.txt";
  const std::string comando =
      // LeakSanitizer cannot run under ptrace: a sanitized build checks leaks elsewhere.
      "cd '" + cartella.path() + "' && TZ=UTC ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" " +
      (strace ? "strace -f -qq -e trace=fsync,fdatasync -o '" + traccia + "' " : "") +
      FAKETIME_BINARY + " '2025-01-03 " + ora + "' " + FOF1PLOT_BINARY + " " + argomenti +
      " >/dev/null 2>&1";
  const int stato = std::system(comando.c_str());
  int flush = -1;
  if (strace) {
    std::istringstream righe(ReadWholeFile(traccia));
    flush = 0;
    for (std::string riga; std::getline(righe, riga);) {
      if (riga.find("fsync(") != std::string::npos || riga.find("fdatasync(") != std::string::npos)
        ++flush;
    }
    fs::remove(traccia);
  }
  return {WIFEXITED(stato) ? WEXITSTATUS(stato) : -1, flush};
}

using UnchangedFilesTest = test::AlberoStazione;

TEST_F(UnchangedFilesTest, ARunWritesOnlyTheFilesWhoseBytesChanged) {
  const std::string metriche = cartella / "metrics.prom";
  const std::string argomenti = "--site --metrics '" + metriche + "'";
  ASSERT_EQ(esegui_contando(cartella, "10:00:00", argomenti).first, 0);
  const std::set<std::string> sempre = {"out/status.json", "out/index.html"};
  const std::set<std::string> oggi = {"work/previous_foF1_plots/2025003.gif",
                                      "work/previous_foF1_data/2025003.csv",
                                      "work/previous_foF1_data/2025003.svg",
                                      "out/plotfoF16.gif",
                                      "out/plotfoF16.csv",
                                      "out/plotfoF16.svg",
                                      "out/archive/2025/01/03.gif",
                                      "out/archive/2025/01/03.csv",
                                      "out/archive/2025/01/03.svg",
                                      "out/archive/2025/01/03.html",
                                      "out/archive/2025/01/values.csv",
                                      "out/archive/2025/01/hourly.csv",
                                      "out/archive/2025/01/index.html"};
  std::set<std::string> oggi_e_sempre = oggi;
  oggi_e_sempre.insert(sempre.begin(), sempre.end());
  // Each case runs five minutes after the one before. Today's CSV and SVG are published as
  // links to the archived ones, and the site's day files link the archived ones: a link
  // costs no flush. Flushed: status.json, index.html, the metrics file, and today's
  // archived GIF, CSV and SVG, published GIF and day page, and the month's values, hourly
  // table and page (whose table counts the days with a value each hour; its chart shows
  // no hour of five days) where a sample arrived, and the state of the samples read.
  const struct {
    const char* caso;
    const char* ora;
    int minuto_nuovo;  // the minute of 12 UT of a sample that arrives; -1: none
    std::set<std::string> attesi;
    int flush;
  } kCasi[] = {
      {"no sample arrived", "10:05:00", -1, sempre, 3},
      {"a sample of today arrived", "10:10:00", 5, oggi_e_sempre, 12},
      {"nothing again", "10:15:00", -1, sempre, 3},
  };
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.caso);
    if (caso.minuto_nuovo >= 0) campione(12, caso.minuto_nuovo, " 7.5");
    const auto prima = identita(cartella);
    const auto [stato, flush] = esegui_contando(cartella, caso.ora, argomenti);
    ASSERT_EQ(stato, 0);
    EXPECT_EQ(cambiati(prima, identita(cartella)), caso.attesi);
    if (flush >= 0) {
      EXPECT_EQ(flush, caso.flush);
    }
  }
}

TEST_F(UnchangedFilesTest, ADayGivesTheSameGifBytesInEverySlotAndInABackfill) {
  const std::string archiviata = cartella / "work/previous_foF1_plots/2025003.gif";
  ASSERT_EQ(esegui(), 0);
  const std::string oggi = ReadWholeFile(cartella / "out/plotfoF16.gif");
  EXPECT_EQ(ReadWholeFile(archiviata), oggi);
  // Five days later the day is in slot 1, drawn after no other figure of the run.
  ASSERT_EQ(test::esegui_fof1plot(cartella.path(), "2025-01-08 10:00:00"), 0);
  EXPECT_EQ(ReadWholeFile(cartella / "out/plotfoF11.gif"), oggi);
  EXPECT_EQ(json::parse(ReadWholeFile(cartella / "out/status.json"))["days"][0]["archive_outcome"],
            "unchanged");
  fs::remove(archiviata);
  ASSERT_EQ(avvia({"--archive", "2025-01-01", "2025-01-03"}).stato, 0);
  EXPECT_EQ(ReadWholeFile(archiviata), oggi) << "the back-fill, after two other days";
}

}  // namespace
}  // namespace fof1plot
