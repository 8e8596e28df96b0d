#include "run/command_line.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

namespace fof1plot {
namespace {

using Azione = RigaDiComando::Azione;
using namespace std::chrono;

RigaDiComando leggi(std::vector<std::string> argomenti) {
  argomenti.insert(argomenti.begin(), "fof1plot");
  std::vector<char*> argv;
  for (std::string& a : argomenti) argv.push_back(a.data());
  argv.push_back(nullptr);
  return leggi_riga_di_comando(static_cast<int>(argomenti.size()), argv.data());
}

TEST(RigaDiComandoTest, OptionsStandBeforeBetweenOrAfterTheDates) {
  constexpr sys_days k25Gen = 2025y / January / 25, k5Mar = 2025y / March / 5;
  const struct {
    std::vector<std::string> argomenti;
    Azione azione;
    const char* metriche;
    bool sito;
    sys_days primo, ultimo;
  } kCasi[] = {
      {{}, Azione::kCorsaGiornaliera, "", false, {}, {}},
      {{"--site", "--metrics", "m"}, Azione::kCorsaGiornaliera, "m", true, {}, {}},
      {{"--metrics", "m", "--site"}, Azione::kCorsaGiornaliera, "m", true, {}, {}},
      {{"--archive", "2025-01-25", "2025-03-05", "--site", "--metrics", "f"},
       Azione::kArchivio,
       "f",
       true,
       k25Gen,
       k5Mar},
      {{"--site", "--archive", "2025-01-25", "2025-03-05"},
       Azione::kArchivio,
       "",
       true,
       k25Gen,
       k5Mar},
      {{"--archive", "2025-01-25", "--site", "2025-03-05"},
       Azione::kArchivio,
       "",
       true,
       k25Gen,
       k5Mar},
      {{"--metrics", "f", "--archive", "2025-01-25"},
       Azione::kArchivio,
       "f",
       false,
       k25Gen,
       k25Gen},
      {{"--archive", "2025-01-25", "--metrics", "f"},
       Azione::kArchivio,
       "f",
       false,
       k25Gen,
       k25Gen},
      {{"--archive=2025-01-25", "--metrics=f", "2025-03-05"},
       Azione::kArchivio,
       "f",
       false,
       k25Gen,
       k5Mar},
      {{"--check"}, Azione::kVerifica, "", false, {}, {}},
      {{"--site", "--check", "--metrics", "m"}, Azione::kVerifica, "m", true, {}, {}},
      {{"--network", "net"}, Azione::kRete, "", false, {}, {}},
      {{"--metrics", "m", "--network=net"}, Azione::kRete, "m", false, {}, {}},
  };
  for (const auto& caso : kCasi) {
    std::string nome;
    for (const std::string& a : caso.argomenti) nome += a + " ";
    SCOPED_TRACE(nome);
    const RigaDiComando riga = leggi(caso.argomenti);
    ASSERT_EQ(riga.azione, caso.azione) << riga.errore;
    EXPECT_EQ(riga.metriche, caso.metriche);
    EXPECT_EQ(riga.sito, caso.sito);
    EXPECT_EQ(riga.primo, caso.primo);
    EXPECT_EQ(riga.ultimo, caso.ultimo);
    EXPECT_EQ(riga.rete, caso.azione == Azione::kRete ? "net" : "");
  }
}

// --full asks the daily run for a full pass; the check units pass it on with the run's
// options.
TEST(RigaDiComandoTest, FullGoesWithTheDailyRunAndTheCheck) {
  const RigaDiComando giornaliera = leggi({"--site", "--full"});
  EXPECT_EQ(giornaliera.azione, Azione::kCorsaGiornaliera) << giornaliera.errore;
  EXPECT_TRUE(giornaliera.completo && giornaliera.sito);
  const RigaDiComando verifica = leggi({"--check", "--full"});
  EXPECT_EQ(verifica.azione, Azione::kVerifica) << verifica.errore;
  EXPECT_FALSE(leggi({"--site"}).completo);
}

TEST(RigaDiComandoTest, WrongCommandLinesInAnyOrderNameWhatIsWrong) {
  const struct {
    std::vector<std::string> argomenti;
    const char* errore;
  } kCasi[] = {
      {{"--archive", "2025-01-25", "2025-03-05", "2025-03-06"}, "unexpected argument '2025-03-06'"},
      {{"2025-03-05", "--site", "--archive", "2025-01-25", "x"}, "unexpected argument 'x'"},
      {{"--site", "today"}, "unexpected argument 'today'"},
      {{"today", "--metrics", "m"}, "unexpected argument 'today'"},
      {{"--network", "net", "--site"}, "--site goes with the daily run, --archive or --check"},
      {{"--network"}, "--network needs a directory"},
      {{"--network", "net", "--archive", "2025-01-25"}, "more than one of"},
      {{"--network", "net", "other"}, "unexpected argument 'other'"},
      {{"--archive", "2025-01-25", "--check"}, "more than one of"},
      {{"--archive", "2025-03-05", "--site", "2025-01-25"}, "the last day comes before the first"},
      {{"--site", "--archive"}, "--archive needs the first day, yyyy-mm-dd"},
      {{"--archive", "2025-01-25", "--metrics"}, "--metrics needs a file"},
      {{"--archive", "2025-01-25", "--bogus"}, "unknown option '--bogus'"},
      {{"--full", "--archive", "2025-01-25"}, "--full goes with the daily run or --check"},
      {{"--network", "net", "--full"}, "--full goes with the daily run or --check"},
  };
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.errore);
    const RigaDiComando riga = leggi(caso.argomenti);
    ASSERT_EQ(riga.azione, Azione::kErrore);
    EXPECT_NE(riga.errore.find(caso.errore), std::string::npos) << riga.errore;
  }
}

