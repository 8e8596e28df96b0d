#include "output/figure_data.h"

#include <gtest/gtest.h>

#include "support/bench.h"

namespace fof1plot {
namespace {

struct Campione {
  int ora, minuto;
  const char* campo;  // null: the file cannot be read
};

// The CSV of 5 March 2025 for a Rome station with these samples, drawn by the program.
std::string csv_di(const std::vector<Campione>& campioni) {
  test::BancoFinto banco;
  banco.form.riempi_minuti();
  banco.form.indice_giorno = 6;
  banco.form.calcola_giorni();
  banco.files.aggiungi("/data/station.txt", {"Rome"});
  std::vector<std::string> elenco = {"station.txt"};
  for (const Campione& c : campioni) {
    char nome[32];
    std::snprintf(nome, sizeof nome, "RM041_2025064%02d%02d00.TXT", c.ora, c.minuto);
    banco.files.aggiungi(std::string("/data/") + nome, test::campione(c.campo ? c.campo : ""));
    if (c.campo == nullptr)
      banco.files.guasti[std::string("/data/") + nome] = {7, "Input/output error"};
    elenco.push_back(nome);
  }
  banco.directory.elenchi["/data/"] = elenco;
  banco.form.grafico_valori_autoscalati("032025");
  return testo_csv(banco.corsa.figura());
}

TEST(TestoCsvTest, OneRowPerSampleReadWithTheValueDrawnAndTheFieldAsFound) {
  const std::string kIntestazione = "time_utc,foF1_MHz,field\n";
  const struct {
    const char* nome;
    std::vector<Campione> campioni;
    std::string righe;
  } kCasi[] = {
      {"a value", {{10, 15, "04.3"}}, "2025-03-05T10:15:00Z,4.3,04.3\n"},
      {"a value with a blank", {{10, 15, " 4.5"}}, "2025-03-05T10:15:00Z,4.5,4.5\n"},
      {"two whole digits", {{10, 15, "12.0"}}, "2025-03-05T10:15:00Z,12.0,12.0\n"},
      {"N/A and NO",
       {{10, 15, " N/A"}, {10, 30, "NO  "}},
       "2025-03-05T10:15:00Z,,N/A\n2025-03-05T10:30:00Z,,NO\n"},
      {"junk and blanks",
       {{10, 15, "ab.c"}, {10, 30, "    "}},
       "2025-03-05T10:15:00Z,,ab.c\n2025-03-05T10:30:00Z,,\n"},
      {"a comma as separator", {{10, 15, " 4,5"}}, "2025-03-05T10:15:00Z,4.5,\"4,5\"\n"},
      {"a quote", {{10, 15, "4\"5 "}}, "2025-03-05T10:15:00Z,,\"4\"\"5\"\n"},
      {"an unreadable file",
       {{10, 15, nullptr}, {10, 30, " 4.5"}},
       "2025-03-05T10:30:00Z,4.5,4.5\n"},
      {"minute 00 first in its hour",
       {{10, 15, " 4.5"}, {10, 0, " 4.4"}},
       "2025-03-05T10:00:00Z,4.4,4.4\n2025-03-05T10:15:00Z,4.5,4.5\n"},
      {"an empty day", {}, ""},
  };
  for (const auto& caso : kCasi) {
    EXPECT_EQ(csv_di(caso.campioni), kIntestazione + caso.righe) << caso.nome;
  }
}

// A daily run on fakes: 5 March 2025 has a value, the other days nothing.
class SalvaDatiTest : public ::testing::Test {
 protected:
  SalvaDatiTest() { test::stazione_di_marzo(banco); }
  test::BancoFinto banco;
};

TEST_F(SalvaDatiTest, EachFigureGetsItsCsvPublishedAndArchivedUnderTheArchiveRule) {
  const std::string kVuoto = "time_utc,foF1_MHz,field\n";
  banco.scrittore.scritti["/w/previous_foF1_data/2025060.csv"] = "an earlier day's values";
  banco.scrittore.scritti["/w/previous_foF1_data/2025064.csv"] = "yesterday's run";
  banco.form.Form_Load();
  const auto& scritti = banco.scrittore.scritti;
  for (int k = 1; k <= 5; ++k) {
    EXPECT_EQ(scritti.at("/o/plotfoF1" + std::to_string(k) + ".csv"), kVuoto) << k;
  }
  EXPECT_EQ(scritti.at("/w/previous_foF1_data/2025064.csv"),
            kVuoto + "2025-03-05T10:15:00Z,4.5,4.5\n")
      << "a figure with values replaces its day's CSV";
  EXPECT_EQ(banco.scrittore.collegati.at("/o/plotfoF16.csv"), "/w/previous_foF1_data/2025064.csv")
      << "and is published as that same file";
  EXPECT_EQ(scritti.at("/w/previous_foF1_data/2025060.csv"), "an earlier day's values")
      << "a figure without values keeps it";
  EXPECT_EQ(scritti.at("/w/previous_foF1_data/2025059.csv"), kVuoto) << "or writes a new one";
  EXPECT_EQ(banco.directory.create.front(), "/w/previous_foF1_data/");
  EXPECT_EQ(banco.corsa.stato_di_uscita(), 0);
}

TEST_F(SalvaDatiTest, ABackfillArchivesTheCsvAndPublishesNone) {
  const std::chrono::sys_days giorno = std::chrono::year{2025} / 3 / 5;
  banco.form.ricostruisci_archivio(giorno, giorno);
  EXPECT_EQ(banco.scrittore.scritti.count("/o/plotfoF11.csv"), 0u);
  EXPECT_EQ(banco.scrittore.scritti.at("/w/previous_foF1_data/2025064.csv"),
            "time_utc,foF1_MHz,field\n2025-03-05T10:15:00Z,4.5,4.5\n");
}

}  // namespace
}  // namespace fof1plot
