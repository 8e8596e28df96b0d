#pragma once

#include <array>
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace fof1plot {

class Form1;

// The lower hinge, the median and the upper hinge of values in tenths of MHz, in
// twentieths of MHz so that a mean of two middle values stays exact (Tukey's hinges: the
// medians of the lower and upper halves, the middle value in both for an odd count).
// Values must not be empty.
std::array<int, 3> cardini_in_ventesimi(std::vector<int> decimi);

// One hour of a month's table: the days with a value at that hour, their statistics in
// twentieths of MHz when there are at least five, and the forecast in tenths.
struct OraMese {
  int ora = 0;
  int giorni = 0;
  std::optional<std::array<int, 3>> cardini;
  std::optional<int> previsione;
};

// A month's statistics from the archived CSVs of its days.
struct StatisticheMese {
  std::chrono::year_month mese;
  // The month's rows, in time order, under the header, as values.csv holds them.
  std::string valori;
  // The days of the month that have an archived figure but no archived CSV.
  std::vector<std::chrono::sys_days> senza_valori;
  int giorni_con_dati = 0;
  std::array<OraMese, 24> ore;
  // The days of the month whose archived CSV is there but could not be read.
  std::vector<std::chrono::sys_days> illeggibili;
  // The mean and the root mean square of (median - forecast) over the hours that have
  // both, in hundredths of MHz; none where no hour has.
  std::optional<int> scarto_medio, scarto_rms;
};

// The value a day gives an hour: that of its value sample nearest to hh:00, within 7
// minutes either side on the same UT day, the earlier on a tie; none when there is none.
// `campioni` are the day's values in tenths by minute of the day.
std::optional<int> valore_all_ora(const std::map<int, int>& campioni, int ora);

// The mean and the root mean square of differences given in twentieths of MHz, in
// hundredths of MHz rounded half away from zero from their exact values, not from a
// binary fraction near them; none for no difference.
std::optional<std::pair<int, int>> media_e_rms_in_centesimi(const std::vector<int>& ventesimi);

// The month's statistics: `csv` holds the archived CSV of each day that has one and
// could be read, `illeggibili` the days whose CSV could not be, `archiviati` every
// archived day of the month, `previsione` the month's forecast by hour in tenths (none
// where the file is missing, an empty hour where the field is).
StatisticheMese statistiche_mese(std::chrono::year_month mese,
                                 const std::map<std::chrono::sys_days, std::string>& csv,
                                 const std::vector<std::chrono::sys_days>& illeggibili,
                                 const std::vector<std::chrono::sys_days>& archiviati,
                                 const std::array<std::optional<int>, 24>& previsione);

// hourly.csv: "hour_utc,count,median_MHz,lower_quartile_MHz,upper_quartile_MHz,
// forecast_MHz,median_minus_forecast_MHz" and a row per hour.
std::string testo_orario(const StatisticheMese& statistiche);

// statistiche_mese with the month's forecast as the figures draw it, read through the
// forecast subsystem with the plot window's run.
StatisticheMese statistiche_del_mese(Form1& form, std::chrono::year_month mese,
                                     const std::map<std::chrono::sys_days, std::string>& csv,
                                     const std::vector<std::chrono::sys_days>& illeggibili,
                                     const std::vector<std::chrono::sys_days>& archiviati);

// An hour's row of hourly.csv, as the month page's table shows it too: hour, count,
// median, lower and upper quartile, forecast, median minus forecast; empty where none.
std::array<std::string, 7> celle_ora(const OraMese& ora);

// What the archive's index shows of a month: its days with data and its RMS of
// (median - forecast), kept in archive/months.csv so that a run computes only its own
// months.
struct RiassuntoMese {
  int giorni_con_dati = 0;
  std::optional<int> scarto_rms;  // hundredths of MHz
};
using Riassunti = std::map<std::chrono::year_month, RiassuntoMese>;

// archive/months.csv read back ("month,days_with_data,rms_MHz", "2025-03,31,0.23");
// rows that do not read so are left out.
Riassunti leggi_riassunti(const std::string& testo);
std::string testo_riassunti(const Riassunti& riassunti);

// A number of twentieths of MHz with one decimal, rounded half away from zero.
std::string ventesimi_in_mhz(int ventesimi);

}  // namespace fof1plot
