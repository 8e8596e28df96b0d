#include <chrono>
#include <string>

#include "run/form1.h"

namespace fof1plot {
namespace {

// n in decimal, with leading zeros up to the given width.
std::string con_zeri(unsigned n, std::size_t cifre) {
  std::string testo = std::to_string(n);
  if (testo.size() < cifre) testo.insert(0, cifre - testo.size(), '0');
  return testo;
}

}  // namespace

// Minute codes "01" to "59", then "00": minute 0 is tried last in its hour.
void Form1::riempi_minuti() {
  for (int k = 1; k <= 59; ++k) minuti(k) = con_zeri(static_cast<unsigned>(k), 2);
  minuti(60) = "00";
}

// Slot k is the day 6 - k days before today. The clock is read once, so that a run
// crossing midnight still draws six consecutive days; without a clock there are no days
// to draw, and the run stops.
bool Form1::calcola_giorni() {
  using namespace std::chrono;
  sys_days oggi;
  if (!corsa.passo([&] { oggi = corsa.oggi(); })) return false;
  for (int scarto_giorni = -5; scarto_giorni <= 0; ++scarto_giorni) {
    const int k = scarto_giorni + 6;
    corsa.passo([&] { calcola_giorno(k, oggi + days{scarto_giorni}); });
  }
  return true;
}

// A slot's date label, month key and day-of-year code.
void Form1::calcola_giorno(int k, std::chrono::year_month_day data_giorno) {
  using namespace std::chrono;
  const std::string giorno = con_zeri(static_cast<unsigned>(data_giorno.day()), 2);
  const std::string mese = con_zeri(static_cast<unsigned>(data_giorno.month()), 2);
  const std::string anno = std::to_string(static_cast<int>(data_giorno.year()));
  const year_month_day primo_gennaio = data_giorno.year() / January / 1;
  const auto giorni = (sys_days{data_giorno} - sys_days{primo_gennaio}).count() + 1;
  giorno_anno(k) = con_zeri(static_cast<unsigned>(giorni), 3);
  mese_anno(k) = mese + anno;
  data_etichetta(k) = giorno + "/" + mese + "/" + anno;
}

}  // namespace fof1plot
