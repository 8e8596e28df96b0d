#include <gtest/gtest.h>

#include <algorithm>

#include "canvas/colors.h"
#include "support/bench.h"

namespace fof1plot {
namespace {

// Today, 5 March 2025, a Rome station has a value at 10:15 and 10:30, an "N/A" at 10:45
// and a "NO" at 11:15; the archive already holds the day's figure.
constexpr const char* kArchiviata = "/w/previous_foF1_plots/2025064.gif";

std::string nome(const char* ora_minuto) {
  return std::string("/d/RM041_2025064") + ora_minuto + "00.TXT";
}

struct StazioneDiOggi {
  StazioneDiOggi() {
    banco.files.aggiungi("gralvo.ini", {"", "/w/", "", "/d/", "", "/o/"});
    banco.files.aggiungi("/w/032025.txt", test::previsione_a_zero());
    banco.files.aggiungi("/w/022025.txt", test::previsione_a_zero());
    banco.files.aggiungi("/d/station.txt", {"Rome"});
    auto& elenco = banco.directory.elenchi["/d/"];
    elenco = {"station.txt"};
    for (const auto& [ora_minuto, campo] :
         {std::pair{"1015", " 4.5"}, {"1030", " 4.7"}, {"1045", "N/A "}, {"1115", "NO  "}}) {
      banco.files.aggiungi(nome(ora_minuto), test::campione(campo));
      elenco.push_back(nome(ora_minuto).substr(3));
    }
    banco.wpdlx1.presenti.insert(kArchiviata);
  }
  // Whether the run replaced today's archived figure.
  bool archiviata_sostituita() const {
    const auto& c = banco.wpdlx1.chiamate;
    return std::find(c.begin(), c.end(), std::string("WriteGif ") + kArchiviata + " False") !=
           c.end();
  }
  // The light-red discs drawn in the run.
  std::size_t dischi() const {
    const auto cerchi = banco.filtrate("Circle");
    return static_cast<std::size_t>(std::count_if(cerchi.begin(), cerchi.end(), [](auto& c) {
      return c.ends_with(test::esadecimale(QBColor(12)));
    }));
  }
  test::BancoFinto banco;
};

class SampleFaultTest : public ::testing::Test, public StazioneDiOggi {};

TEST_F(SampleFaultTest, AnUnreadableSampleIsReportedAndKeepsTheArchivedFigure) {
  const struct {
    const char* nome;
    std::vector<std::pair<const char*, test::FakeTextFiles::Guasto>> guasti;
    std::vector<const char*> rimossi;  // gone since the listing
    int stato;
    std::vector<std::string> righe;
    bool sostituita;
    int dischi;
  } kCasi[] = {
      {"nothing wrong", {}, {}, 0, {}, true, 2},
      {"a value file without permission",
       {{"1030", {0, "Permission denied"}}},
       {},
       1,
       {nome("1030") + ": cannot read the sample file: Permission denied"},
       false,
       1},
      {"an N/A file failing its read",
       {{"1045", {4, "Input/output error"}}},
       {},
       1,
       {nome("1045") + ": cannot read the sample file: Input/output error"},
       false,
       2},
      {"every file of the day",
       {{"1015", {0, "Input/output error"}},
        {"1030", {0, "Input/output error"}},
        {"1045", {1, "Resource temporarily unavailable"}},
        {"1115", {7, "Input/output error"}}},
       {},
       1,
       {"/d/: cannot read 3 sample files (RM041_2025064101500.TXT ... "
        "RM041_2025064111500.TXT): Input/output error",
        nome("1045") + ": cannot read the sample file: Resource temporarily unavailable"},
       false,
       0},
      {"a file pruned since the listing", {}, {"1030"}, 0, {}, true, 1},
  };
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.nome);
    StazioneDiOggi prova;
    for (const auto& [ora_minuto, guasto] : caso.guasti) {
      prova.banco.files.guasti[nome(ora_minuto)] = guasto;
    }
    for (const char* ora_minuto : caso.rimossi) prova.banco.files.file.erase(nome(ora_minuto));
    prova.banco.form.Form_Load();
    EXPECT_EQ(prova.banco.corsa.stato_di_uscita(), caso.stato);
    EXPECT_EQ(prova.banco.righe(), caso.righe);
    EXPECT_EQ(prova.archiviata_sostituita(), caso.sostituita);
    EXPECT_EQ(prova.dischi(), static_cast<std::size_t>(caso.dischi))
        << "the published figure shows what could be read";
    EXPECT_EQ(prova.banco.wpdlx1.chiamate[20 + 2], "WriteGif /o/plotfoF16.gif False");
  }
}

TEST_F(SampleFaultTest, AFileStillBeingWrittenCountsAsMissing) {
  banco.files.file[nome("1030")].resize(6);
  banco.form.Form_Load();
  EXPECT_EQ(banco.corsa.stato_di_uscita(), 0);
  EXPECT_TRUE(banco.righe().empty());
  EXPECT_TRUE(archiviata_sostituita()) << "every other file of the day was read";
  EXPECT_EQ(dischi(), 1u);
}

TEST_F(SampleFaultTest, ADayWhoseFilesAreAllGoneKeepsItsArchivedFigure) {
  for (const char* ora_minuto : {"1015", "1030", "1045", "1115"}) {
    banco.files.file.erase(nome(ora_minuto));
  }
  banco.form.Form_Load();
  EXPECT_EQ(banco.corsa.stato_di_uscita(), 0);
  EXPECT_FALSE(archiviata_sostituita());
}

}  // namespace
}  // namespace fof1plot
