#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "network/network_station.h"
#include "output/figure_data.h"
#include "platform/confined_files.h"
#include "platform/escapes.h"
#include "platform/failure.h"
#include "platform/whole_file.h"
#include "support/figures.h"

namespace fof1plot {
namespace {

using json = nlohmann::json;
using test::scrivi;

// The overview is written at 2025-03-05 14:00 UTC.
constexpr const char* kAdesso = "2025-03-05 14:00:00";

// A station's status.json as fof1plot writes it, with the fields the overview reads.
std::string stato(const std::string& nome, const std::string& generato, const std::string& ultimo,
                  int uscita = 0) {
  json s = {{"program", "fof1plot"},
            {"version", "1.3.0"},
            {"generated", generato},
            {"last_sounding", ultimo.empty() ? json(nullptr) : json(ultimo)},
            {"usual_interval_seconds", 900},
            {"station", nome},
            {"exit_status", uscita},
            {"failures", uscita == 0 ? json::array()
                                     : json::array({"fof1plot: /srv/x/: cannot "
                                                    "list the sample "
                                                    "directory: gone"})},
            {"days",
             {{{"slot", 6},
               {"date", "2025-03-05"},
               {"values", 2},
               {"na", 1},
               {"no", 0},
               {"version", "00000000000000aa"}}}}};
  return s.dump(2);
}

// A good station's status.json as version 1.2.0 wrote it: no last_sounding, each day's
// last sample instead.
std::string versione_1_2_0() {
  json s = json::parse(stato("Old", "2025-03-05T13:55:00Z", ""));
  s.erase("last_sounding");
  s.erase("usual_interval_seconds");
  s["days"] = {{{"slot", 5}, {"last", "2025-03-04T23:45:00Z"}},
               {{"slot", 6},
                {"date", "2025-03-05"},
                {"values", 2},
                {"na", 1},
                {"no", 0},
                {"last", "2025-03-05T13:30:00Z"}}};
  return s.dump();
}

// status.json with one field, named by its JSON pointer, set to a value of another type or
// out of its range.
std::string con(const std::string& testo, const char* puntatore, const json& valore) {
  json s = json::parse(testo);
  s[json::json_pointer(puntatore)] = valore;
  return s.dump();
}

// A CSV just under the 10 MiB cap: the same two minutes of today, over and over.
std::string repetita() {
  std::string csv = "time_utc,foF1_MHz,field\n";
  while (csv.size() < (std::size_t{10} << 20) - 64) {
    csv += "2025-03-05T10:00:00Z,4.5,04.5\n2025-03-05T10:01:00Z,4.6,04.6\n";
  }
  return csv;
}

constexpr const char* kCsv =
    "time_utc,foF1_MHz,field\n2025-03-05T10:00:00Z,4.5,04.5\n2025-03-05T10:15:00Z,,N/A\n"
    "2025-03-05T10:30:00Z,4.7,04.7\n";

// Runs the overview of `rete` under faketime; its exit status and stderr.
test::Esito panoramica(const std::string& rete, const std::string& altro = "",
                       const std::string& adesso = kAdesso) {
  const std::string errori = rete.substr(0, rete.rfind('/')) + "/stderr.txt";
  const std::string comando = "TZ=UTC " + std::string(FAKETIME_BINARY) + " -f '" + adesso + "' " +
                              FOF1PLOT_BINARY + " --network '" + rete + "' " + altro + " 2>'" +
                              errori + "'";
  const int s = std::system(comando.c_str());
  test::Esito esito;
  esito.stato = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
  esito.errori = ReadWholeFile(errori);
  return esito;
}

// A station directory swapped for a symbolic link between the listing and its open (the
// listing said "directory") is not followed.
TEST(NetworkTest, ADirectorySwappedForALinkAfterTheListingIsNotFollowed) {
  test::CartellaTemporanea cartella;
  test::crea_cartella(cartella / "net");
  test::crea_cartella(cartella / "elsewhere");
  scrivi(cartella / "elsewhere/status.json", stato("Rome", "2025-03-05T13:55:00Z", ""));
  ASSERT_EQ(::symlink((cartella / "elsewhere").c_str(), (cartella / "net/swapped").c_str()), 0);
  const ConfinedDirectory rete(cartella / "net");
  const StazioneRete s = leggi_stazione(rete, "swapped", true, std::chrono::system_clock::now());
  EXPECT_EQ(s.stato, StatoStazione::kIlleggibile);
  EXPECT_EQ(s.motivo, "a symbolic link or not a directory, not followed");
  EXPECT_THROW(ConfinedDirectory(cartella / "net/swapped/"), Failure) << "nor with a final slash";
}

// Two overviews of one directory never write at once: the second waits for the first's
// lock.
TEST(NetworkTest, AnOverviewWaitsForTheOneThatHoldsTheDirectory) {
  test::CartellaTemporanea cartella;
  const std::string rete = cartella / "net";
  test::crea_cartella(rete);
  const int fd = ::open(rete.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  test::Esito esito;
  std::thread seconda([&] { esito = panoramica(rete); });
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_FALSE(test::esiste(rete + "/index.html")) << "written under another run's lock";
  ::close(fd);
  seconda.join();
  EXPECT_EQ(esito.stato, 0) << esito.errori;
  EXPECT_TRUE(test::esiste(rete + "/index.html"));
}

TEST(NetworkTest, EachStationsStateFromItsCopiedFiles) {
  test::CartellaTemporanea cartella;
  const std::string rete = cartella / "net";
  test::crea_cartella(rete);
  const struct {
    const char* cartella;
    std::string status;  // empty: no status.json
    const char* stato;
    const char* motivo;  // a part of the reason shown, or of the name for a good one
    int righe;           // its rows in today.csv
    std::string csv = kCsv;
  } kCasi[] = {
      {"a-good", stato("Rome", "2025-03-05T13:55:00Z", "2025-03-05T13:45:00Z"), "ok", "", 3},
      {"b-silent", stato("Gibilmanna", "2025-03-05T13:55:00Z", "2025-03-05T12:00:00Z"), "silent",
       "", 3},
      {"c-stale", stato("Tucuman", "2025-03-04T10:00:00Z", "2025-03-04T09:45:00Z"), "not updated",
       "", 0},
      {"d-failing", stato("Bahia", "2025-03-05T13:55:00Z", "2025-03-05T13:50:00Z", 1), "failing",
       "cannot list the sample directory", 3},
      {"e-missing", "", "unreadable", "status.json: No such file or directory", 0},
      {"f-truncated", stato("Rome", "2025-03-05T13:55:00Z", "").substr(0, 60), "unreadable",
       "status.json is not JSON", 0},
      {"g-not-json", "<html>not json</html>", "unreadable", "not JSON", 0},
      {"h-foreign", R"({"program": "other", "generated": "2025-03-05T13:55:00Z"})", "unreadable",
       "not fof1plot's", 0},
      {"i-huge", std::string(2 << 20, ' '), "unreadable", "longer than 1048576 bytes", 0},
      {"j-old", versione_1_2_0(), "ok", "", 3},
      {"k-html", stato("<b>Rome</b> & \"co\"", "2025-03-05T13:55:00Z", "2025-03-05T13:45:00Z"),
       "ok", "", 3},
      {"l-slot-null",
       con(stato("l-slot-null", "2025-03-05T13:55:00Z", ""), "/days/0/slot", nullptr), "unreadable",
       "\"slot\" is not a whole number", 0},
      {"m-slot-text", con(stato("m-slot-text", "2025-03-05T13:55:00Z", ""), "/days/0/slot", "6"),
       "unreadable", "\"slot\" is not a whole number", 0},
      {"n-exit-huge",
       con(stato("n-exit-huge", "2025-03-05T13:55:00Z", ""), "/exit_status", 4294967296),
       "unreadable", "\"exit_status\" is out of range", 0},
      {"o-copy-stale", stato("o-copy-stale", "2025-03-05T13:30:00Z", "2025-03-05T13:15:00Z"),
       "copy stale", "", 3},
      {"p-days-ago", stato("p-days-ago", "2025-03-05T13:55:00Z", "2025-03-05T13:45:00Z"), "ok", "",
       1, "time_utc,foF1_MHz,field\n2025-03-03T10:00:00Z,4.5,04.5\n2025-03-05T10:00:00Z,,N/A\n"},
      {"q-repeated", stato("q-repeated", "2025-03-05T13:55:00Z", "2025-03-05T13:45:00Z"), "ok", "",
       2, repetita()},
      {"r-counts", con(stato("r-counts", "2025-03-05T13:55:00Z", ""), "/days/0/values", -1),
       "unreadable", "\"values\" is out of range", 0},
      {"s-failures", con(stato("s-failures", "2025-03-05T13:55:00Z", ""), "/failures", "none"),
       "unreadable", "\"failures\" is not a list", 0},
      {"t-forecast", stato("t-forecast", "2025-03-05T13:55:00Z", "2025-03-05T13:45:00Z"), "ok", "",
       3,
       "time_utc,foF1_MHz,field,forecast_MHz,deviation_MHz\n2025-03-05T10:00:00Z,4.5,04.5,4.00,"
       "0.50\n2025-03-05T10:15:00Z,,N/A,4.25,\n2025-03-05T10:30:00Z,4.7,04.7,,\n"},
      // The words are the overview's own, not the copied file's.
      {"u-value",
       con(stato("u-value", "2025-03-05T13:55:00Z", "2025-03-05T13:45:00Z"), "/last_value",
           {{"foF1_MHz", 3.4},
            {"field", "<b>"},
            {"forecast_MHz", 3.05},
            {"deviation_MHz", 0.35},
            {"words", "<b>forged</b>"}}),
       "ok", "", 3},
      {"v-value-text",
       con(stato("v-value-text", "2025-03-05T13:55:00Z", ""), "/last_value",
           {{"foF1_MHz", "3.4"}, {"field", "3.4"}}),
       "unreadable", "\"foF1_MHz\" is not a number", 0},
      {"w-value-huge",
       con(stato("w-value-huge", "2025-03-05T13:55:00Z", ""), "/last_value",
           {{"forecast_MHz", 1e300}, {"field", "N/A"}}),
       "unreadable", "\"forecast_MHz\" is out of range", 0},
      {"x-described",
       con(stato("x-described", "2025-03-05T13:55:00Z", "2025-03-05T13:45:00Z"),
           "/station_description",
           {{"ursi_code", "RO041"},
            {"name", "<i>Roma</i>"},
            {"latitude", 41.8},
            {"longitude", 12.5},
            {"elevation_m", nullptr}}),
       "ok", "", 3},
      {"y-described-badly",
       con(stato("y-described-badly", "2025-03-05T13:55:00Z", ""), "/station_description",
           {{"latitude", 95}}),
       "unreadable", "\"latitude\" is out of range", 0},
  };
  for (const auto& caso : kCasi) {
    const std::string d = rete + "/" + caso.cartella;
    test::crea_cartella(d);
    if (!caso.status.empty()) scrivi(d + "/status.json", caso.status);
    scrivi(d + "/plotfoF16.csv", caso.csv);
    scrivi(d + "/index.html", "<!DOCTYPE html><title>x</title>");
  }
  ASSERT_EQ(::symlink("/etc", (rete + "/z-link").c_str()), 0);
  const test::Esito esito = panoramica(rete, "--metrics '" + cartella / "net.prom" + "'");
  EXPECT_EQ(esito.stato, 0) << esito.errori;
  const json stazioni = json::parse(ReadWholeFile(rete + "/stations.json"))["stations"];
  ASSERT_EQ(stazioni.size(), std::size(kCasi) + 1);
  const std::string csv = ReadWholeFile(rete + "/today.csv");
  const std::string pagina = ReadWholeFile(rete + "/index.html");
  for (std::size_t i = 0; i < std::size(kCasi); ++i) {
    const auto& caso = kCasi[i];
    SCOPED_TRACE(caso.cartella);
    const json& s = stazioni[i];
    EXPECT_EQ(s["directory"], caso.cartella);
    EXPECT_EQ(s["state"], caso.stato);
    const std::string motivo = s["reason"].is_null() ? "" : s["reason"].get<std::string>();
    EXPECT_NE(motivo.find(caso.motivo), std::string::npos) << motivo;
    const bool illeggibile = std::string(caso.stato) == "unreadable";
    std::string avviso = "/";
    avviso += caso.cartella;
    avviso += "/: ";
    EXPECT_EQ(esito.errori.find(avviso) != std::string::npos, illeggibile)
        << "a warning for each unreadable station:\n"
        << esito.errori;
    std::string riga = "\n";
    riga += CsvField(s["name"].get<std::string>());
    riga += ",";
    int righe = 0;
    for (std::size_t p = 0; (p = csv.find(riga, p)) != std::string::npos; ++p) ++righe;
    EXPECT_EQ(righe, caso.righe);
    // The state in words on the page, in its card.
    EXPECT_NE(pagina.find("data-station=\"" + std::string(caso.cartella) + "\""),
              std::string::npos);
  }
  EXPECT_EQ(stazioni[0]["latest"]["time_utc"], "2025-03-05T10:30:00Z");
  EXPECT_EQ(stazioni[15]["latest"]["time_utc"], "2025-03-03T10:00:00Z")
      << "the last value, dated, whatever its day";
  EXPECT_DOUBLE_EQ(stazioni[0]["latest"]["foF1_MHz"].get<double>(), 4.7);
  EXPECT_EQ(stazioni[20]["last_value"]["words"], "3.4 MHz, forecast 3.1, +0.4");
  EXPECT_NE(pagina.find("(15 min ago): 3.4 MHz, forecast 3.1, +0.4</p>"), std::string::npos)
      << pagina;
  EXPECT_EQ(pagina.find("forged"), std::string::npos);
  EXPECT_EQ(stazioni[23]["description"]["ursi_code"], "RO041");
  EXPECT_TRUE(stazioni[23]["description"]["elevation_m"].is_null());
  EXPECT_NE(pagina.find("<p class=\"identity\">RO041 \xC2\xB7 &lt;i&gt;Roma&lt;/i&gt;"),
            std::string::npos)
      << "escaped";
  EXPECT_EQ(stazioni[0]["today"]["values"], 2);
  EXPECT_EQ(stazioni[std::size(kCasi)]["state"], "unreadable")
      << "the link to /etc is not followed";
  EXPECT_EQ(pagina.find("<b>Rome</b>"), std::string::npos) << "escaped";
  EXPECT_EQ(ReadWholeFile(rete + "/today.svg").find("<b>Rome</b>"), std::string::npos);
  EXPECT_NE(pagina.find("&lt;b&gt;Rome&lt;/b&gt; &amp; &quot;co&quot;"), std::string::npos);
  EXPECT_NE(csv.find("\n\"<b>Rome</b> & \"\"co\"\"\",2025-03-05T10:00:00Z,4.5,04.5\n"),
            std::string::npos)
      << "quoted as RFC 4180 asks:\n"
      << csv;
  for (const char* stato :
       {">ok<", ">silent<", ">not updated<", ">failing: ", ">unreadable: ", ">copy stale<"}) {
    EXPECT_NE(pagina.find(stato), std::string::npos) << stato;
  }
  if (std::system("command -v promtool >/dev/null") == 0) {
    const std::string comando = "promtool check metrics < '" + cartella / "net.prom" + "'";
    EXPECT_EQ(std::system(comando.c_str()), 0);
  }
  const std::string metriche = ReadWholeFile(cartella / "net.prom");
  EXPECT_NE(metriche.find(
                "fof1plot_station_state{network=\"net\",station=\"b-silent\",state=\"silent\"} 1"),
            std::string::npos);
  EXPECT_NE(metriche.find("fof1plot_station_run_success{network=\"net\",station=\"d-failing\"} 0"),
            std::string::npos);
  EXPECT_NE(
      metriche.find(
          "fof1plot_station_last_sounding_timestamp_seconds{network=\"net\",station=\"a-good\"} "
          "1741182300"),
      std::string::npos);
}

TEST(NetworkTest, TodaysChartTitlesEveryMarkWithItsStation) {
  test::CartellaTemporanea cartella;
  const std::string rete = cartella / "net";
  for (const char* d : {"", "/rome", "/gibi"}) test::crea_cartella(rete + d);
  scrivi(rete + "/rome/status.json", stato("Rome", "2025-03-05T13:55:00Z", "2025-03-05T13:45:00Z"));
  scrivi(rete + "/rome/plotfoF16.csv", kCsv);
  scrivi(rete + "/gibi/status.json", stato("Gibi", "2025-03-05T13:55:00Z", "2025-03-05T13:45:00Z"));
  scrivi(rete + "/gibi/plotfoF16.csv", "time_utc,foF1_MHz,field\n2025-03-05T11:00:00Z,5.0,05.0\n");
  ASSERT_EQ(panoramica(rete).stato, 0);
  const std::string svg = ReadWholeFile(rete + "/today.svg");
  const auto titoli = [&](const std::string& testo) {
    std::size_t n = 0;
    for (std::size_t p = 0; (p = svg.find("<title>" + testo, p)) != std::string::npos; ++p) ++n;
    return n;
  };
  // Each value is one mark: one group, one title, whatever shapes draw it.
  EXPECT_EQ(titoli("Gibi 11:00 UT: 5.0 MHz"), 1u) << "a disc for the first station";
  EXPECT_EQ(titoli("Rome 10:00 UT: 4.5 MHz"), 1u) << "a square for the second";
  EXPECT_EQ(titoli("Rome 10:30 UT: 4.7 MHz"), 1u);
  const std::size_t quadrato = svg.find("<g><title>Rome 10:00 UT: 4.5 MHz</title>\n");
  ASSERT_NE(quadrato, std::string::npos);
  const std::string segno = svg.substr(quadrato, svg.find("</g>", quadrato) - quadrato);
  std::size_t linee = 0;
  for (std::size_t p = 0; (p = segno.find("<line ", p)) != std::string::npos; ++p) ++linee;
  EXPECT_EQ(linee, 4u) << "its four sides inside its group";
  EXPECT_EQ(titoli("Rome 10:15"), 0u) << "N/A is no value";
  EXPECT_NE(svg.find(">Gibi</text>"), std::string::npos) << "the legend";
  EXPECT_NE(svg.find(">Time(UT)</text>"), std::string::npos) << "the stage of the figures";
  // A second run in which no station changed leaves the chart and the CSV untouched.
  struct stat prima, dopo;
  ASSERT_EQ(::stat((rete + "/today.svg").c_str(), &prima), 0);
  ASSERT_EQ(panoramica(rete).stato, 0);
  ASSERT_EQ(::stat((rete + "/today.svg").c_str(), &dopo), 0);
  EXPECT_EQ(prima.st_ino, dopo.st_ino);
}

TEST(NetworkTest, ADirectoryThatCannotBeReadIsOneLineAndStatusOne) {
  test::CartellaTemporanea cartella;
  const test::Esito esito = panoramica(cartella / "missing");
  EXPECT_EQ(esito.stato, 1);
  EXPECT_EQ(esito.errori, "fof1plot: " + cartella / "missing/" +
                              ": cannot list the network directory: No such file or directory\n");
}

// Ten thousand stations still give an overview, its chart a legend of the first hundred
// and a line for the others.
TEST(NetworkTest, TenThousandStationsGiveAnOverview) {
  test::CartellaTemporanea cartella;
  const std::string rete = cartella / "net";
  test::crea_cartella(rete);
  const std::string status = stato("S", "2025-03-05T13:55:00Z", "2025-03-05T13:45:00Z");
  for (int n = 0; n < 10000; ++n) {
    const std::string d = rete + "/s" + std::to_string(10000 + n);
    test::crea_cartella(d);
    scrivi(d + "/status.json", status);
    scrivi(d + "/plotfoF16.csv", kCsv);
  }
  const test::Esito esito = panoramica(rete);
  ASSERT_EQ(esito.stato, 0) << esito.errori;
  EXPECT_EQ(json::parse(ReadWholeFile(rete + "/stations.json"))["stations"].size(), 10000u);
  const std::string grafico = ReadWholeFile(rete + "/today.svg");
  EXPECT_NE(grafico.find("and 9900 more stations, whose values are in today.csv"),
            std::string::npos);
  EXPECT_LT(grafico.size(), 1024u * 1024u);
}

TEST(NetworkTest, AHundredStationsInUnderASecondAndOnlyTwoFilesWhenNoneChanged) {
  test::CartellaTemporanea cartella;
  const std::string rete = cartella / "net";
  test::crea_cartella(rete);
  std::string csv = "time_utc,foF1_MHz,field\n";
  for (int q = 0; q < 96; ++q) {
    char riga[64];
    std::snprintf(riga, sizeof riga, "2025-03-05T%02d:%02d:00Z,4.%d,04.%d\n", q / 4, q % 4 * 15,
                  q % 10, q % 10);
    csv += riga;
  }
  for (int n = 0; n < 100; ++n) {
    const std::string d = rete + "/station-" + std::to_string(100 + n);
    test::crea_cartella(d);
    scrivi(d + "/status.json",
           stato("Station " + std::to_string(n), "2025-03-05T13:55:00Z", "2025-03-05T13:45:00Z"));
    scrivi(d + "/plotfoF16.csv", csv);
    scrivi(d + "/plotfoF16.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
    scrivi(d + "/index.html", "<!DOCTYPE html><title>x</title>");
  }
  const auto inizio = std::chrono::steady_clock::now();
  ASSERT_EQ(panoramica(rete).stato, 0);
  const auto durata = std::chrono::steady_clock::now() - inizio;
#if !defined(__SANITIZE_ADDRESS__)
  EXPECT_LT(durata, std::chrono::seconds(1));  // the goal is the release build's
#else
  static_cast<void>(durata);
#endif
  EXPECT_LT(ReadWholeFile(rete + "/index.html").size(), 100u * 1024u);
  EXPECT_NE(ReadWholeFile(rete + "/index.html").find("loading=\"lazy\""), std::string::npos);
  // Five minutes later, no station changed: only the two files with the run's time are
  // written again.
  std::map<std::string, ino_t> prima;
  for (const char* f :
       {"index.html", "stations.json", "today.csv", "today.svg", "network.js", "network.css"}) {
    struct stat info;
    ASSERT_EQ(::stat((rete + "/" + f).c_str(), &info), 0);
    prima[f] = info.st_ino;
  }
  ASSERT_EQ(panoramica(rete, "", "2025-03-05 14:05:00").stato, 0);
  for (const auto& [f, inode] : prima) {
    struct stat info;
    ASSERT_EQ(::stat((rete + "/" + f).c_str(), &info), 0);
    const bool riscritto = f == "index.html" || f == "stations.json";
    EXPECT_EQ(info.st_ino != inode, riscritto) << f;
  }
}

}  // namespace
}  // namespace fof1plot
