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
  } kCasi[] = {
      {"six lines",
       {"w", "/iono/work/", "d", "/iono/data/", "o", "/www/"},
       {"/iono/work/", "/iono/data/", "/www/"},
       {}},
      {"four lines",
       {"w", "/work/", "d", "/data/"},
       {"/work/", "/data/", ""},
       {"gralvo.ini: cannot read line 5: end of file"}},
      {"blanks kept", {"", " /work ", "", "\t/data/", "", ""}, {" /work ", "\t/data/", ""}, {}},
      {"later lines ignored", {"1", "2", "3", "4", "5", "6", "7", "8"}, {"2", "4", "6"}, {}},
  };
  for (const auto& caso : kCasi) {
    test::BancoFinto banco;
    banco.form.cartella_lavoro.clear();
    banco.form.cartella_dati.clear();
    banco.form.cartella_uscita.clear();
    banco.files.aggiungi("gralvo.ini", caso.righe);
    banco.form.leggi_impostazioni();
    EXPECT_EQ(Cartelle({banco.form.cartella_lavoro, banco.form.cartella_dati,
                        banco.form.cartella_uscita}),
              caso.attese)
        << caso.nome;
    EXPECT_EQ(banco.diagnostica.righe, caso.segnalate) << caso.nome;
  }
}

TEST(LeggiImpostazioniTest, AMissingFileIsTheOnlyFailureReported) {
  test::BancoFinto banco;
  banco.form.cartella_dati.clear();
  banco.form.Form_Load();
  EXPECT_EQ(banco.diagnostica.righe,
            std::vector<std::string>{
                "gralvo.ini: cannot open the settings file: No such file or directory"})
      << "the missing forecasts and station that follow from it are not reported";
  EXPECT_EQ(banco.form.stato_di_uscita(), 1);
}

}  // namespace
}  // namespace fof1plot