// The command lines the README, the guide and the manual page show: every code line or
// span that starts with "fof1plot -" or "--archive ", with the placeholders given values
// and absolute paths as they stand.
std::vector<std::string> righe_documentate(const std::string& path) {
  std::ifstream file(std::string(SOURCE_DIR) + "/" + path);
  std::stringstream testo;
  testo << file.rdbuf();
  // The manual page writes each - of an option as \-.
  const std::string pulito = std::regex_replace(testo.str(), std::regex(R"(\\-)"), "-");
  static const std::regex kComando(
      R"((?:^|[\s`(/])((?:fof1plot(?= --)|--archive(?= (?:\d|FIRST)))(?: +(?:--?[a-zA-Z]+(?:=\S+)?|)"
      R"(\d{4}-\d\d-\d\d|FIRST|\[?LAST\]?|FILE|DIR|[\w./-]+\.prom|/[\w./-]+))*))");
  std::vector<std::string> comandi;
  for (auto it = std::sregex_iterator(pulito.begin(), pulito.end(), kComando);
       it != std::sregex_iterator(); ++it) {
    comandi.push_back((*it)[1]);
  }
  return comandi;
}

TEST(RigaDiComandoTest, EveryCommandLineTheDocumentsShowIsUnderstood) {
  int trovate = 0;
  bool archivio_e_sito = false;
  for (const char* documento : {"README.md", "docs/operating.md", "dist/fof1plot.1.in"}) {
    for (std::string comando : righe_documentate(documento)) {
      SCOPED_TRACE(std::string(documento) + ": " + comando);
      archivio_e_sito = archivio_e_sito || comando.find("LAST --site") != std::string::npos;
      comando = std::regex_replace(comando, std::regex("FIRST"), "2025-03-01");
      comando = std::regex_replace(comando, std::regex(R"(\[?LAST\]?)"), "2025-03-10");
      comando = std::regex_replace(comando, std::regex("FILE"), "m.prom");
      comando = std::regex_replace(comando, std::regex("DIR"), "net");
      std::istringstream parole(comando);
      std::vector<std::string> argomenti;
      for (std::string parola; parole >> parola;) {
        if (parola != "fof1plot") argomenti.push_back(parola);
      }
      const RigaDiComando riga = leggi(argomenti);
      EXPECT_NE(riga.azione, Azione::kErrore) << riga.errore;
      ++trovate;
    }
  }
  EXPECT_GE(trovate, 10) << "the documents' command lines were found";
  EXPECT_TRUE(archivio_e_sito) << "the README's --archive FIRST LAST --site";
}

}  // namespace
}  // namespace fof1plot
