#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "platform/whole_file.h"
#include "support/station_tree.h"

namespace fof1plot {
namespace {

using nlohmann::json;
using test::scrivi;

using StatusTest = test::AlberoStazione;

TEST_F(StatusTest, AGoodRunTellsEachDayAndItsHealth) {
  ASSERT_EQ(esegui(), 0);
  const json stato = json::parse(ReadWholeFile(cartella / "out/status.json"));
  EXPECT_EQ(stato["program"], "fof1plot");
  EXPECT_EQ(stato["version"], FOF1PLOT_VERSION);
  // faketime's clock starts at 10:00:00 and runs on: a busy machine may take a second
  // before the run reads it.
  const std::string generato = stato["generated"];
  EXPECT_TRUE(std::regex_match(generato, std::regex("2025-01-03T10:00:0[0-9]Z"))) << generato;
  EXPECT_EQ(stato["time_zone"], "UTC");
  EXPECT_EQ(stato["local_date"], "2025-01-03");
  EXPECT_EQ(stato["station"], "Rome ionosonde");
  EXPECT_EQ(stato["exit_status"], 0);
  EXPECT_EQ(stato["failures"], json::array());
  EXPECT_EQ(stato["warnings"], json::array());
  ASSERT_EQ(stato["days"].size(), 6u);
  const json& primo = stato["days"][0];
  EXPECT_EQ(primo["slot"], 1);
  EXPECT_EQ(primo["date"], "2024-12-29");
  EXPECT_EQ(primo["day_of_year"], 364);
  EXPECT_EQ(primo["archive"], "2024364.gif");
  EXPECT_EQ(primo["archive_outcome"], "new");
  EXPECT_EQ(primo["samples"], 0);
  EXPECT_TRUE(primo["first"].is_null());
  EXPECT_EQ(stato["last_sounding"], "2025-01-03T11:15:00Z");
  EXPECT_EQ(stato["usual_interval_seconds"], 900) << "gaps of 15, 30 and 15 minutes";
  // 11:15 lands at 11.2 h, between the forecast's 5.0 MHz at 11 UT and 20.0 at 12.
  EXPECT_EQ(stato["last_value"], json({{"foF1_MHz", nullptr},
                                       {"field", "NO"},
                                       {"forecast_MHz", 8.0},
                                       {"deviation_MHz", nullptr},
                                       {"words", "NO, forecast 8.0"}}));
  const json& oggi = stato["days"][5];
  EXPECT_EQ(oggi["slot"], 6);
  EXPECT_EQ(oggi["figure"], "plotfoF16.gif");
  EXPECT_EQ(oggi["data"], "plotfoF16.csv");
  EXPECT_EQ(oggi["archive"], "2025003.gif");
  EXPECT_EQ(oggi["archive_outcome"], "new");
  EXPECT_EQ(oggi["samples"], 4);
  EXPECT_EQ(oggi["values"], 2);
  EXPECT_EQ(oggi["na"], 1);
  EXPECT_EQ(oggi["no"], 1);
  EXPECT_EQ(oggi["other"], 0);
  EXPECT_EQ(oggi["first"], "2025-01-03T10:15:00Z");
  EXPECT_EQ(oggi["last"], "2025-01-03T11:15:00Z");
  ASSERT_EQ(oggi["forecast_MHz"].size(), 24u);
  EXPECT_DOUBLE_EQ(oggi["forecast_MHz"][12].get<double>(), 20.0);
  const auto esito_oggi = [&] {
    return json::parse(ReadWholeFile(cartella / "out/status.json"))["days"][5]["archive_outcome"];
  };
  ASSERT_EQ(esegui(), 0);
  EXPECT_EQ(esito_oggi(), "unchanged");
  campione(12, 0, " 9.0");
  ASSERT_EQ(esegui(), 0);
  EXPECT_EQ(esito_oggi(), "replaced");
}

TEST_F(StatusTest, AFailedRunTellsItsFailuresAndWarnings) {
  std::filesystem::remove(cartella / "work/012025.txt");
  scrivi(cartella / "gralvo.ini", "w\n" + cartella / "work/" + "\nd\n" + cartella / "data/" +
                                      "\no\n" + cartella / "out/ \n");
  test::crea_cartella(cartella / "out/ ");
  const test::Esito esito = avvia();
  EXPECT_EQ(esito.stato, 1);
  const json stato = json::parse(ReadWholeFile(cartella / "out/ status.json"));
  EXPECT_EQ(stato["exit_status"], 1);
  const std::string guasto = "fof1plot: " + cartella / "work/012025.txt" +
                             ": cannot open the forecast file: No such file or directory";
  EXPECT_EQ(stato["failures"], json::array({guasto}));
  ASSERT_EQ(stato["warnings"].size(), 2u) << "blanks, and no final /";
  EXPECT_EQ(esito.errori, stato["warnings"][0].get<std::string>() + "\n" +
                              stato["warnings"][1].get<std::string>() + "\n" + guasto + "\n")
      << "the lines as printed";
  EXPECT_EQ(stato["days"][5]["archive_outcome"], "new");
}

TEST_F(StatusTest, AnOutputLineWithoutItsSlashWarnsAndStillSucceeds) {
  scrivi(cartella / "gralvo.ini",
         "w\n" + cartella / "work/" + "\nd\n" + cartella / "data/" + "\no\n" + cartella / "out\n");
  const test::Esito esito = avvia();
  EXPECT_EQ(esito.stato, 0);
  EXPECT_EQ(esito.errori, "fof1plot: warning: output directory (line 6) \"" + cartella / "out" +
                              "\" does not end in \"/\", so names such as " + cartella / "out" +
                              "plotfoF11.gif follow from it; end line 6 with \"/\"\n");
  EXPECT_TRUE(test::FiguraGif(cartella / "outplotfoF16.gif").valida()) << "runs as written";
}

TEST_F(StatusTest, AForecastShortOfItsValuesIsAFailure) {
  scrivi(cartella / "work/012025.txt", "forecast\r\n  4.0  5.0\r\n");
  const test::Esito esito = avvia();
  EXPECT_EQ(esito.stato, 1);
  EXPECT_EQ(esito.errori, "fof1plot: " + cartella / "work/012025.txt" +
                              ": line 2 holds 2 of the 24 hourly values\n");
}

// The metrics file of the tree's runs.
class MetricsTest : public test::AlberoStazione {
 protected:
  std::string metriche() const { return ReadWholeFile(cartella / "metrics.prom"); }
  // Whether a metric holds a time within the minute after a given Unix time.
  ::testing::AssertionResult nel_minuto(const std::string& nome, double inizio) const {
    const std::string testo = valore(nome);
    const double secondi = std::strtod(testo.c_str(), nullptr);
    if (secondi >= inizio && secondi < inizio + 60) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << nome << " is " << testo;
  }
  // promtool, where installed, accepts the metrics file.
  void promtool_accetta() const {
    if (std::system("command -v promtool >/dev/null") != 0) return;
    const std::string comando = "promtool check metrics < '" + cartella / "metrics.prom" + "'";
    EXPECT_EQ(std::system(comando.c_str()), 0) << metriche();
  }
  // The value of a metric line, the name with its labels.
  std::string valore(const std::string& nome) const {
    const std::string testo = metriche();
    const std::size_t inizio = testo.find("\n" + nome + " ");
    if (inizio == std::string::npos) return "absent";
    const std::size_t da = inizio + nome.size() + 2;
    return testo.substr(da, testo.find('\n', da) - da);
  }
};

TEST_F(MetricsTest, ADailyRunsMetricsPassPromtoolAndKeepTheLastSuccessAfterAFailure) {
  ASSERT_EQ(avvia({"--metrics", cartella / "metrics.prom"}).stato, 0);
  promtool_accetta();
  EXPECT_EQ(valore("fof1plot_run_success{station=\"Rome\"}"), "1");
  EXPECT_EQ(valore("fof1plot_failures{station=\"Rome\"}"), "0");
  EXPECT_TRUE(nel_minuto("fof1plot_last_run_timestamp_seconds{station=\"Rome\"}",
                         1735898400));  // 2025-01-03 10:00
  const std::string successo = valore("fof1plot_last_success_timestamp_seconds{station=\"Rome\"}");
  EXPECT_EQ(successo, valore("fof1plot_last_run_timestamp_seconds{station=\"Rome\"}"));
  EXPECT_EQ(valore("fof1plot_samples{station=\"Rome\",slot=\"6\",kind=\"value\"}"), "2");
  EXPECT_EQ(valore("fof1plot_samples{station=\"Rome\",slot=\"6\",kind=\"na\"}"), "1");
  EXPECT_EQ(valore("fof1plot_samples{station=\"Rome\",slot=\"1\",kind=\"other\"}"), "0");
  EXPECT_EQ(valore("fof1plot_last_sounding_timestamp_seconds{station=\"Rome\"}"),
            "1735902900");  // 11:15
  EXPECT_NE(metriche().find("# TYPE fof1plot_run_duration_seconds gauge"), std::string::npos);

  std::filesystem::remove(cartella / "work/012025.txt");
  const test::Esito fallita =
      test::avvia_fof1plot(cartella.path(), "2025-01-04 10:00:00", {"--metrics", "metrics.prom"});
  EXPECT_EQ(fallita.stato, 1);
  EXPECT_EQ(valore("fof1plot_run_success{station=\"Rome\"}"), "0");
  EXPECT_EQ(valore("fof1plot_failures{station=\"Rome\"}"), "1");
  EXPECT_TRUE(nel_minuto("fof1plot_last_run_timestamp_seconds{station=\"Rome\"}",
                         1735984800));  // a day later
  EXPECT_EQ(valore("fof1plot_last_success_timestamp_seconds{station=\"Rome\"}"), successo)
      << "kept";
  EXPECT_EQ(valore("fof1plot_last_sounding_timestamp_seconds{station=\"Rome\"}"), "1735902900")
      << "yesterday's";
}

TEST_F(MetricsTest, ABackfillCountsItsDaysAndAFirstFailureHasNoSuccessTime) {
  std::filesystem::remove(cartella / "work/122024.txt");
  EXPECT_EQ(avvia({"--metrics", "metrics.prom", "--archive", "2025-01-01", "2025-01-03"}).stato, 0);
  EXPECT_EQ(valore("fof1plot_archive_figures{station=\"Rome\"}"), "3");
  promtool_accetta();
  EXPECT_EQ(valore("fof1plot_samples{station=\"Rome\",slot=\"6\",kind=\"value\"}"), "absent");
  EXPECT_EQ(avvia({"--metrics", "metrics2.prom", "--archive", "2024-12-31"}).stato, 1);
  EXPECT_EQ(ReadWholeFile(cartella / "metrics2.prom").find("last_success"), std::string::npos);
}

// Several stations on one host share node_exporter's directory: each instance's series
// carry its name, and a run that cannot read its station file keeps the label it had.
TEST_F(MetricsTest, EverySeriesCarriesTheStationsLabel) {
  ::setenv("FOF1PLOT_STATION", "rome \"2\"", 1);
  const int stato = avvia({"--metrics", "metrics.prom"}).stato;
  ::unsetenv("FOF1PLOT_STATION");
  ASSERT_EQ(stato, 0);
  EXPECT_EQ(valore("fof1plot_run_success{station=\"rome \\\"2\\\"\"}"), "1");
  promtool_accetta();

  ASSERT_EQ(avvia({"--metrics", "metrics.prom"}).stato, 0);
  EXPECT_EQ(valore("fof1plot_run_success{station=\"Rome\"}"), "1") << "the station file's";
  std::filesystem::rename(cartella / "data", cartella / "data.old");
  EXPECT_EQ(avvia({"--metrics", "metrics.prom"}).stato, 1);
  EXPECT_EQ(valore("fof1plot_run_success{station=\"Rome\"}"), "0") << "the label kept";
  std::size_t serie = 0;
  for (std::size_t i = 0; (i = metriche().find("\nfof1plot_", i)) != std::string::npos; ++i) {
    ++serie;
    EXPECT_EQ(metriche().compare(metriche().find('{', i), 10, "{station=\""), 0);
  }
  EXPECT_GT(serie, 5u);
}

// Whatever write of a run fails, the exit status, status.json and the metrics tell the
// same: each target is made a directory, which no write can replace.
TEST(RunOutcomeTest, StatusJsonAndTheMetricsTellEveryFailedWrite) {
  const struct {
    const char* nome;
    const char* path;
  } kCasi[] = {
      {"published figure", "out/plotfoF13.gif"},
      {"published values", "out/plotfoF16.csv"},
      {"published SVG", "out/plotfoF16.svg"},
      {"archived figure", "work/previous_foF1_plots/2025003.gif"},
      {"archived values", "work/previous_foF1_data/2025003.csv"},
      {"front page", "out/index.html"},
      {"style sheet", "out/site.css"},
      {"day page", "out/archive/2025/01/03.html"},
      {"month's statistics", "out/archive/2025/01/hourly.csv"},
      {"metrics file", "metrics.prom"},
      {"status.json", "out/status.json"},
  };
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.nome);
    test::Albero albero;
    const std::vector<std::string> opzioni = {"--site", "--metrics",
                                              albero.cartella / "metrics.prom"};
    ASSERT_EQ(albero.avvia(opzioni).stato, 0);
    albero.campione(12, 0, " 6.1");
    std::filesystem::remove(albero.cartella / caso.path);
    test::crea_cartella(albero.cartella / caso.path + "/in-the-way");
    const test::Esito esito = albero.avvia(opzioni);
    EXPECT_EQ(esito.stato, 1) << esito.errori;
    EXPECT_NE(esito.errori.find(std::filesystem::path(caso.path).filename().string()),
              std::string::npos)
        << esito.errori;
    if (std::string(caso.path) != "out/status.json") {
      const json stato = json::parse(ReadWholeFile(albero.cartella / "out/status.json"));
      EXPECT_EQ(stato["exit_status"], 1);
      EXPECT_FALSE(stato["failures"].empty());
    }
    if (std::string(caso.path) != "metrics.prom") {
      const std::string testo = ReadWholeFile(albero.cartella / "metrics.prom");
      EXPECT_NE(testo.find("\nfof1plot_run_success{station=\"Rome\"} 0\n"), std::string::npos)
          << testo;
    }
  }
}

