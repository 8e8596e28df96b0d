#include <gtest/gtest.h>

#include "support/bench.h"

namespace fof1plot {
namespace {

class NomeFileCampioneTest : public ::testing::Test {
 protected:
  // The name of the sample of a minute slot for a station, in slot 3.
  std::string nome(const char* stazione, int ora, int m, const std::string& mese_anno = "032025") {
    test::BancoFinto banco;
    banco.form.riempi_minuti();
    banco.form.indice_giorno = 3;
    banco.form.giorno_anno(3) = giorno;
    banco.directory.elenchi["/data/"] = {"s"};
    banco.files.aggiungi("/data/s", {stazione});
    const std::int16_t tipo = banco.form.riconosci_stazione();
    return banco.form.nome_file_campione(banco.form.prefisso_nome_campione(tipo, mese_anno), tipo,
                                         ora, m);
  }
  std::string giorno = "064";
};

TEST_F(NomeFileCampioneTest, OneNamePerKindForDay64Of2025At1015) {
  const struct {
    const char* stazione;
    const char* nome;
  } kCasi[] = {
      {"Gibi", "/data/25064K15.TXT"},
      {"Tucu", "/data/TUJ2O_20250641015.TXT"},
      {"Bahi", "/data/BBJ3R_20250641015.TXT"},
      {"Rome", "/data/RM041_2025064101500.TXT"},
      {"La_S", "/data/SP044_2025064101500.TXT"},
      {"Mali", "/data/ML10L_2025064101500.TXT"},
  };
  for (const auto& caso : kCasi) EXPECT_EQ(nome(caso.stazione, 10, 15), caso.nome) << caso.stazione;
}

TEST_F(NomeFileCampioneTest, LetterHoursMinuteZeroAndTheSlotsOwnYear) {
  EXPECT_EQ(nome("Gibi", 8, 60), "/data/25064I00.TXT");
  EXPECT_EQ(nome("Gibi", 23, 1), "/data/25064X01.TXT");
  giorno = "364";
  EXPECT_EQ(nome("Tucu", 0, 60, "122024"), "/data/TUJ2O_20243640000.TXT");
}

}  // namespace
}  // namespace fof1plot
