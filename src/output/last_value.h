#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "run/figure_record.h"

namespace fof1plot {

// The latest sample read of the six days, as the pages give it beside its forecast.
struct UltimoValore {
  // The field as found, without surrounding blanks.
  std::string campo;
  // Its value in tenths of MHz, for a field of the station's dd.d form.
  std::optional<int> decimi;
  // The forecast curve at its time as the figure draws it, in hundredths of MHz.
  std::optional<int> previsione;
};

// The latest sample read of the six days' figures; none when none read one.
std::optional<UltimoValore> ultimo_valore(const std::vector<RegistroFigura>& figure);

// "3.4 MHz, forecast 3.1, +0.3": the value (or the field, "N/A"), the forecast and the
// value less the forecast, each in tenths of MHz, rounded half away from zero; what is
// missing is left out ("3.4 MHz" without a forecast, "N/A, forecast 3.1").
std::string parole_valore(const UltimoValore& valore);

// status.json's and stations.json's "last_value": foF1_MHz, field, forecast_MHz,
// deviation_MHz (numbers in MHz, or null) and the words the pages show; null for none.
nlohmann::json json_valore(const std::optional<UltimoValore>& valore);

}  // namespace fof1plot