// Two stations whose metrics share node_exporter's directory: one run's renames are held
// back while the other writes, and each file still holds its own station's series.
TEST(RunOutcomeTest, TwoWritersInOneDirectoryKeepTheirOwnFiles) {
  if (std::system("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace not installed";
  test::Albero a, b;
  test::CartellaTemporanea condivisa;
  const auto comando = [&](const test::Albero& albero, const char* stazione, const char* strace) {
    return "cd '" + albero.cartella.path() + "' && FOF1PLOT_STATION=" + stazione + " TZ=UTC " +
           strace + FAKETIME_BINARY + " '2025-01-03 10:00:00' " + FOF1PLOT_BINARY + " --metrics '" +
           condivisa / stazione + ".prom' 2>/dev/null";
  };
  // A sanitized build's leak check cannot run under ptrace, so strace's run goes without.
  const std::string lenta =
      comando(a, "slow",
              "ASAN_OPTIONS=detect_leaks=0:verify_asan_link_order=0 strace -f -qq -o /dev/null "
              "-e trace=rename -e inject=rename:delay_enter=100000 ");
  const std::string svelta = comando(b, "quick", "");
  std::atomic<int> stato_lenta = -1;
  std::thread corsa([&] { stato_lenta = std::system(lenta.c_str()); });
  // The quick station runs again and again while the slow one works.
  for (int k = 0; k < 100 && stato_lenta == -1; ++k) EXPECT_EQ(std::system(svelta.c_str()), 0);
  corsa.join();
  EXPECT_EQ(stato_lenta, 0);
  for (const char* stazione : {"slow", "quick"}) {
    const std::string testo = ReadWholeFile(condivisa / stazione + ".prom");
    EXPECT_NE(testo.find(std::string("fof1plot_run_success{station=\"") + stazione + "\"} 1"),
              std::string::npos)
        << stazione << ":\n"
        << testo;
  }
}

// Every file under a directory, with its content.
std::set<std::pair<std::string, std::string>> contenuto(const std::string& cartella) {
  std::set<std::pair<std::string, std::string>> file;
  for (const auto& voce : std::filesystem::recursive_directory_iterator(cartella)) {
    file.emplace(voce.path(), voce.is_regular_file() ? ReadWholeFile(voce.path()) : "");
  }
  return file;
}

TEST(CheckTest, OneLinePerCheckAndAnExitStatusThatSaysWhetherARunWouldSucceed) {
  namespace fs = std::filesystem;
  const auto senza_campioni_di_oggi = [](const test::CartellaTemporanea& c) {
    for (const char* ora : {"1015", "1030", "1100", "1115"}) {
      fs::remove(c / ("data/RM041_2025003" + std::string(ora) + "00.TXT"));
    }
  };
  const auto impostazioni = [](const test::CartellaTemporanea& c, const std::string& uscita) {
    scrivi(c / "gralvo.ini", "w\n" + c / "work/" + "\nd\n" + c / "data/" + "\no\n" + uscita + "\n");
  };
  const struct {
    const char* guasto;
    std::function<void(const test::CartellaTemporanea&)> guasta;
    int stato;
    std::string riga;
  } kCasi[] = {
      {"nothing", [](auto&) {}, 0, "ok: station file "},
      {"next month's forecast missing", [](auto&) {}, 0,
       "warning: forecast {}/work/022025.txt: cannot open"},
      {"settings missing", [](auto& c) { fs::remove(c / "gralvo.ini"); }, 1,
       "error: {}/gralvo.ini: cannot open: No such file or directory"},
      {"output line without its /", [&](auto& c) { impostazioni(c, c / "out"); }, 0,
       "warning: output directory (line 6) \"{}/out\" does not end in \"/\""},
      {"output line ending in a blank", [&](auto& c) { impostazioni(c, c / "out/ "); }, 0,
       "warning: output directory (line 6) \"{}/out/ \" ends in blanks"},
      {"output directory missing", [&](auto& c) { impostazioni(c, c / "gone/"); }, 1,
       "error: output directory (line 6) \"{}/gone/\": No such file or directory"},
      {"archive folder missing", [](auto& c) { fs::remove(c / "work/previous_foF1_plots"); }, 1,
       "error: {}/work/previous_foF1_plots/: No such file or directory"},
      {"forecast short of values",
       [](auto& c) { scrivi(c / "work/012025.txt", "f\r\n  4.0  5.0\r\n"); }, 1,
       "error: forecast {}/work/012025.txt: line 2 holds 2 of the 24 hourly values"},
      {"no known station", [](auto& c) { scrivi(c / "data/00-station.txt", "Paris\r\n"); }, 1,
       "error: station file {}/data/00-station.txt names no known station"},
      {"no sample today", [](auto& c) { fs::remove(c / "data/RM041_2025003101500.TXT"); }, 0,
       "ok: station file {}/data/00-station.txt names Rome; today's samples: 3"},
      {"samples ahead of the clock", [](auto&) {}, 0,
       "warning: the latest sample, of 2025-01-03 11:15 UTC, is 75 min ahead of this "
       "computer's clock"},
      {"a sounding ten minutes ago",
       [&](auto& c) {
         senza_campioni_di_oggi(c);
         scrivi(c / "data/RM041_2025003095000.TXT", "");
       },
       0, "ok: last sounding 2025-01-03 09:50 UTC, 10 min ago\n"},
      {"silent since yesterday",
       [&](auto& c) {
         senza_campioni_di_oggi(c);
         scrivi(c / "data/RM041_2025002093000.TXT", "");
       },
       0,
       "warning: last sounding 2025-01-02 09:30 UTC, 24 h 30 min ago; check that the ionosonde "
       "sounds"},
      {"no sounding in the six days", [&](auto& c) { senza_campioni_di_oggi(c); }, 0,
       "warning: no sounding in the six days"},
  };
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.guasto);
    test::Albero albero;
    caso.guasta(albero.cartella);
    const auto prima = contenuto(albero.cartella.path());
    const test::Esito esito = albero.avvia({"--check"});
    EXPECT_EQ(esito.stato, caso.stato) << esito.uscita;
    std::string riga = caso.riga;
    if (const std::size_t segnaposto = riga.find("{}"); segnaposto != std::string::npos) {
      riga.replace(segnaposto, 2, albero.cartella.path());
    }
    EXPECT_NE(esito.uscita.find(riga), std::string::npos) << esito.uscita;
    EXPECT_EQ(contenuto(albero.cartella.path()), prima) << "the check writes nothing";
    std::istringstream righe(esito.uscita);
    for (std::string r; std::getline(righe, r);) {
      EXPECT_TRUE(r.starts_with("ok: ") || r.starts_with("warning: ") || r.starts_with("error: "))
          << r;
    }
  }
}

