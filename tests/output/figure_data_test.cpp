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
  const std::string kIntestazione = std::string(kIntestazioneCsv) + "\n";
  const struct {
    const char* nome;
    std::vector<Campione> campioni;
    std::string righe;
  } kCasi[] = {
      {"a value", {{10, 15, "04.3"}}, "2025-03-05T10:15:00Z,4.3,04.3,,\n"},
      {"a value with a blank", {{10, 15, " 4.5"}}, "2025-03-05T10:15:00Z,4.5,4.5,,\n"},
      {"two whole digits", {{10, 15, "12.0"}}, "2025-03-05T10:15:00Z,12.0,12.0,,\n"},
      {"N/A and NO",
       {{10, 15, " N/A"}, {10, 30, "NO  "}},
       "2025-03-05T10:15:00Z,,N/A,,\n2025-03-05T10:30:00Z,,NO,,\n"},
      {"junk and blanks",
       {{10, 15, "ab.c"}, {10, 30, "    "}},
       "2025-03-05T10:15:00Z,,ab.c,,\n2025-03-05T10:30:00Z,,,,\n"},
      {"a comma as separator", {{10, 15, " 4,5"}}, "2025-03-05T10:15:00Z,4.5,\"4,5\",,\n"},
      {"a quote", {{10, 15, "4\"5 "}}, "2025-03-05T10:15:00Z,,\"4\"\"5\",,\n"},
      {"an unreadable file",
       {{10, 15, nullptr}, {10, 30, " 4.5"}},
       "2025-03-05T10:30:00Z,4.5,4.5,,\n"},
      {"minute 00 first in its hour",
       {{10, 15, " 4.5"}, {10, 0, " 4.4"}},
       "2025-03-05T10:00:00Z,4.4,4.4,,\n2025-03-05T10:15:00Z,4.5,4.5,,\n"},
      {"an empty day", {}, ""},
  };
  for (const auto& caso : kCasi) {
    EXPECT_EQ(csv_di(caso.campioni), kIntestazione + caso.righe) << caso.nome;
  }
}

// The forecast columns against the curve as drawn, worked out by hand: 4.0 MHz at 10 UT,
// 5.0 at 11, 6.0 at 23, no field at 12 and 22. A sample lands at 10 UT plus its minute
// divided by 6, halves rounded down (10:15 at 10.2 h, 10:58 at 11.0 h).
TEST(TestoCsvTest, EachValueBesideTheForecastCurveAtItsTime) {
  RegistroFigura figura;
  figura.data = std::chrono::year{2025} / 3 / 5;
  figura.previsione[10] = 40;
  figura.previsione[11] = 50;
  figura.previsione[21] = 70;
  figura.previsione[23] = 60;
  const struct {
    int ora, minuto;
    TipoCampo tipo;
    double decimi;
    const char* campo;
    const char* colonne;  // forecast_MHz,deviation_MHz
  } kCampioni[] = {
      {10, 0, TipoCampo::kValore, 40, "4.0", "4.00,0.00"},
      {10, 15, TipoCampo::kValore, 45, "4.5", "4.20,0.30"},
      {10, 40, TipoCampo::kValore, 39, "3.9", "4.70,-0.80"},
      {10, 58, TipoCampo::kNA, 0, "N/A", "5.00,"},
      {11, 30, TipoCampo::kValore, 50, "5.0", ","},
      {21, 30, TipoCampo::kValore, 70, "7.0", ","},
      {23, 0, TipoCampo::kAltro, 61, "6x1", "6.00,"},
      {23, 15, TipoCampo::kValore, 60, "6.0", ","},
  };
  std::string atteso = std::string(kIntestazioneCsv) + "\n";
  for (const auto& c : kCampioni) {
    CampioneRegistrato& campione = figura.campioni.emplace_back();
    campione.ora = static_cast<std::uint8_t>(c.ora);
    campione.minuto = static_cast<std::uint8_t>(c.minuto);
    campione.tipo = c.tipo;
    campione.decimi = c.decimi;
    campione.lunghezza_campo =
        static_cast<std::uint8_t>(std::string(c.campo).copy(campione.campo.data(), 4));
    char riga[80];
    std::snprintf(riga, sizeof riga, "2025-03-05T%02d:%02d:00Z,%s,%s,%s\n", c.ora, c.minuto,
                  c.tipo == TipoCampo::kValore ? in_mhz(c.decimi).c_str() : "", c.campo, c.colonne);
    atteso += riga;
  }
  EXPECT_EQ(testo_csv(figura), atteso);
}

