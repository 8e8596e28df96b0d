#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "output/site_pages.h"
#include "platform/whole_file.h"
#include "support/station_tree.h"

namespace fof1plot {
namespace {

namespace fs = std::filesystem;
using test::AlberoStazione;
using test::esiste;
using test::scrivi;

// The inode of every page of the site, by its path under out/.
std::map<std::string, ino_t> pagine(const std::string& uscita) {
  std::map<std::string, ino_t> inode;
  for (const auto& voce : fs::recursive_directory_iterator(uscita)) {
    if (voce.path().extension() != ".html") continue;
    struct stat info;
    ::stat(voce.path().c_str(), &info);
    inode[fs::relative(voce.path(), uscita).string()] = info.st_ino;
  }
  return inode;
}

// The pages that a run wrote anew.
std::vector<std::string> riscritte(const std::map<std::string, ino_t>& prima,
                                   const std::map<std::string, ino_t>& dopo) {
  std::vector<std::string> nuove;
  for (const auto& [pagina, inode] : dopo) {
    const auto trovata = prima.find(pagina);
    if (trovata == prima.end() || trovata->second != inode) nuove.push_back(pagina);
  }
  return nuove;
}

class SiteTest : public test::AlberoStazione {
 protected:
  // December 2024 and the first two days of January archived, with the site.
  void SetUp() override {
    ASSERT_EQ(avvia({"--site", "--archive", "2024-12-01", "2025-01-02"}).stato, 0);
  }
};

// Spoils the pages of some days of December 2024, so that a run that considers a page
// shows it by writing it again.
void guasta_pagine(const test::CartellaTemporanea& cartella, std::initializer_list<int> giorni) {
  for (const int giorno : giorni) {
    char nome[64];
    std::snprintf(nome, sizeof nome, "out/archive/2024/12/%02d.html", giorno);
    scrivi(cartella / nome, "spoilt\n");
  }
}

bool guastata(const test::CartellaTemporanea& cartella, int giorno) {
  char nome[64];
  std::snprintf(nome, sizeof nome, "out/archive/2024/12/%02d.html", giorno);
  return ReadWholeFile(cartella / nome) == "spoilt\n";
}

TEST_F(SiteTest, ADailyRunWritesItsOwnPagesAndTheDayBeforeThemWhereTheyChanged) {
  guasta_pagine(cartella, {27, 28, 29});
  const auto prima = pagine(cartella / "out");
  ASSERT_EQ(avvia({"--site"}).stato, 0);
  EXPECT_EQ(
      riscritte(prima, pagine(cartella / "out")),
      (std::vector<std::string>{"archive/2024/12/28.html", "archive/2024/12/29.html",
                                "archive/2025/01/02.html", "archive/2025/01/03.html",
                                "archive/2025/01/index.html", "archive/index.html", "index.html"}))
      << "the six days' pages and the day before them are looked at; those that read as "
         "they should, and every other page, are left as they are";
  EXPECT_TRUE(guastata(cartella, 27));
  const std::string oggi = ReadWholeFile(cartella / "out/archive/2025/01/03.html");
  EXPECT_NE(oggi.find("href=\"../../2025/01/02.html\" rel=\"prev\""), std::string::npos);
  EXPECT_NE(ReadWholeFile(cartella / "out/archive/2025/01/02.html")
                .find("href=\"../../2025/01/03.html\" rel=\"next\""),
            std::string::npos)
      << "the day before learns of its next day";
  EXPECT_NE(oggi.find("<td>10:15</td><td>4.0</td><td>4.0</td>"), std::string::npos) << oggi;
  EXPECT_NE(ReadWholeFile(cartella / "out/index.html")
                .find("<a class=\"day\" href=\"archive/2025/01/03.html\">Values</a>"),
            std::string::npos)
      << "a day's values are one click from the front page";
}

// Every local address the pages reached from index.html link or load, from href, src and
// data attributes, that names no file; query and fragment aside.
std::vector<std::string> collegamenti_rotti(const std::string& uscita,
                                            std::set<std::string>& visitate) {
  static const std::regex kAttributo(R"re((?:href|src|data)="([^"]*)")re");
  std::vector<std::string> rotti;
  std::vector<fs::path> da_visitare = {fs::path(uscita) / "index.html"};
  while (!da_visitare.empty()) {
    const fs::path pagina = da_visitare.back();
    da_visitare.pop_back();
    if (!visitate.insert(fs::relative(pagina, uscita).string()).second) continue;
    const std::string testo = ReadWholeFile(pagina);
    for (std::sregex_iterator m(testo.begin(), testo.end(), kAttributo), fine; m != fine; ++m) {
      std::string indirizzo = (*m)[1];
      if (indirizzo.empty() || indirizzo[0] == '#' || indirizzo.find(':') != std::string::npos) {
        continue;
      }
      indirizzo = indirizzo.substr(0, indirizzo.find_first_of("?#"));
      fs::path bersaglio = (pagina.parent_path() / indirizzo).lexically_normal();
      if (fs::is_directory(bersaglio)) bersaglio /= "index.html";
      if (!fs::exists(bersaglio)) {
        rotti.push_back(fs::relative(pagina, uscita).string() + " -> " + (*m)[1].str());
      } else if (bersaglio.extension() == ".html") {
        da_visitare.push_back(bersaglio);
      }
    }
  }
  return rotti;
}

// Days archived by a back-fill without the site, or pages lost, get their pages from the
// next run with the site, so that no link of the site answers 404.
TEST_F(AlberoStazione, ARunWithTheSiteGivesEveryArchivedDayItsPage) {
  fs::copy_file(cartella / "work/122024.txt", cartella / "work/112024.txt");
  ASSERT_EQ(avvia({"--archive", "2024-11-28", "2024-12-02"}).stato, 0);
  ASSERT_EQ(avvia({"--site"}).stato, 0);
  fs::remove(cartella / "out/archive/2024/12/29.html");
  fs::remove(cartella / "out/archive/2024/11/index.html");
  ASSERT_EQ(avvia({"--site"}).stato, 0);
  std::set<std::string> visitate;
  EXPECT_EQ(collegamenti_rotti(cartella / "out", visitate), std::vector<std::string>{});
  for (const char* pagina : {"archive/2024/11/28.html", "archive/2024/12/02.html",
                             "archive/2024/12/29.html", "archive/2024/11/index.html"}) {
    EXPECT_EQ(visitate.count(pagina), 1u) << pagina << " is reached";
  }
}

// An archived CSV that the run cannot read is a reported failure, and the pages say the
// day's values could not be read, not that they were not recorded.
TEST_F(SiteTest, AnUnreadableArchivedCsvIsAFailureThePagesTell) {
  if (::geteuid() != 0) GTEST_SKIP() << "the user nobody needs root";
  test::aperto_a_tutti(cartella);
  const std::string csv = cartella / "work/previous_foF1_data/2025001.csv";
  fs::permissions(csv, fs::perms::none);
  const test::Esito esito = avvia({"--site"}, true);
  EXPECT_EQ(esito.stato, 1);
  EXPECT_EQ(esito.errori,
            "fof1plot: " + csv + ": cannot read the archived values: Permission denied\n");
  EXPECT_NE(ReadWholeFile(cartella / "out/status.json").find("cannot read the archived values"),
            std::string::npos);
  EXPECT_NE(ReadWholeFile(cartella / "out/archive/2025/01/01.html").find("could not be read"),
            std::string::npos);
  EXPECT_NE(ReadWholeFile(cartella / "out/archive/2025/01/index.html")
                .find("Left out, their values could not be read: <time datetime=\"2025-01-01\">"),
            std::string::npos);
}

TEST_F(SiteTest, ABackfillWritesItsRangeAndTheDaysJustOutsideIt) {
  guasta_pagine(cartella, {8, 9, 10, 11, 12, 13});
  fs::remove(cartella / "out/site.css");
  ASSERT_EQ(avvia({"--archive", "2024-12-10", "2024-12-11", "--site"}).stato, 0);
  EXPECT_EQ(ReadWholeFile(cartella / "out/site.css"), foglio_stile()) << "the pages' style sheet";
  for (const int giorno : {9, 10, 11, 12}) EXPECT_FALSE(guastata(cartella, giorno)) << giorno;
  for (const int giorno : {8, 13}) EXPECT_TRUE(guastata(cartella, giorno)) << giorno;
}

TEST_F(SiteTest, TheArchiveShowsItsFilesAndADayOfGifOnly) {
  // A day archived by an earlier version: a GIF, no values.
  fs::copy_file(cartella / "work/previous_foF1_plots/2024336.gif",
                cartella / "work/previous_foF1_plots/2024335.gif");
  ASSERT_EQ(avvia({"--site", "--archive", "2024-12-01"}).stato, 0);
  const std::string vecchio = ReadWholeFile(cartella / "out/archive/2024/11/30.html");
  EXPECT_NE(vecchio.find("<img src=\"30.gif\""), std::string::npos);
  EXPECT_NE(vecchio.find("values of this day's figure were not recorded"), std::string::npos);
  EXPECT_EQ(vecchio.find(".csv"), std::string::npos);
  for (const char* file : {"01.gif", "01.csv", "01.svg"}) {
    EXPECT_TRUE(esiste(cartella / "out/archive/2024/12/" + file)) << file;
  }
  struct stat archiviata, pubblicata;
  ::stat((cartella / "work/previous_foF1_plots/2024336.gif").c_str(), &archiviata);
  ::stat((cartella / "out/archive/2024/12/01.gif").c_str(), &pubblicata);
  EXPECT_EQ(archiviata.st_ino, pubblicata.st_ino) << "linked, not copied";
  const std::string indice = ReadWholeFile(cartella / "out/archive/index.html");
  EXPECT_NE(indice.find("December</a></th><td>31</td>"), std::string::npos) << indice;
  EXPECT_NE(indice.find("November</a></th><td>1</td>"), std::string::npos);
}

TEST_F(SiteTest, TodaysSvgTitlesEveryMarkDashesNoAndLeavesTheGifAsItWas) {
  ASSERT_EQ(esegui(), 0);
  const std::string senza_sito = ReadWholeFile(cartella / "out/plotfoF16.gif");
  EXPECT_FALSE(esiste(cartella / "out/plotfoF16.svg")) << "without --site, no SVG";
  ASSERT_EQ(avvia({"--site"}).stato, 0);
  EXPECT_EQ(ReadWholeFile(cartella / "out/plotfoF16.gif"), senza_sito);
  const std::string svg = ReadWholeFile(cartella / "out/plotfoF16.svg");
  const auto conta = [&](const std::string& testo) {
    std::size_t n = 0;
    for (auto i = svg.find(testo); i != std::string::npos; i = svg.find(testo, i + 1)) ++n;
    return n;
  };
  EXPECT_EQ(conta("<title>"), 4u + 24u) << "the four samples and the forecast's 24 hours";
  EXPECT_NE(svg.find("<title>10:15 UT: 4.0 MHz</title>"), std::string::npos) << svg;
  EXPECT_NE(svg.find("<title>12:00 UT forecast: 20.0 MHz</title>"), std::string::npos);
  EXPECT_NE(svg.find("<title>11:00 UT: N/A</title>"), std::string::npos);
  EXPECT_EQ(conta("class=\"no\""), 1u) << "the NO tick is dashed";
  // The disc of 10:15 at 4.0 MHz: pixel column 102 + 35, row 185 - 40, at its centre.
  EXPECT_NE(svg.find("<circle cx=\"137.5\" cy=\"145.5\" r=\"2\" stroke=\"#FF0000\""),
            std::string::npos);
  EXPECT_EQ(ReadWholeFile(cartella / "work/previous_foF1_data/2025003.svg"), svg);
}

TEST_F(SiteTest, TextsFromTheStationsFilesAreEscaped) {
  scrivi(cartella / "data/00-station.txt", "Rome <script>alert('x')</script> & co\r\n");
  ASSERT_EQ(avvia({"--site"}).stato, 0);
  const std::string indice = ReadWholeFile(cartella / "out/index.html");
  EXPECT_EQ(indice.find("<script>alert"), std::string::npos);
  EXPECT_NE(indice.find("Rome &lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; co"),
            std::string::npos);
}

TEST(IndexPageTest, TheLastSoundingAndTheSilentWarningAsAtTheWriting) {
  using namespace std::chrono;
  const sys_seconds ora = sys_days{2025y / January / 3} + 14h;
  const struct {
    const char* caso;
    Freschezza fresca;
    const char* riga;  // what #sounding says
    bool muta;
  } kCasi[] = {
      {"no sounding", {std::nullopt, std::nullopt}, "No sounding in the six days.", false},
      {"five minutes ago", {ora - 5min, 900}, "Last sounding 13:55 UTC (5 min ago)", false},
      {"59 min, intervals of 15",
       {ora - 59min, 900},
       "Last sounding 13:01 UTC (59 min ago)",
       false},
      {"61 min, intervals of 15", {ora - 61min, 900}, "Last sounding 12:59 UTC (61 min ago)", true},
      {"61 min, intervals of 30",
       {ora - 61min, 1800},
       "Last sounding 12:59 UTC (61 min ago)",
       false},
      {"91 min, intervals of 30",
       {ora - 91min, 1800},
       "Last sounding 12:29 UTC (91 min ago)",
       true},
      {"no interval known", {ora - 2h, std::nullopt}, "Last sounding 12:00 UTC (2 h ago)", true},
      {"yesterday", {ora - 20h, 900}, "Last sounding 2025-01-02 18:00 UTC (20 h ago)", true},
  };
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.caso);
    const std::string pagina = pagina_indice("Rome", ora, caso.fresca, std::nullopt, {});
    EXPECT_NE(pagina.find(std::string("\">") + caso.riga + "</p>"), std::string::npos) << pagina;
    EXPECT_EQ(pagina.find("id=\"silent\">No sounding since") != std::string::npos, caso.muta);
  }
}

// The month page's table gives each hour as hourly.csv does, in reading order: days,
// lower quartile, median, upper quartile, forecast, difference.
TEST(MonthPageTest, TheHoursTableHoldsWhatHourlyCsvHolds) {
  using namespace std::chrono;
  StatisticheMese s;
  s.mese = 2025y / March;
  for (int h = 0; h < 24; ++h) s.ore[h].ora = h;
  s.ore[10] = {10, 31, std::array<int, 3>{70, 92, 110}, 45};
  s.ore[12] = {12, 4, std::nullopt, 50};
  s.ore[13] = {13, 6, std::array<int, 3>{62, 63, 67}, std::nullopt};
  const std::string pagina = pagina_mese("Rome", s.mese, {}, &s);
  EXPECT_NE(pagina.find("aria-label=\"March 2025: "), std::string::npos)
      << "the chart names its month";
  std::istringstream orario(testo_orario(s));
  std::string riga;
  std::getline(orario, riga);
  int righe = 0;
  while (std::getline(orario, riga)) {
    std::vector<std::string> c;
    std::stringstream campi(riga);
    for (std::string campo; std::getline(campi, campo, ',');) c.push_back(campo);
    c.resize(7);
    char ora[8];
    std::snprintf(ora, sizeof ora, "%02d:00", std::stoi(c[0]));
    const std::string attesa = std::string("<tr><th scope=\"row\">") + ora + "</th><td>" + c[1] +
                               "</td><td>" + c[3] + "</td><td>" + c[2] + "</td><td>" + c[4] +
                               "</td><td>" + c[5] + "</td><td>" + c[6] + "</td></tr>";
    EXPECT_NE(pagina.find(attesa), std::string::npos) << attesa;
    ++righe;
  }
  EXPECT_EQ(righe, 24);
  EXPECT_NE(pagina.find("<tr><th scope=\"row\">10:00</th><td>31</td><td>3.5</td><td>4.6</td><td>"
                        "5.5</td><td>4.5</td><td>0.10</td></tr>"),
            std::string::npos)
      << "hour 10 written out by hand";
}

}  // namespace
}  // namespace fof1plot
