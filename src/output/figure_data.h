#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/value_field.h"
#include "run/corsa.h"
#include "run/figure_record.h"

namespace fof1plot {

// The header of a figure's CSV since 1.5.0, and of the files of earlier versions, whose
// rows lack the last two columns; readers take the first three columns of either.
inline constexpr std::string_view kIntestazioneCsv =
    "time_utc,foF1_MHz,field,forecast_MHz,deviation_MHz";
inline constexpr std::string_view kIntestazioneCsvPrima = "time_utc,foF1_MHz,field";

// A figure's values as CSV (UTF-8, LF line ends, RFC 4180 quoting): the header
// kIntestazioneCsv, then one row per sample read, in time order (minute 00 first in its
// hour): its UT time, the value drawn in MHz for a field of the station's dd.d form
// (empty otherwise), the field as found, the forecast curve's value at the sample as the
// figure draws it (empty where it has none) and the value less the forecast (for a
// value with a forecast), both in MHz with two decimals.
std::string testo_csv(const RegistroFigura& figura);

// The fields of one CSV row, with RFC 4180 quotes undone.
std::vector<std::string> campi_csv(const std::string& riga);

// One of the files that carry a figure's values beside its GIFs: its extension, its
// bytes, and the archived file once one was written with them.
struct DatoFigura {
  std::string estensione;
  std::string testo;
  std::string archiviato;
};

// The current figure's CSV, and with the web site its SVG.
std::vector<DatoFigura> dati_figura(Corsa& corsa);

// 16 hexadecimal digits that change whenever the bytes of the files do (FNV-1a, 64
// bits): the version of a published figure, by which a page knows to fetch it again.
std::string impronta(const std::vector<DatoFigura>& dati);

// "yyyy-mm-dd".
std::string data_iso(std::chrono::sys_days giorno);

// "yyyyddd", the name the archive gives a day's files.
std::string radice_archivio(std::chrono::sys_days giorno);

// "yyyy-mm-ddThh:mm:00Z".
std::string ora_utc(std::chrono::sys_days giorno, int ora, int minuto);

}  // namespace fof1plot
