#include "hapi/hapi_time.h"

#include <cstdio>

namespace fof1plot {
namespace {

using namespace std::chrono;

// Reads exactly `cifre` digits at `i` and moves past them; none when they are not there.
std::optional<int> cifre_a(std::string_view t, std::size_t& i, std::size_t cifre) {
  if (t.size() - i < cifre) return std::nullopt;
  int valore = 0;
  for (std::size_t fine = i + cifre; i < fine; ++i) {
    if (t[i] < '0' || t[i] > '9') return std::nullopt;
    valore = valore * 10 + (t[i] - '0');
  }
  return valore;
}

// The date part: yyyy, yyyy-mm, yyyy-mm-dd or yyyy-ddd; `completa` when it names a day,
// after which a time may follow.
std::optional<sys_days> leggi_data(std::string_view t, std::size_t& i, bool& completa) {
  const auto anno = cifre_a(t, i, 4);
  if (!anno) return std::nullopt;
  completa = false;
  if (i == t.size() || t[i] != '-') return sys_days{year{*anno} / January / 1};
  ++i;
  std::size_t fine = i;
  while (fine < t.size() && t[fine] >= '0' && t[fine] <= '9') ++fine;
  if (fine - i == 3) {
    const int giorno = *cifre_a(t, i, 3);
    const int giorni_anno = year{*anno}.is_leap() ? 366 : 365;
    if (giorno < 1 || giorno > giorni_anno) return std::nullopt;
    completa = true;
    return sys_days{year{*anno} / January / 1} + days{giorno - 1};
  }
  const auto mese = cifre_a(t, i, 2);
  if (!mese || *mese < 1 || *mese > 12) return std::nullopt;
  const year_month ym = year{*anno} / month{static_cast<unsigned>(*mese)};
  if (i == t.size() || t[i] != '-') return sys_days{ym / 1};
  ++i;
  const auto giorno = cifre_a(t, i, 2);
  if (!giorno) return std::nullopt;
  const year_month_day data = ym / day{static_cast<unsigned>(*giorno)};
  if (!data.ok()) return std::nullopt;
  completa = true;
  return sys_days{data};
}

// The time part after T: hh[:mm[:ss[.f...]]], rounded up to a second; none when it is not
// a time of day (24:00:00 is, as the day's end).
std::optional<seconds> leggi_ora(std::string_view t, std::size_t& i) {
  int parti[3] = {0, 0, 0};
  const int massimi[3] = {24, 59, 60};
  int lette = 0;
  while (lette < 3) {
    if (lette > 0 && (i == t.size() || t[i] != ':')) break;
    if (lette > 0) ++i;
    const auto parte = cifre_a(t, i, 2);
    if (!parte || *parte > massimi[lette]) return std::nullopt;
    parti[lette++] = *parte;
  }
  bool frazione = false;
  if (lette == 3 && i < t.size() && t[i] == '.') {
    const std::size_t inizio = ++i;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) frazione |= t[i] != '0';
    if (i == inizio) return std::nullopt;
  }
  if (parti[0] == 24 && (parti[1] != 0 || parti[2] != 0 || frazione)) return std::nullopt;
  return hours{parti[0]} + minutes{parti[1]} + seconds{parti[2] + (frazione ? 1 : 0)};
}

}  // namespace

std::optional<sys_seconds> leggi_tempo_hapi(std::string_view t) {
  std::size_t i = 0;
  bool completa = false;
  const auto giorno = leggi_data(t, i, completa);
  if (!giorno) return std::nullopt;
  seconds ora{0};
  if (completa && i < t.size() && t[i] == 'T') {
    const auto letta = leggi_ora(t, ++i);
    if (!letta) return std::nullopt;
    ora = *letta;
  }
  if (i < t.size() && t[i] == 'Z') ++i;
  if (i != t.size()) return std::nullopt;
  // 9999-12-31T24:00 would need a fifth digit of the year to be written again.
  const sys_seconds quando = sys_seconds{*giorno} + ora;
  if (quando >= sys_seconds{sys_days{year{10000} / January / 1}}) return std::nullopt;
  return quando;
}

std::string tempo_hapi(sys_seconds quando) {
  const sys_days giorno = floor<days>(quando);
  const year_month_day data{giorno};
  const hh_mm_ss ora{quando - giorno};
  char testo[32];
  std::snprintf(testo, sizeof testo, "%04d-%02u-%02uT%02d:%02d:%02dZ",
                static_cast<int>(data.year()), static_cast<unsigned>(data.month()),
                static_cast<unsigned>(data.day()), static_cast<int>(ora.hours().count()),
                static_cast<int>(ora.minutes().count()), static_cast<int>(ora.seconds().count()));
  return testo;
}

}  // namespace fof1plot
