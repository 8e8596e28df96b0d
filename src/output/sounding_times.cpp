#include "output/sounding_times.h"

#include <algorithm>
#include <string>

namespace fof1plot {
namespace {

using namespace std::chrono;

// The times of a figure's samples read, in time order: within an hour the station's
// minute 00 is drawn last but comes first.
std::vector<sys_seconds> tempi_letti(const RegistroFigura& figura) {
  std::vector<sys_seconds> tempi;
  for (const CampioneRegistrato& c : figura.campioni) {
    if (c.lettura == LetturaCampione::kLetto) {
      tempi.push_back(sys_seconds{figura.data} + hours{c.ora} + minutes{c.minuto});
    }
  }
  std::sort(tempi.begin(), tempi.end());
  return tempi;
}

// The six days' figures, the newest first.
std::vector<const RegistroFigura*> sei_giorni(const std::vector<RegistroFigura>& figure) {
  std::vector<const RegistroFigura*> giorni;
  for (const RegistroFigura& f : figure) {
    if (f.slot > 0) giorni.push_back(&f);
  }
  std::sort(giorni.begin(), giorni.end(),
            [](const RegistroFigura* a, const RegistroFigura* b) { return a->data > b->data; });
  return giorni;
}

}  // namespace

bool Freschezza::muta(system_clock::time_point adesso) const {
  const seconds soglia{std::max<std::int64_t>(3 * intervallo_secondi.value_or(0), 3600)};
  return ultimo && adesso - *ultimo > soglia;
}

std::string fa(system_clock::duration eta) {
  const auto m = round<minutes>(eta).count();
  // A sample named after a time still to come: the station's clock or this one is wrong.
  if (m < 0) return "ahead of the clock";
  if (m < 120) return std::to_string(m) + " min ago";
  if (m < 2880) return std::to_string(m / 60) + " h ago";
  return std::to_string(m / 1440) + " days ago";
}

Freschezza freschezza(const std::vector<RegistroFigura>& figure) {
  return {ultimo_sondaggio(figure), intervallo_consueto(figure)};
}

std::optional<sys_seconds> ultimo_sondaggio(const std::vector<RegistroFigura>& figure) {
  for (const RegistroFigura* giorno : sei_giorni(figure)) {
    const std::vector<sys_seconds> tempi = tempi_letti(*giorno);
    if (!tempi.empty()) return tempi.back();
  }
  return std::nullopt;
}

std::optional<std::int64_t> intervallo_consueto(const std::vector<RegistroFigura>& figure) {
  for (const RegistroFigura* giorno : sei_giorni(figure)) {
    const std::vector<sys_seconds> tempi = tempi_letti(*giorno);
    if (tempi.size() < 2) continue;
    std::vector<std::int64_t> intervalli;
    for (std::size_t i = 1; i < tempi.size(); ++i) {
      intervalli.push_back((tempi[i] - tempi[i - 1]).count());
    }
    std::sort(intervalli.begin(), intervalli.end());
    const std::size_t n = intervalli.size();
    return n % 2 == 1 ? intervalli[n / 2] : (intervalli[n / 2 - 1] + intervalli[n / 2]) / 2;
  }
  return std::nullopt;
}

}  // namespace fof1plot
