#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "support/bench.h"

namespace fof1plot {
namespace {

struct Campione {
  int ora, minuto;
  std::string campo;
};

class GraficoValoriTest : public ::testing::Test {
 protected:
  static std::string nome(int ora, int minuto) {
    char testo[64];
    std::snprintf(testo, sizeof testo, "RM041_2025064%02d%02d00.TXT", ora, minuto);
    return testo;
  }
  // A fresh plot window on slot 1, 5 March 2025, of a Rome station whose directory
  // lists these samples after its station file.
  void prepara(const std::vector<Campione>& campioni) {
    banco = std::make_unique<test::BancoFinto>();
    banco->form.riempi_minuti();
    banco->form.indice_giorno = 1;
    banco->form.mese_anno(1) = "032025";
    banco->form.giorno_anno(1) = "064";
    const std::chrono::sys_days giorno = std::chrono::year{2025} / 3 / 5;
    banco->corsa.prepara_giorni(giorno, giorno);
    banco->corsa.nuova_figura(1, giorno);
    banco->files.aggiungi("/data/station.txt", {"Rome"});
    std::vector<std::string> elenco = {"station.txt"};
    for (const Campione& c : campioni) {
      banco->files.aggiungi("/data/" + nome(c.ora, c.minuto), test::campione(c.campo));
      elenco.push_back(nome(c.ora, c.minuto));
    }
    banco->directory.elenchi["/data/"] = elenco;
  }
  // The discs and lines drawn for a day with these samples.
  std::vector<std::string> disegna(const std::vector<Campione>& campioni) {
    prepara(campioni);
    banco->form.grafico_valori_autoscalati("032025");
    std::vector<std::string> disegni;
    for (const std::string& c : banco->chiamate) {
      if (c.rfind("Fill", 0) != 0) disegni.push_back(c);
    }
    return disegni;
  }
  std::unique_ptr<test::BancoFinto> banco;
};

TEST_F(GraficoValoriTest, DiscsTicksAndTheJoiningRule) {
  const char* kRosso = " #FF0000";
  auto disco = [&](int x, const char* y) {
    return "Circle " + std::to_string(x) + " " + y + " 2" + kRosso;
  };
  const struct {
    const char* nome;
    std::vector<Campione> campioni;
    std::vector<std::string> disegni;
  } kCasi[] = {
      {"quarter hours join 15-30 and 30-45, never minute 00",
       {{10, 0, " 4.5"}, {10, 15, " 4.5"}, {10, 30, " 5.0"}, {10, 45, " 4.5"}, {11, 15, " 4.5"}},
       {disco(102, "45"), disco(105, "50"), "Line 105 50 102 45 #FF0000", disco(107, "45"),
        "Line 107 45 105 50 #FF0000", disco(100, "45"), disco(112, "45")}},
      {"five-minute ionograms draw no segment",
       {{10, 5, " 4.5"}, {10, 10, " 4.6"}, {10, 15, " 4.7"}, {10, 20, " 4.8"}},
       {disco(101, "45"), disco(102, "46"), disco(102, "47"), disco(103, "48")}},
      {"N/A between two values keeps the join",
       {{10, 15, " 4.5"}, {10, 20, " N/A"}, {10, 30, " 4.5"}},
       {disco(102, "45"), "Line 103 1 103 8 #00FF00", disco(105, "45"),
        "Line 105 45 102 45 #FF0000"}},
      {"NO is an orange tick", {{10, 15, "NO  "}}, {"Line 102 1 102 8 #FF9900"}},
      {"a 0 value is never joined from",
       {{10, 15, "00.0"}, {10, 30, " 4.5"}},
       {disco(102, "0"), disco(105, "45")}},
      {"hour 3 minute 7", {{3, 7, " 4.5"}}, {disco(31, "45")}},
      {"minute 58 lands on the next hour",
       {{5, 58, " 4.5"}, {23, 58, " 4.5"}},
       {disco(60, "45"), disco(240, "45")}},
      {"values are not limited", {{12, 0, "20.0"}}, {disco(120, "200")}},
      {"lower-case n/a is a value of 0", {{12, 0, " n/a"}}, {disco(120, "0")}},
  };
  for (const auto& caso : kCasi) EXPECT_EQ(disegna(caso.campioni), caso.disegni) << caso.nome;
}

TEST_F(GraficoValoriTest, EachDiscSetsItsOwnSolidFill) {
  disegna({{10, 15, " 4.5"}});
  EXPECT_EQ(banco->chiamate, (std::vector<std::string>{"FillStyle 0", "FillColor #FF0000",
                                                       "Circle 102 45 2 #FF0000"}));
}

TEST_F(GraficoValoriTest, ListedNamesAreOpenedHourByHourWithMinuteZeroLast) {
  std::vector<Campione> giorno;
  for (int ora = 23; ora >= 0; --ora) {
    for (int minuto = 0; minuto < 60; ++minuto) giorno.push_back({ora, minuto, " 4.5"});
  }
  prepara(giorno);
  banco->form.grafico_valori_autoscalati("032025");
  const auto& t = banco->files.tentativi;
  ASSERT_EQ(t.size(), 1u + 1440u);
  EXPECT_EQ(t[1], "/data/" + nome(0, 1));
  EXPECT_EQ(t[59], "/data/" + nome(0, 59));
  EXPECT_EQ(t[60], "/data/" + nome(0, 0));
  EXPECT_EQ(t[61], "/data/" + nome(1, 1));
  EXPECT_EQ(t[1440], "/data/" + nome(23, 0));
  EXPECT_EQ(banco->corsa.figura().letti(), 1440);
}

TEST_F(GraficoValoriTest, OnlyNamesTheListingHoldsAreOpened) {
  prepara({{10, 15, " 4.5"}});
  banco->files.aggiungi("/data/" + nome(10, 30), test::campione(" 5.0"));
  banco->form.grafico_valori_autoscalati("032025");
  EXPECT_EQ(banco->files.tentativi,
            (std::vector<std::string>{"/data/station.txt", "/data/" + nome(10, 15)}));
  EXPECT_EQ(banco->corsa.figura().letti(), 1);
}

TEST_F(GraficoValoriTest, EverySampleTheListingHoldsIsRecordedWithWhatWasDrawn) {
  const struct {
    const char* nome;
    const char* campo;  // null: the file is unreadable
    LetturaCampione lettura;
    TipoCampo tipo;
    const char* trovato;
    double decimi;
  } kCasi[] = {
      {"a value", " 4.5", LetturaCampione::kLetto, TipoCampo::kValore, "4.5", 45},
      {"a value in the last tenth", "12.5", LetturaCampione::kLetto, TipoCampo::kValore, "12.5",
       125},
      {"N/A", " N/A", LetturaCampione::kLetto, TipoCampo::kNA, "N/A", 0},
      {"NO", "NO  ", LetturaCampione::kLetto, TipoCampo::kNO, "NO", 0},
      {"blanks", "    ", LetturaCampione::kLetto, TipoCampo::kAltro, "", 0},
      {"junk", "ab.c", LetturaCampione::kLetto, TipoCampo::kAltro, "ab.c", 0},
      {"a value not in dd.d", "4.5 ", LetturaCampione::kLetto, TipoCampo::kAltro, "4.5", 4},
      {"an unreadable file", nullptr, LetturaCampione::kIlleggibile, TipoCampo::kAltro, "", 0},
  };
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.nome);
    prepara({{10, 15, caso.campo != nullptr ? caso.campo : ""}});
    if (caso.campo == nullptr) {
      banco->files.guasti["/data/" + nome(10, 15)] = {3, "Input/output error"};
    }
    banco->form.grafico_valori_autoscalati("032025");
    const RegistroFigura& figura = banco->corsa.figura();
    ASSERT_EQ(figura.campioni.size(), 1u);
    const CampioneRegistrato& c = figura.campioni[0];
    EXPECT_EQ(c.ora, 10);
    EXPECT_EQ(c.minuto, 15);
    EXPECT_EQ(c.lettura, caso.lettura);
    EXPECT_EQ(c.tipo, caso.tipo);
    EXPECT_EQ(c.campo_valore(), caso.trovato);
    EXPECT_DOUBLE_EQ(c.decimi, caso.decimi);
    EXPECT_EQ(figura.stazione, "Rome");
    if (caso.campo == nullptr) {
      EXPECT_EQ(figura.motivi,
                (std::vector<std::pair<std::size_t, std::string>>{{0, "Input/output error"}}));
    }
  }
}

TEST_F(GraficoValoriTest, AFileGoneOrStillBeingWrittenIsRecordedAsSuch) {
  prepara({{10, 15, " 4.5"}, {10, 30, " 4.6"}, {10, 45, " 4.7"}});
  banco->files.file.erase("/data/" + nome(10, 15));
  banco->files.file["/data/" + nome(10, 30)].resize(5);
  banco->form.grafico_valori_autoscalati("032025");
  const RegistroFigura& figura = banco->corsa.figura();
  ASSERT_EQ(figura.campioni.size(), 3u);
  EXPECT_EQ(figura.campioni[0].lettura, LetturaCampione::kScomparso);
  EXPECT_EQ(figura.campioni[1].lettura, LetturaCampione::kIncompleto);
  EXPECT_EQ(figura.campioni[2].lettura, LetturaCampione::kLetto);
  EXPECT_EQ(figura.letti(), 1);
  banco->corsa.figura().previsione_letta = true;
  EXPECT_TRUE(figura.completa()) << "what is gone or still being written is no lost input";
}

}  // namespace
}  // namespace fof1plot