// A daily run on fakes: 5 March 2025 has a value, the other days nothing.
class SalvaDatiTest : public ::testing::Test {
 protected:
  SalvaDatiTest() { test::stazione_di_marzo(banco); }
  test::BancoFinto banco;
};

TEST_F(SalvaDatiTest, AnArchivedCsvIsWrittenOnlyWithTheArchivedGifItDescribes) {
  const std::string kVuoto = std::string(kIntestazioneCsv) + "\n";
  // The month's forecast is 0.0 at every hour.
  const std::string kValori = kVuoto + "2025-03-05T10:15:00Z,4.5,4.5,0.00,4.50\n";
  // 5 March is drawn from its sample, 4 March from none.
  const struct {
    const char* nome;
    bool gif, csv, campioni;
    EsitoArchivio esito;
    const char* csv_dopo;  // null: still missing
  } kCasi[] = {
      {"new day with values", false, false, true, EsitoArchivio::kNuova, "values"},
      {"values, a stray CSV", false, true, true, EsitoArchivio::kNuova, "values"},
      {"values, killed before the CSV", true, false, true, EsitoArchivio::kSostituita, "values"},
      {"values replace both", true, true, true, EsitoArchivio::kSostituita, "values"},
      {"new day without values", false, false, false, EsitoArchivio::kNuova, "header"},
      {"no values, a stray CSV", false, true, false, EsitoArchivio::kNuova, "header"},
      {"pruned day without a CSV", true, false, false, EsitoArchivio::kMantenuta, nullptr},
      {"pruned day with its CSV", true, true, false, EsitoArchivio::kMantenuta, "earlier"},
  };
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.nome);
    test::BancoFinto banco;
    test::stazione_di_marzo(banco);
    const std::string radice = caso.campioni ? "2025064" : "2025063";
    const std::string gif = "/w/previous_foF1_plots/" + radice + ".gif";
    const std::string csv = "/w/previous_foF1_data/" + radice + ".csv";
    if (caso.gif) banco.wpdlx1.presenti.insert(gif);
    if (caso.csv) banco.scrittore.scritti[csv] = "earlier";
    banco.form.Form_Load();
    const RegistroFigura& figura = banco.corsa.figure().at(caso.campioni ? 6 : 5);
    ASSERT_EQ(figura.slot, caso.campioni ? 6 : 5);
    EXPECT_EQ(figura.archivio, caso.esito);
    const auto scritto = banco.scrittore.scritti.find(csv);
    if (caso.csv_dopo == nullptr) {
      EXPECT_EQ(scritto, banco.scrittore.scritti.end()) << "a missing CSV stays missing";
    } else {
      ASSERT_NE(scritto, banco.scrittore.scritti.end());
      const std::string atteso = std::string(caso.csv_dopo) == "values"   ? kValori
                                 : std::string(caso.csv_dopo) == "header" ? kVuoto
                                                                          : "earlier";
      EXPECT_EQ(scritto->second, atteso);
    }
    const std::string pubblicato = caso.campioni ? "/o/plotfoF16.csv" : "/o/plotfoF15.csv";
    if (caso.esito == EsitoArchivio::kMantenuta) {
      EXPECT_EQ(banco.scrittore.scritti.at(pubblicato), kVuoto) << "the run's own values published";
    } else {
      EXPECT_EQ(banco.scrittore.collegati.at(pubblicato), csv) << "the archived file published";
    }
    EXPECT_EQ(banco.corsa.stato_di_uscita(), 0);
  }
}

TEST_F(SalvaDatiTest, ABackfillArchivesTheCsvAndPublishesNone) {
  const std::chrono::sys_days giorno = std::chrono::year{2025} / 3 / 5;
  banco.form.ricostruisci_archivio(giorno, giorno);
  EXPECT_EQ(banco.scrittore.scritti.count("/o/plotfoF11.csv"), 0u);
  EXPECT_EQ(banco.scrittore.scritti.at("/w/previous_foF1_data/2025064.csv"),
            std::string(kIntestazioneCsv) + "\n2025-03-05T10:15:00Z,4.5,4.5,0.00,4.50\n");
}

}  // namespace
}  // namespace fof1plot
