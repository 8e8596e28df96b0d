#include "statistics/month_statistics.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "output/figure_data.h"
#include "platform/value_field.h"

namespace fof1plot {
namespace {

using namespace std::chrono;

TEST(MonthStatisticsTest, TukeysHingesOnOddAndEvenCounts) {
  const struct {
    std::vector<int> decimi;
    const char *inferiore, *mediana, *superiore;
  } kCasi[] = {
      {{42}, "4.2", "4.2", "4.2"},
      {{10, 20, 30, 40}, "1.5", "2.5", "3.5"},
      {{50, 10, 30, 20, 40}, "2.0", "3.0", "4.0"},
      {{10, 20, 30, 40, 50, 60}, "2.0", "3.5", "5.0"},
      {{10, 20, 30, 40, 50, 60, 70}, "2.5", "4.0", "5.5"},
      {{41, 42}, "4.1", "4.2", "4.2"},  // 4.15, half away from zero
      {{44, 45, 45, 46}, "4.5", "4.5", "4.6"},
  };
  for (const auto& caso : kCasi) {
    const auto [inferiore, mediana, superiore] = cardini_in_ventesimi(caso.decimi);
    SCOPED_TRACE(std::to_string(caso.decimi.size()) + " values");
    EXPECT_EQ(ventesimi_in_mhz(inferiore), caso.inferiore);
    EXPECT_EQ(ventesimi_in_mhz(mediana), caso.mediana);
    EXPECT_EQ(ventesimi_in_mhz(superiore), caso.superiore);
  }
}

TEST(MonthStatisticsTest, TheValueOfAnHourIsTheNearestWithinSevenMinutesTheEarlierOnATie) {
  const struct {
    const char* caso;
    std::map<int, int> campioni;  // minute of the day -> tenths
    int ora;
    int atteso;  // -1: none
  } kCasi[] = {
      {"on the hour", {{600, 45}}, 10, 45},
      {"seven minutes before", {{593, 40}}, 10, 40},
      {"seven minutes after", {{607, 41}}, 10, 41},
      {"eight minutes off either side", {{592, 40}, {608, 41}}, 10, -1},
      {"a tie at seven minutes", {{593, 40}, {607, 50}}, 10, 40},
      {"a tie at three", {{597, 40}, {603, 50}}, 10, 40},
      {"the nearer wins", {{594, 40}, {602, 50}}, 10, 50},
      {"midnight: only the day's own minutes", {{5, 33}}, 0, 33},
      {"23 UT", {{1386, 35}}, 23, 35},
  };
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.caso);
    EXPECT_EQ(valore_all_ora(caso.campioni, caso.ora).value_or(-1), caso.atteso);
  }
}

// A row of a day's CSV in March 2025.
std::string riga(int giorno, int ora, int minuto, const std::string& mhz,
                 const std::string& campo) {
  char testo[64];
  std::snprintf(testo, sizeof testo, "2025-03-%02dT%02d:%02d:00Z,", giorno, ora, minuto);
  std::string r = testo;
  r += mhz;
  r += ",";
  r += campo;
  return r + "\n";
}