// A check typed at a shell cannot see the units' sandbox, and says so; in the check unit
// it can.
TEST(CheckTest, TheCheckSaysWhetherItSeesTheUnitsSandboxAndChecksTheRunsOptions) {
  test::Albero albero;
  const char* servizio = std::getenv("INVOCATION_ID");
  const std::string salvato = servizio != nullptr ? servizio : "";
  ::unsetenv("INVOCATION_ID");
  const test::Esito fuori = albero.avvia({"--check"});
  ::setenv("INVOCATION_ID", "0123456789abcdef0123456789abcdef", 1);
  const test::Esito dentro = albero.avvia({"--check"});
  if (servizio == nullptr)
    ::unsetenv("INVOCATION_ID");
  else
    ::setenv("INVOCATION_ID", salvato.c_str(), 1);
  EXPECT_TRUE(fuori.uscita.starts_with(
      "warning: checked outside any sandbox: the units' sandbox lets a run write only in the "
      "directories of their ReadWritePaths=; check as the units run with 'systemctl start "
      "fof1plot-check'"))
      << fuori.uscita;
  EXPECT_EQ(fuori.stato, 0) << "a warning alone";
  EXPECT_TRUE(dentro.uscita.starts_with("ok: checked in a systemd service")) << dentro.uscita;

  const test::Esito metriche =
      albero.avvia({"--check", "--site", "--metrics", albero.cartella / "missing/m.prom"});
  EXPECT_EQ(metriche.stato, 1);
  EXPECT_NE(metriche.uscita.find("error: " + albero.cartella / "missing/: No such file"),
            std::string::npos)
      << "the run's options are checked too: " << metriche.uscita;
}

