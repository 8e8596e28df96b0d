#include "output/last_value.h"

#include <gtest/gtest.h>

namespace fof1plot {
namespace {

using namespace std::chrono;

CampioneRegistrato campione(int ora, int minuto, TipoCampo tipo, double decimi,
                            const std::string& campo) {
  CampioneRegistrato c;
  c.ora = static_cast<std::uint8_t>(ora);
  c.minuto = static_cast<std::uint8_t>(minuto);
  c.tipo = tipo;
  c.decimi = decimi;
  c.lunghezza_campo = static_cast<std::uint8_t>(campo.copy(c.campo.data(), 4));
  return c;
}

// The latest sample of the newest day that read one, minute 00 first in its hour, beside
// the forecast as drawn: 4.0 MHz at 10 UT, 5.0 at 11.
TEST(LastValueTest, TheLatestSampleBesideTheForecastAtItsTime) {
  std::vector<RegistroFigura> figure(2);
  figure[0].slot = 5;
  figure[0].data = sys_days{2025y / March / 4};
  figure[0].campioni = {campione(23, 45, TipoCampo::kValore, 30, "3.0")};
  figure[1].slot = 6;
  figure[1].data = sys_days{2025y / March / 5};
  figure[1].previsione[10] = 40;
  figure[1].previsione[11] = 50;
  figure[1].campioni = {campione(10, 15, TipoCampo::kValore, 45, "4.5"),
                        campione(10, 0, TipoCampo::kValore, 41, "4.1")};
  auto ultimo = ultimo_valore(figure);
  ASSERT_TRUE(ultimo);
  EXPECT_EQ(ultimo->campo, "4.5");
  EXPECT_EQ(ultimo->decimi, 45);
  EXPECT_EQ(ultimo->previsione, 420);  // 10:15 lands at 10.2 h
  EXPECT_EQ(parole_valore(*ultimo), "4.5 MHz, forecast 4.2, +0.3");
  figure[1].campioni.back().lettura = LetturaCampione::kIncompleto;
  figure[1].campioni.front().lettura = LetturaCampione::kIncompleto;
  EXPECT_EQ(parole_valore(*ultimo_valore(figure)), "3.0 MHz") << "yesterday's, no forecast";
  figure[0].campioni.clear();
  EXPECT_FALSE(ultimo_valore(figure));
}

TEST(LastValueTest, TheWordsRoundHalfAwayFromZeroAndLeaveOutWhatIsMissing) {
  const struct {
    UltimoValore valore;
    const char* parole;
  } kCasi[] = {
      {{"3.4", 34, 310}, "3.4 MHz, forecast 3.1, +0.3"},
      {{"3.4", 34, 345}, "3.4 MHz, forecast 3.5, -0.1"},
      {{"3.4", 34, 335}, "3.4 MHz, forecast 3.4, +0.1"},
      {{"3.4", 34, 340}, "3.4 MHz, forecast 3.4, 0.0"},
      {{"3.4", 34, 344}, "3.4 MHz, forecast 3.4, 0.0"},
      {{"N/A", std::nullopt, 310}, "N/A, forecast 3.1"},
      {{"NO", std::nullopt, std::nullopt}, "NO"},
      {{"", std::nullopt, std::nullopt}, "an empty field"},
      {{"12.0", 120, std::nullopt}, "12.0 MHz"},
  };
  for (const auto& caso : kCasi) EXPECT_EQ(parole_valore(caso.valore), caso.parole);
}

}  // namespace
}  // namespace fof1plot
