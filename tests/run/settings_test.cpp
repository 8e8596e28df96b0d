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

Cartelle leggi(const std::string& corrente, const std::string& path,
               std::vector<std::string> righe) {
  test::BancoFinto banco;
  banco.form.cartella_lavoro.clear();
  banco.form.cartella_dati.clear();
  banco.form.cartella_uscita.clear();
  banco.directory.corrente = corrente;
  banco.files.aggiungi(path, std::move(righe));
  banco.form.leggi_impostazioni();
  return {banco.form.cartella_lavoro, banco.form.cartella_dati, banco.form.cartella_uscita};
}

TEST(LeggiImpostazioniTest, LinesTwoFourAndSixAsWritten) {
  const struct {
    const char* nome;
    std::string corrente;
    std::vector<std::string> righe;
    Cartelle attese;
  } kCasi[] = {
      {"six lines",
       "/plots",
       {"w", "/iono/work/", "d", "/iono/data/", "o", "/www/"},
       {"/iono/work/", "/iono/data/", "/www/"}},
      {"root directory", "/", {"w", "a/", "d", "b/", "o", "c/"}, {"a/", "b/", "c/"}},
      {"four lines", "/plots", {"w", "/work/", "d", "/data/"}, {"/work/", "/data/", ""}},
      {"blanks kept",
       "/plots",
       {"", " /work ", "", "\t/data/", "", ""},
       {" /work ", "\t/data/", ""}},
      {"later lines ignored", "/plots", {"1", "2", "3", "4", "5", "6", "7", "8"}, {"2", "4", "6"}},
      {"missing file", "/elsewhere", {}, {"", "", ""}},
  };
  for (const auto& caso : kCasi) {
    const std::string path =
        caso.nome == std::string("root directory") ? "/gralvo.ini" : "/plots/gralvo.ini";
    EXPECT_EQ(leggi(caso.corrente, path, caso.righe), caso.attese) << caso.nome;
  }
}

}  // namespace
}  // namespace fof1plot
