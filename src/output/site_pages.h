#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "output/last_value.h"
#include "output/sounding_times.h"
#include "run/figure_record.h"
#include "run/station_description.h"
#include "statistics/month_statistics.h"

namespace fof1plot {

// One day of the archive as the site shows it: which of its files the work directory's
// archive holds.
struct GiornoArchiviato {
  std::chrono::sys_days data{};
  bool gif = false;
  bool csv = false;
  bool svg = false;
};

// The pages of the station's web site, each a whole HTML5 document with relative links,
// loading nothing from elsewhere. Texts from the station's files are escaped.

// Whom the pages are of: the station file's first line, and the station's description
// where its file gives one.
struct StazionePagine {
  StazionePagine(std::optional<std::string> riga = std::nullopt,
                 std::optional<DescrizioneStazione> descrizione = std::nullopt)
      : riga(std::move(riga)), descrizione(std::move(descrizione)) {}
  StazionePagine(const char* riga) : riga(riga) {}
  std::optional<std::string> riga;
  std::optional<DescrizioneStazione> descrizione;
};

// index.html: the station, when the figures were made (with a warning when the page is
// seen more than 26 hours later), the last sounding with its value beside the forecast
// (with a warning when the station is silent), the six figures newest first with their
// counts and files, a legend and the way to the archive. `giorni` are the six records in slot
// order. Right as written without scripts; live.js keeps it up to date.
std::string pagina_indice(const StazionePagine& stazione,
                          std::chrono::system_clock::time_point generata, const Freschezza& fresca,
                          const std::optional<UltimoValore>& valore,
                          const std::vector<const RegistroFigura*>& giorni);

// archive/index.html: the years and months of the archive, each with its count of days,
// its days with data and its RMS of (median - forecast), where `riassunti` has them.
std::string pagina_archivio(const StazionePagine& stazione,
                            const std::vector<GiornoArchiviato>& giorni,
                            const Riassunti& riassunti);

// archive/<yyyy>/<mm>/index.html: the month's calendar, a thumbnail per archived day.
// With `statistiche`, the month's hourly chart, its files and summary above the calendar.
std::string pagina_mese(const StazionePagine& stazione, std::chrono::year_month mese,
                        const std::vector<GiornoArchiviato>& giorni,
                        const StatisticheMese* statistiche);

// archive/<yyyy>/<mm>/<dd>.html: the day's figure, its values from its CSV's text (none
// where it could not be read, and the page says so; for a day archived without a CSV the
// page says they were not recorded), the previous and next archived days and the month.
std::string pagina_giorno(const StazionePagine& stazione, const GiornoArchiviato& giorno,
                          const std::optional<std::string>& csv, const GiornoArchiviato* precedente,
                          const GiornoArchiviato* successivo);

// site.css, the one style sheet of every page.
std::string foglio_stile();

// live.js, index.html's script: reads status.json every minute and, when a run has made
// new figures, swaps those whose version changed and updates the texts, without reloading
// the page; keeps the ages and warnings true as time passes.
std::string script_indice();

}  // namespace fof1plot
