#include "samples/sample_listing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <optional>

#include "platform/directory.h"
#include "platform/text_files.h"
#include "run/form1.h"
#include "support/fakes.h"
#include "support/figures.h"

namespace fof1plot {
namespace {

// Day 1 is 5 March 2025, day 064 of its year; the others are the days after it.
std::chrono::sys_days giorno(int k) {
  return std::chrono::sys_days{std::chrono::year{2025} / 3 / 5} + std::chrono::days{k - 1};
}

TEST(ElencoCampioniTest, ANameCountsWhenItIsASampleNameIgnoringLetterCase) {
  const struct {
    const char* nome;
    int tipo, giorno, ora, minuto;  // tipo 0: nothing recorded
  } kCasi[] = {
      {"RM041_2025064101500.TXT", 4, 1, 10, 15},
      {"rm041_2025064101500.txt", 4, 1, 10, 15},
      {"SP044_2025069235900.TXT", 5, 6, 23, 59},
      {"ML10L_2025065000000.TXT", 6, 2, 0, 0},
      {"TUJ2O_20250641015.TXT", 2, 1, 10, 15},
      {"BBJ3R_20250660930.txt", 3, 3, 9, 30},
      {"25064K15.TXT", 1, 1, 10, 15},
      {"25064x59.txt", 1, 1, 23, 59},
      {"RM041_2025070101500.TXT", 0, 0, 0, 0},
      {"RM041_2024064101500.TXT", 0, 0, 0, 0},
      {"RM041_2025064241500.TXT", 0, 0, 0, 0},
      {"RM041_2025064106000.TXT", 0, 0, 0, 0},
      {"RM041_2025064101501.TXT", 0, 0, 0, 0},
      {"RM041_20250641015.TXT", 0, 0, 0, 0},
      {"25064Y15.TXT", 0, 0, 0, 0},
      {"RM041_2025064101500.TXT.bak", 0, 0, 0, 0},
      {"xRM041_2025064101500.TXT", 0, 0, 0, 0},
      {"", 0, 0, 0, 0},
  };
  for (const auto& caso : kCasi) {
    ElencoCampioni elenco;
    elenco.prepara(giorno(1), giorno(6));
    elenco.registra(caso.nome);
    int registrati = 0;
    for (int tipo = 1; tipo <= 6; ++tipo) {
      for (int k = 1; k <= 6; ++k) {
        for (int ora = 0; ora < 24; ++ora) {
          for (int minuto = 0; minuto < 60; ++minuto) {
            const bool atteso =
                tipo == caso.tipo && k == caso.giorno && ora == caso.ora && minuto == caso.minuto;
            registrati += elenco.contiene(tipo, giorno(k), ora, minuto);
            EXPECT_EQ(elenco.contiene(tipo, giorno(k), ora, minuto), atteso) << caso.nome;
          }
        }
      }
    }
    EXPECT_EQ(registrati, caso.tipo == 0 ? 0 : 1) << caso.nome;
  }
}

// Across a new year, a name's day of year counts only within its own year's length.
TEST(ElencoCampioniTest, ARangeAcrossNewYearTakesEachYearsOwnDays) {
  using namespace std::chrono;
  const struct {
    year_month_day primo;
    const char* nome;
    std::optional<year_month_day> giorno;
  } kCasi[] = {
      {2024y / 12 / 29, "RM041_2024366101500.TXT", 2024y / 12 / 31},
      {2024y / 12 / 29, "RM041_2025003101500.TXT", 2025y / 1 / 3},
      {2024y / 12 / 29, "24364K15.TXT", 2024y / 12 / 29},
      {2024y / 12 / 29, "RM041_2024363101500.TXT", std::nullopt},
      {2024y / 12 / 29, "RM041_2025004101500.TXT", std::nullopt},
      {2025y / 12 / 30, "RM041_2025366101500.TXT", std::nullopt},
      {2025y / 12 / 30, "25366K15.TXT", std::nullopt},
      {2025y / 12 / 30, "RM041_2026000101500.TXT", std::nullopt},
      {2025y / 12 / 30, "RM041_2026001101500.TXT", 2026y / 1 / 1},
  };
  for (const auto& caso : kCasi) {
    ElencoCampioni elenco;
    elenco.prepara(sys_days{caso.primo}, sys_days{caso.primo} + days{5});
    elenco.registra(caso.nome);
    const int tipo = caso.nome[0] == 'R' ? 4 : 1;
    for (int k = 0; k < 6; ++k) {
      const sys_days g = sys_days{caso.primo} + days{k};
      EXPECT_EQ(elenco.contiene(tipo, g, 10, 15), caso.giorno && sys_days{*caso.giorno} == g)
          << caso.nome << " on day " << k;
    }
  }
}

std::string campione_rm() { return "Rome\r\n2\r\n3\r\n4\r\n5\r\n6\r\nfoF1 (MHz):     4.5\r\n"; }

// The real directory listing and files under the plot window: which samples of a Rome
// station directory are read, as discs drawn.
struct DatiSuDisco {
  DatiSuDisco() {
    test::crea_cartella(cartella / "data");
    test::crea_cartella(cartella / "elsewhere");
    test::scrivi(cartella / "data/000_station.txt", "Rome\r\n");
    form.cartella_dati = cartella / "data/";
    form.riempi_minuti();
    for (int k = 1; k <= 6; ++k) form.calcola_giorno(k, std::chrono::year{2025} / 3 / (4 + k));
    form.indice_giorno = 1;
    corsa.prepara_giorni(giorno(1), giorno(6));
    corsa.nuova_figura(1, giorno(1));
  }
  // Whether the file system finds a name written in other letters.
  bool senza_maiuscole() const {
    test::scrivi(cartella / "elsewhere/probe", "");
    return test::esiste(cartella / "elsewhere/PROBE");
  }
  int letti() {
    form.grafico_valori_autoscalati(form.mese_anno(1));
    return static_cast<int>(canvas.filtrate("Circle").size());
  }
  test::CartellaTemporanea cartella;
  test::FakeSurface canvas;
  test::FakeImageExport wpdlx1;
  PosixTextFiles files;
  PosixDirectory directory;
  test::FixedClock clock{std::chrono::year{2025} / 3 / 10};
  test::FakeDiagnostics diagnostica;
  PosixFileWriter scrittore;
  Corsa corsa{files, directory, clock, diagnostica, scrittore};
  Form1 form{canvas, wpdlx1, corsa};
};

TEST(ListingOnDiskTableTest, WhatIsRead) {
  const std::string kNome = "RM041_2025064101500.TXT";
  const struct {
    const char* contenuto;
    std::function<void(const test::CartellaTemporanea&)> prepara;
    std::function<int(bool senza_maiuscole)> letti;
  } kCasi[] = {
      {"exact-case name", [&](auto& c) { test::scrivi(c / ("data/" + kNome), campione_rm()); },
       [](bool) { return 1; }},
      {"other-case name only",
       [&](auto& c) { test::scrivi(c / "data/rm041_2025064101500.txt", campione_rm()); },
       [](bool senza_maiuscole) { return senza_maiuscole ? 1 : 0; }},
      {"hidden file", [&](auto& c) { test::scrivi(c / ("data/." + kNome), campione_rm()); },
       [](bool) { return 0; }},
      {"directory with a sample's name",
       [&](auto& c) { test::crea_cartella(c / ("data/" + kNome)); }, [](bool) { return 0; }},
      {"FIFO with a sample's name",
       [&](auto& c) { ASSERT_EQ(::mkfifo((c / ("data/" + kNome)).c_str(), 0600), 0); },
       [](bool) { return 0; }},
      {"link to a sample",
       [&](auto& c) {
         test::scrivi(c / "elsewhere/s", campione_rm());
         ASSERT_EQ(::symlink((c / "elsewhere/s").c_str(), (c / ("data/" + kNome)).c_str()), 0);
       },
       [](bool) { return 1; }},
      {"the station file only", [](auto&) {}, [](bool) { return 0; }},
  };
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.contenuto);
    DatiSuDisco banco;
    caso.prepara(banco.cartella);
    const bool senza_maiuscole = banco.senza_maiuscole();
    EXPECT_EQ(banco.letti(), caso.letti(senza_maiuscole));
    EXPECT_EQ(banco.form.riconosci_stazione(), 4);
    EXPECT_TRUE(banco.corsa.righe_guasti().empty());
  }
}

}  // namespace
}  // namespace fof1plot