TEST(MonthStatisticsTest, AHandMadeMonthGivesTheTableWrittenOutByHand) {
  std::map<sys_days, std::string> csv;
  std::vector<sys_days> archiviati;
  for (int d = 1; d <= 31; ++d) {
    std::string testo = "time_utc,foF1_MHz,field\n";
    char valore[8];
    std::snprintf(valore, sizeof valore, "%.1f", 3.0 + d / 10.0);
    testo += riga(d, 10, 0, valore, valore);  // 3.1 to 6.1: every day at 10 UT
    const char* k11[] = {"4.0", "4.2", "4.4", "4.6"};
    if (d <= 4) testo += riga(d, 11, 0, k11[d - 1], k11[d - 1]);
    // Hour 12: N/A, NO and junk on the hour leave the value a few minutes off; a tie at
    // seven minutes either side takes the earlier.
    if (d == 1) testo += riga(d, 12, 0, "", "N/A") + riga(d, 12, 3, "5.0", "05.0");
    if (d == 2) testo += riga(d, 11, 57, "5.1", "05.1") + riga(d, 12, 0, "", "NO");
    if (d == 3) testo += riga(d, 12, 0, "", "abc") + riga(d, 12, 5, "5.3", "05.3");
    if (d == 4) testo += riga(d, 11, 53, "5.4", "05.4") + riga(d, 12, 7, "6.6", "06.6");
    if (d == 5) testo += riga(d, 12, 0, "5.9", "05.9");
    // Hour 13: five on the hour, one at seven minutes, one at eight (left out).
    const char* k13[] = {"3.0", "3.1", "3.2", "3.3", "3.4"};
    if (d <= 5) testo += riga(d, 13, 0, k13[d - 1], k13[d - 1]);
    if (d == 6) testo += riga(d, 13, 7, "3.6", "03.6");
    if (d == 7) testo += riga(d, 13, 8, "9.9", "09.9");
    const sys_days giorno = sys_days{2025y / March / d};
    csv[giorno] = testo;
    archiviati.push_back(giorno);
  }
  std::array<std::optional<int>, 24> previsione{};
  previsione[10] = 45;
  previsione[11] = 40;
  previsione[12] = 50;
  previsione[13] = 35;
  const StatisticheMese s = statistiche_mese(2025y / March, csv, {}, archiviati, previsione);
  std::istringstream righe(testo_orario(s));
  std::vector<std::string> tabella;
  for (std::string r; std::getline(righe, r);) tabella.push_back(r);
  ASSERT_EQ(tabella.size(), 25u);
  EXPECT_EQ(tabella[0],
            "hour_utc,count,median_MHz,lower_quartile_MHz,upper_quartile_MHz,forecast_MHz,"
            "median_minus_forecast_MHz");
  EXPECT_EQ(tabella[1], "0,0,,,,,");
  EXPECT_EQ(tabella[11], "10,31,4.6,3.9,5.4,4.5,0.10");
  EXPECT_EQ(tabella[12], "11,4,,,,4.0,");
  EXPECT_EQ(tabella[13], "12,5,5.3,5.1,5.4,5.0,0.30");
  EXPECT_EQ(tabella[14], "13,6,3.3,3.1,3.4,3.5,-0.25");
  EXPECT_EQ(tabella[24], "23,0,,,,,");
  EXPECT_EQ(s.giorni_con_dati, 31);
  EXPECT_TRUE(s.senza_valori.empty());
  ASSERT_TRUE(s.scarto_medio && s.scarto_rms);
  EXPECT_EQ(*s.scarto_medio, 5);  // (0.10 + 0.30 - 0.25) / 3 MHz, in hundredths
  EXPECT_EQ(*s.scarto_rms, 23);   // sqrt((0.01 + 0.09 + 0.0625) / 3) = 0.23274
  // The month's days are CSVs of before 1.5.0: their rows gain the two empty columns.
  EXPECT_TRUE(
      s.valori.starts_with(std::string(kIntestazioneCsv) + "\n2025-03-01T10:00:00Z,3.1,3.1,,\n"));
}

// The mean and the RMS rounded on their exact values: differences that average exactly
// some half hundredth round away from zero, where their binary sum would fall short.
TEST(MonthStatisticsTest, TheMeanAndRmsRoundHalfAwayFromZeroOnTheirExactValues) {
  const struct {
    std::vector<int> ventesimi;
    int media, rms;
  } kCasi[] = {
      {{-6, 7}, 3, 33},   // -0.30 and +0.35: mean +0.025; RMS sqrt(0.10625) = 0.3260
      {{-7, 6}, -3, 33},  // mean -0.025
      {{-7, 4}, -8, 29},  // mean -0.075; RMS sqrt(0.08125) = 0.2850
      {{1, 0}, 3, 4},     // mean +0.025; RMS sqrt(0.00125) = 0.0354
      {{1}, 5, 5},        // exact: 0.05
      {{1, 1, 1, 1}, 5, 5}, {{0, 0, 0}, 0, 0}, {{5, -5}, 0, 25},  // RMS exactly 0.25
      {{1, 2}, 8, 8},  // mean 0.075; RMS sqrt(0.00625) = 0.0791
  };
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(::testing::PrintToString(caso.ventesimi));
    const auto media_e_rms = media_e_rms_in_centesimi(caso.ventesimi);
    ASSERT_TRUE(media_e_rms);
    EXPECT_EQ(media_e_rms->first, caso.media);
    EXPECT_EQ(media_e_rms->second, caso.rms);
  }
  EXPECT_FALSE(media_e_rms_in_centesimi({}));
  EXPECT_EQ(centesimi_in_mhz(-3), "-0.03");
  EXPECT_EQ(centesimi_in_mhz(233), "2.33");
}

TEST(MonthStatisticsTest, ADayWithoutItsCsvAnUnreadableOneAndAMissingForecast) {
  const sys_days primo = sys_days{2025y / April / 1}, secondo = primo + days{1},
                 terzo = primo + days{2};
  const std::map<sys_days, std::string> csv = {
      {primo, std::string(kIntestazioneCsv) + "\n2025-04-01T10:00:00Z,4.0,04.0,3.50,0.50\n"}};
  const StatisticheMese s =
      statistiche_mese(2025y / April, csv, {terzo}, {primo, secondo, terzo}, {});
  EXPECT_EQ(s.senza_valori, std::vector<sys_days>{secondo});
  EXPECT_EQ(s.illeggibili, std::vector<sys_days>{terzo});
  EXPECT_EQ(s.giorni_con_dati, 1);
  EXPECT_NE(testo_orario(s).find("\n10,1,,,,,\n"), std::string::npos) << "no forecast";
  EXPECT_FALSE(s.scarto_rms);
  EXPECT_TRUE(s.valori.ends_with("\n2025-04-01T10:00:00Z,4.0,04.0,3.50,0.50\n")) << "as it stands";
}

}  // namespace
}  // namespace fof1plot
