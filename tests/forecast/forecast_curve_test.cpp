#include <gtest/gtest.h>

#include <optional>
#include <sstream>

#include "support/bench.h"

namespace fof1plot {
namespace {

// A forecast line 2 from 24 values, each right-aligned in five columns.
std::string riga_di(const std::vector<std::string>& campi) {
  std::string riga;
  for (const std::string& campo : campi) riga += std::string(5 - campo.size(), ' ') + campo;
  return riga;
}

// The y of the 24 dots the curve drew.
std::vector<std::string> punti(const test::FakeSurface& canvas) {
  std::vector<std::string> y;
  for (const std::string& c : canvas.filtrate("Circle")) {
    std::istringstream parti(c);
    std::string nome, x, valore;
    parti >> nome >> x >> valore;
    y.push_back(valore);
  }
  return y;
}

class GraficoPrevisioneTest : public ::testing::Test {
 protected:
  std::vector<std::string> disegna(std::vector<std::string> righe) {
    banco.files.aggiungi("/work/032025.txt", std::move(righe));
    banco.form.grafico_previsione("032025");
    return punti(banco);
  }
  test::BancoFinto banco;
};

TEST_F(GraficoPrevisioneTest, TwentyFourWhiteDotsJoinedInOrder) {
  std::vector<std::string> campi(24, "5.0");
  campi[0] = "3.9";
  campi[1] = "10.2";
  campi[2] = "0.7";
  campi[3] = "4.0";
  disegna({"header", riga_di(campi)});
  const auto& c = banco.chiamate;
  ASSERT_EQ(c.size(), 24u * 3 + 23u);
  EXPECT_EQ((std::vector<std::string>(c.begin(), c.begin() + 7)),
            (std::vector<std::string>{"FillStyle 0", "FillColor #FFFFFF", "Circle 0 39 2 #FFFFFF",
                                      "FillStyle 0", "FillColor #FFFFFF", "Circle 10 102 2 #FFFFFF",
                                      "Line 0 39 10 102 #FFFFFF"}));
  EXPECT_EQ(c[9], "Circle 20 7 2 #FFFFFF");
  EXPECT_EQ(c[14], "Line 20 7 30 40 #FFFFFF");
  EXPECT_EQ(c.back(), "Line 220 50 230 50 #FFFFFF");
  EXPECT_EQ(banco.form.x_precedente, 230);
  EXPECT_EQ(banco.form.y_precedente, 50);
}

// With the site, each dot with a field is titled in the vector picture; the pixels get
// the same calls, and a dot without a field (a line 2 cut short: drawn at 0) says nothing.
TEST_F(GraficoPrevisioneTest, WithTheSiteEachForecastDotNamesItsHourAndValue) {
  std::vector<std::string> campi(23, "5.0");
  campi[1] = "0.7";
  campi[12] = "10.2";
  test::FakeSurface vettoriale;
  banco.corsa.imposta_disegno_vettoriale(&vettoriale);
  disegna({"header", riga_di(campi)});
  ASSERT_EQ(banco.suggerimenti.size(), 23u * 2);
  EXPECT_EQ(banco.suggerimenti[0], "00:00 UT forecast: 5.0 MHz");
  EXPECT_EQ(banco.suggerimenti[1], "");
  EXPECT_EQ(banco.suggerimenti[2], "01:00 UT forecast: 0.7 MHz");
  EXPECT_EQ(banco.suggerimenti[24], "12:00 UT forecast: 10.2 MHz");
  EXPECT_EQ(banco.suggerimenti[44], "22:00 UT forecast: 5.0 MHz");
  EXPECT_EQ(banco.chiamate.size(), 24u * 3 + 23u);
}

TEST_F(GraficoPrevisioneTest, LineTwoVariants) {
  const std::vector<std::string> zeri(24, "0");
  auto con = [&](std::initializer_list<std::pair<int, const char*>> valori) {
    auto y = zeri;
    for (auto [ora, v] : valori) y[static_cast<std::size_t>(ora)] = v;
    return y;
  };
  const std::string piena = riga_di(std::vector<std::string>(24, "4.5"));
  const struct {
    const char* nome;
    std::vector<std::string> righe;
    std::vector<std::string> y;
  } kCasi[] = {
      {"short line 2", {"h", piena.substr(0, 10)}, con({{0, "45"}, {1, "45"}})},
      {"field cut after its whole MHz", {"h", piena.substr(0, 8)}, con({{0, "45"}, {1, "4"}})},
      {"five blanks",
       {"h", std::string(5, ' ') + piena.substr(5)},
       std::vector<std::string>(1, "0")},
      {"1E9 overflows only its hour",
       {"h", " 1E.9" + piena.substr(5)},
       std::vector<std::string>(1, "0")},
      {"empty file", {}, zeri},
      {"one line", {piena}, zeri},
      {"empty line 2", {"h", ""}, zeri},
      {"lines after 2 ignored", {"h", "", piena}, zeri},
  };
  for (const auto& caso : kCasi) {
    // A run reads a month's forecast once: each file is a run of its own.
    test::BancoFinto corsa;
    corsa.files.aggiungi("/work/032025.txt", caso.righe);
    corsa.form.grafico_previsione("032025");
    auto y = punti(corsa);
    if (caso.y.size() == 1) {
      ASSERT_EQ(y.size(), 24u) << caso.nome;
      EXPECT_EQ(y[0], "0") << caso.nome;
      EXPECT_EQ(y[1], "45") << caso.nome;
    } else {
      EXPECT_EQ(y, caso.y) << caso.nome;
    }
  }
}

TEST_F(GraficoPrevisioneTest, MissingFileDrawsNothing) {
  banco.form.grafico_previsione("032025");
  EXPECT_TRUE(banco.chiamate.empty());
  EXPECT_EQ(banco.files.tentativi, (std::vector<std::string>{"/work/032025.txt"}));
}

TEST_F(GraficoPrevisioneTest, TheRecordHoldsTheHoursAsDrawnAndNoneForAnHourWithoutAField) {
  disegna({"h", riga_di({"4.5", "12.0", "0.0"}) + " 1E.9"});
  const RegistroFigura& figura = banco.corsa.figura();
  EXPECT_EQ(figura.file_previsione, "/work/032025.txt");
  const std::vector<std::optional<std::int16_t>> attese = {45, 120, 0, 0};
  for (std::size_t ora = 0; ora < 24; ++ora) {
    EXPECT_EQ(figura.previsione[ora], ora < attese.size() ? attese[ora] : std::nullopt)
        << "hour " << ora;
  }
  EXPECT_EQ(punti(banco)[3], "0") << "hour 3 overflows 16 bits, and is drawn as 0";
}

TEST_F(GraficoPrevisioneTest, AMonthsForecastIsReadOncePerRun) {
  banco.files.aggiungi("/work/032025.txt", {"h", riga_di({"4.5"})});
  banco.form.grafico_previsione("032025");
  banco.form.grafico_previsione("032025");
  EXPECT_EQ(banco.files.tentativi, (std::vector<std::string>{"/work/032025.txt"}));
  EXPECT_EQ(banco.filtrate("Circle 0 45").size(), 2u) << "drawn both times";
}

TEST_F(GraficoPrevisioneTest, AFailedDotLosesOnlyThatDot) {
  banco.fallisci("Circle", 5);
  disegna({"h", riga_di(std::vector<std::string>(24, "4.5"))});
  EXPECT_EQ(banco.filtrate("Circle").size(), 24u);
  EXPECT_EQ(banco.filtrate("Line").size(), 23u);
}

}  // namespace
}  // namespace fof1plot
