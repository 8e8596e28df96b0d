#include <gtest/gtest.h>

#include "support/bench.h"

namespace fof1plot {
namespace {

struct Cartelle {
  std::string lavoro, dati, uscita;
  bool operator==(const Cartelle&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Cartelle& c) {
  return out << "{" << c.lavoro << "|" << c.dati << "|" << c.uscita << "}";
}

TEST(LeggiImpostazioniTest, LinesTwoFourAndSixAsWrittenAndTheFirstMissingLineReported) {
  const struct {
    const char* nome;
    std::vector<std::string> righe;
    Cartelle attese;
    std::vector<std::string> segnalate;
    bool lette = true;
  } kCasi[] = {
      {"six lines",
       {"w", "/iono/work/", "d", "/iono/data/", "o", "/www/"},
       {"/iono/work/", "/iono/data/", "/www/"},
       {}},
      {"four lines",
       {"w", "/work/", "d", "/data/"},
       {"/work/", "/data/", ""},
       {"/home/op/gralvo.ini: cannot read line 5: end of file"},
       false},
      {"blanks kept", {"", " /work ", "", "\t/data/", "", ""}, {" /work ", "\t/data/", ""}, {}},
      {"later lines ignored", {"1", "2", "3", "4", "5", "6", "7", "8"}, {"2", "4", "6"}, {}},
  };
  for (const auto& caso : kCasi) {
    test::BancoFinto banco;
    banco.form.cartella_lavoro.clear();
    banco.form.cartella_dati.clear();
    banco.form.cartella_uscita.clear();
    banco.files.aggiungi("gralvo.ini", caso.righe);
    EXPECT_EQ(banco.form.leggi_impostazioni(), caso.lette) << caso.nome;
    EXPECT_EQ(Cartelle({banco.form.cartella_lavoro, banco.form.cartella_dati,
                        banco.form.cartella_uscita}),
              caso.attese)
        << caso.nome;
    EXPECT_EQ(banco.righe(), caso.segnalate) << caso.nome;
  }
}

TEST(LeggiImpostazioniTest, WithoutWholeSettingsTheRunStopsWithOneLineAndWritesNothing) {
  const struct {
    const char* nome;
    bool presente;
    int riga_guasta;  // 0 the open, -1 none
    const char* motivo;
    const char* riga;
  } kCasi[] = {
      {"missing", false, -1, "",
       "/home/op/gralvo.ini: cannot open the settings file: No such file or directory"},
      {"unreadable", true, 0, "Permission denied",
       "/home/op/gralvo.ini: cannot open the settings file: Permission denied"},
      {"I/O error on line 3", true, 3, "Input/output error",
       "/home/op/gralvo.ini: cannot read line 3: Input/output error"},
  };
  for (const auto& caso : kCasi) {
    test::BancoFinto banco;
    if (caso.presente) banco.files.aggiungi("gralvo.ini", {"w", "/w/", "d", "/d/", "o", "/o/"});
    if (caso.riga_guasta >= 0) banco.files.guasti["gralvo.ini"] = {caso.riga_guasta, caso.motivo};
    banco.form.Form_Load();
    EXPECT_EQ(banco.righe(), std::vector<std::string>{caso.riga}) << caso.nome;
    EXPECT_TRUE(banco.chiamate.empty()) << caso.nome << ": nothing drawn";
    EXPECT_TRUE(banco.wpdlx1.chiamate.empty()) << caso.nome << ": nothing written";
    EXPECT_TRUE(banco.directory.bloccate.empty() && banco.scrittore.avanzi.empty()) << caso.nome;
    EXPECT_EQ(banco.corsa.stato_di_uscita(), 1) << caso.nome;
  }
}

}  // namespace
}  // namespace fof1plot