TEST(CheckTest, AHeldLockAndAnUnwritableOutputAreToldForTheUserWhoChecks) {
  test::Albero albero;
  const int lavoro = ::open((albero.cartella / "work").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_EQ(::flock(lavoro, LOCK_EX), 0);
  const test::Esito bloccata = albero.avvia({"--check"});
  ::close(lavoro);
  EXPECT_NE(bloccata.uscita.find("warning: a run holds the lock on " + albero.cartella / "work/"),
            std::string::npos)
      << bloccata.uscita;
  if (::geteuid() != 0) GTEST_SKIP() << "the user nobody needs root";
  std::filesystem::permissions(albero.cartella.path(), std::filesystem::perms::all);
  for (const char* d : {"work", "work/previous_foF1_plots", "data"}) {
    std::filesystem::permissions(albero.cartella / d, std::filesystem::perms::all);
  }
  test::crea_cartella(albero.cartella / "work/previous_foF1_data");
  scrivi(albero.cartella / "work/previous_foF1_data/2025001.csv", "time_utc,foF1_MHz,field\n");
  scrivi(albero.cartella / "work/previous_foF1_data/2025002.csv", "time_utc,foF1_MHz,field\n");
  std::filesystem::permissions(albero.cartella / "work/previous_foF1_data",
                               std::filesystem::perms::all);
  std::filesystem::permissions(albero.cartella / "work/previous_foF1_data/2025002.csv",
                               std::filesystem::perms::owner_read |
                                   std::filesystem::perms::group_read |
                                   std::filesystem::perms::others_read);
  std::filesystem::permissions(albero.cartella / "work/previous_foF1_data/2025001.csv",
                               std::filesystem::perms::none);
  const test::Esito nobody = albero.avvia({"--check"}, true);
  EXPECT_EQ(nobody.stato, 1);
  EXPECT_NE(nobody.uscita.find("error: nobody cannot read 1 archived value files in " +
                               albero.cartella / "work/previous_foF1_data/ (2025001.csv): "
                                                 "Permission denied"),
            std::string::npos)
      << nobody.uscita;
  EXPECT_NE(nobody.uscita.find("error: nobody cannot write " + albero.cartella / "out/" +
                               ": Permission denied"),
            std::string::npos)
      << nobody.uscita;
}

// The description file beside gralvo.ini reaches status.json and the pages' header; a
// wrong one is one warning, and the run goes on without it.
TEST_F(StatusTest, TheStationsDescriptionReachesStatusAndPagesAndAWrongOneIsAWarning) {
  scrivi(cartella / "station.ini",
         "ursi_code = RO041\nname = Roma\nlatitude = 41.8\n"
         "longitude = 12.5\nlicence = CC BY 4.0\n");
  const test::Esito buona = avvia({"--site"});
  EXPECT_EQ(buona.stato, 0) << buona.errori;
  const json stato = json::parse(ReadWholeFile(cartella / "out/status.json"));
  EXPECT_EQ(stato["station_description"]["ursi_code"], "RO041");
  EXPECT_EQ(stato["station_description"]["latitude"], 41.8);
  EXPECT_TRUE(stato["station_description"]["contact"].is_null());
  EXPECT_NE(ReadWholeFile(cartella / "out/index.html")
                .find("<p class=\"identity\">RO041 \xC2\xB7 Roma \xC2\xB7 41.80\xC2\xB0 N"),
            std::string::npos);
  scrivi(cartella / "station.ini", "latitude = 95\n");
  const test::Esito cattiva = avvia({"--site"});
  EXPECT_EQ(cattiva.stato, 0);
  EXPECT_EQ(cattiva.errori, "fof1plot: warning: " + cartella / "station.ini" +
                                ": line 1: latitude 95 is not between -90 and 90; the run goes on "
                                "without the station's description\n");
  EXPECT_TRUE(
      json::parse(ReadWholeFile(cartella / "out/status.json"))["station_description"].is_null());
  EXPECT_EQ(ReadWholeFile(cartella / "out/index.html").find("class=\"identity\""),
            std::string::npos);
  EXPECT_NE(avvia({"--check"}).uscita.find("station.ini: line 1: latitude 95"), std::string::npos);
}

}  // namespace
}  // namespace fof1plot
