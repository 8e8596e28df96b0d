#include <gtest/gtest.h>

#include <algorithm>

#include "support/bench.h"

namespace fof1plot {
namespace {

// The surface calls of each slot, split at the Cls that ends it.
std::vector<std::vector<std::string>> per_giorno(const std::vector<std::string>& chiamate) {
  std::vector<std::vector<std::string>> giorni(1);
  for (const std::string& c : chiamate) {
    giorni.back().push_back(c);
    if (c == "Cls") giorni.emplace_back();
  }
  giorni.pop_back();
  return giorni;
}

class FormLoadTest : public ::testing::Test {
 protected:
  FormLoadTest() { test::stazione_di_marzo(banco); }
  test::BancoFinto banco;
};

TEST_F(FormLoadTest, SixFiguresOldestFirstEachWithItsDateLine) {
  banco.form.Form_Load();
  const auto& c = banco.chiamate;
  ASSERT_GE(c.size(), 3u);
  EXPECT_EQ(c[0], "Width 4380");
  EXPECT_EQ(c[1], "Height 3690");
  EXPECT_EQ(c[2], "Scale -35 185 251 -36");
  EXPECT_EQ(std::count_if(c.begin(), c.end(), [](auto& s) { return s.rfind("Scale", 0) == 0; }), 1);
  const auto giorni = per_giorno({c.begin() + 3, c.end()});
  ASSERT_EQ(giorni.size(), 6u);
  const char* kDate[] = {"28/02/2025", "01/03/2025", "02/03/2025",
                         "03/03/2025", "04/03/2025", "05/03/2025"};
  for (int k = 0; k < 6; ++k) {
    auto g = giorni[static_cast<std::size_t>(k)];
    const std::size_t valori = k == 5 ? 3u : 0u;
    ASSERT_EQ(g.size(), 24u * 4u - 1u + 44u + valori + 3u + 2u) << "slot " << k + 1;
    g.erase(g.begin() + 44, g.begin() + 44 + 24 * 4 - 1 + static_cast<long>(valori));
    EXPECT_EQ(g[44], "CurrentX 75");
    EXPECT_EQ(g[45], "CurrentY 180");
    EXPECT_EQ(g[46], std::string("Print Date: ") + kDate[k]);
    EXPECT_EQ(g[47], "Image") << "the picture goes to the GIFs in memory";
  }
  EXPECT_EQ(banco.wpdlx1.chiamate[1], "WriteNewGif /w/previous_foF1_plots/2025059.gif False");
  EXPECT_EQ(banco.wpdlx1.chiamate[2], "WriteGif /o/plotfoF11.gif False") << "archived first";
  EXPECT_EQ(banco.wpdlx1.chiamate[21], "WriteGif /w/previous_foF1_plots/2025064.gif False")
      << "today has a value";
  EXPECT_EQ(banco.directory.bloccate, std::vector<std::string>{"/w/"});
  EXPECT_EQ(banco.scrittore.ripuliti,
            (std::vector<std::string>{"/w/", "/o/", "/w/previous_foF1_plots/",
                                      "/w/previous_foF1_data/"}));
  EXPECT_EQ(banco.scrittore.avanzi,
            (std::vector<std::string>{"/w/grafico1.bmp", "/w/grafico2.bmp", "/w/grafico3.bmp",
                                      "/w/grafico4.bmp", "/w/grafico5.bmp", "/w/grafico6.bmp"}));
  EXPECT_EQ(banco.directory.elencazioni, 1);
  EXPECT_TRUE(banco.righe().empty());
  EXPECT_EQ(banco.corsa.stato_di_uscita(), 0);
}

TEST_F(FormLoadTest, ASampleDirectoryOfThousandsOfFilesIsListedOncePerRun) {
  auto& elenco = banco.directory.elenchi["/d/"];
  for (int n = 0; n < 5000; ++n)
    elenco.push_back("RM041_2024" + std::to_string(100000 + n) + ".TXT");
  banco.form.Form_Load();
  EXPECT_EQ(banco.directory.elencazioni, 1);
  EXPECT_EQ(banco.files.tentativi.size(), 1u + 1u + 1u + 2u + 1u + 1u)
      << "settings, the station's description, the state of the last run, the forecasts of the "
         "two months, the station file, the one sample of the six days";
  EXPECT_EQ(banco.corsa.stato_di_uscita(), 0);
}

TEST_F(FormLoadTest, AFailureLosesOnlyTheRestOfItsProcedure) {
  banco.fallisci("Line", 3);  // the top of the frame, in slot 1
  banco.form.Form_Load();
  const auto giorni = per_giorno({banco.chiamate.begin() + 3, banco.chiamate.end()});
  ASSERT_EQ(giorni.size(), 6u);
  const std::size_t curva = 24 * 4 - 1;
  EXPECT_EQ(giorni[0].size(), 3u + curva + 5u) << "stage stopped at its third item";
  EXPECT_EQ(giorni[0][3], "FillStyle 0") << "the forecast follows";
  for (std::size_t k = 1; k < 5; ++k) EXPECT_EQ(giorni[k].size(), 49u + curva) << "slot " << k + 1;
  EXPECT_EQ(banco.righe(), std::vector<std::string>{"injected failure"});
  EXPECT_EQ(banco.corsa.stato_di_uscita(), 1);
}

TEST_F(FormLoadTest, RunEndsAfterSixSlotsWhenEverythingFails) {
  banco.fallisci("", 0);
  banco.wpdlx1.fallisci("", 0);
  const auto impostazioni = banco.files.file["gralvo.ini"];
  banco.files.file.clear();
  banco.files.aggiungi("gralvo.ini", impostazioni);
  banco.form.Form_Load();
  EXPECT_EQ(banco.filtrate("Print Date").size(), 6u);
  EXPECT_EQ(banco.filtrate("Cls").size(), 6u);
  EXPECT_EQ(banco.filtrate("Line").size(), 6u) << "one stage item attempted per slot";
  EXPECT_TRUE(banco.wpdlx1.chiamate.empty());
  EXPECT_EQ(banco.corsa.stato_di_uscita(), 1);
}

TEST_F(FormLoadTest, TheClockIsReadOncePerRun) {
  banco.form.Form_Load();
  EXPECT_EQ(banco.clock.letture, 1);
}

TEST_F(FormLoadTest, ABackfillOfFortyDaysListsOnceAndReadsEachForecastOnce) {
  banco.files.aggiungi("/w/012025.txt", test::previsione_a_zero());
  const std::chrono::sys_days ultimo = std::chrono::year{2025} / 3 / 5;
  banco.form.ricostruisci_archivio(ultimo - std::chrono::days{39}, ultimo);
  EXPECT_EQ(banco.directory.elencazioni, 1);
  EXPECT_EQ(banco.files.tentativi.size(), 1u + 1u + 3u + 1u + 1u)
      << "settings, the station's description, three months' forecasts, the station file, "
         "the one sample";
  const auto& figure = banco.corsa.figure();
  ASSERT_EQ(figure.size(), 1u + 40u) << "the bench's own figure, then one per day";
  EXPECT_EQ(figure[1].data, ultimo - std::chrono::days{39});
  EXPECT_EQ(figure[1].giorno_anno, 25);
  EXPECT_EQ(figure.back().data, ultimo);
  EXPECT_EQ(figure.back().slot, 0);
  EXPECT_EQ(figure.back().letti(), 1);
  EXPECT_EQ(figure.back().archivio, EsitoArchivio::kNuova);
  EXPECT_EQ(figure[1].archivio, EsitoArchivio::kNuova);
  EXPECT_TRUE(banco.filtrate("Print Date: 25/01/2025").size() == 1u);
  for (const std::string& c : banco.wpdlx1.chiamate) {
    EXPECT_EQ(c.find("/o/"), std::string::npos) << "nothing published: " << c;
  }
  EXPECT_EQ(banco.corsa.stato_di_uscita(), 0);
}

}  // namespace
}  // namespace fof1plot
