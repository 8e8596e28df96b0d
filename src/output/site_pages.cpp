#include "output/site_pages.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>

#include "canvas/svg_surface.h"
#include "output/figure_data.h"
#include "output/status_file.h"
#include "platform/escapes.h"
#include "platform/value_field.h"
#include "statistics/month_statistics.h"

namespace fof1plot {
namespace {

using namespace std::chrono;

constexpr const char* kNomiMesi[] = {"January",   "February", "March",    "April",
                                     "May",       "June",     "July",     "August",
                                     "September", "October",  "November", "December"};

std::string due_cifre(unsigned n) {
  char testo[8];
  std::snprintf(testo, sizeof testo, "%02u", n % 100);
  return testo;
}

std::string nome_mese(year_month mese) {
  return std::string(kNomiMesi[static_cast<unsigned>(mese.month()) - 1]) + " " +
         std::to_string(static_cast<int>(mese.year()));
}

// The path of a day's files from the archive's root: "2025/03/05".
std::string percorso_giorno(sys_days giorno) {
  const year_month_day d{giorno};
  return std::to_string(static_cast<int>(d.year())) + "/" +
         due_cifre(static_cast<unsigned>(d.month())) + "/" +
         due_cifre(static_cast<unsigned>(d.day()));
}

// The head of a page and the opening of its body; `radice` leads to the site's root.
std::string inizio(const std::string& titolo, const std::string& radice,
                   const StazionePagine& stazione) {
  const std::string nome =
      stazione.riga ? EscapeXml(*stazione.riga) : std::string("Ionospheric station");
  const std::string identita =
      stazione.descrizione ? "<p class=\"identity\">" +
                                 EscapeXml(parole_descrizione(*stazione.descrizione)) + "</p>\n"
                           : std::string();
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
         EscapeXml(titolo) + " – " + nome + "</title>\n<link rel=\"stylesheet\" href=\"" + radice +
         "site.css\">\n<link rel=\"icon\" href=\"data:,\">\n</head>\n<body>\n<header>\n<p "
         "class=\"station\">" +
         nome + "</p>\n" + identita + "<h1>" + EscapeXml(titolo) + "</h1>\n";
}

std::string fine() { return "</main>\n</body>\n</html>\n"; }

// The marks of a figure and what they mean; the two kinds of tick differ in line as well
// as in colour.
std::string legenda() {
  return "<ul class=\"legend\">\n"
         "<li><svg width=\"28\" height=\"12\" aria-hidden=\"true\"><line x1=\"2\" y1=\"9\" "
         "x2=\"26\" y2=\"3\" stroke=\"#FFFFFF\"/><circle cx=\"14\" cy=\"6\" r=\"2\" "
         "fill=\"#FFFFFF\"/></svg> the month's forecast</li>\n"
         "<li><svg width=\"28\" height=\"12\" aria-hidden=\"true\"><circle cx=\"14\" cy=\"6\" "
         "r=\"3\" fill=\"#FF0000\"/></svg> a value of the station's automatic scaling</li>\n"
         "<li><svg width=\"28\" height=\"12\" aria-hidden=\"true\"><line x1=\"14\" y1=\"1\" "
         "x2=\"14\" y2=\"11\" stroke=\"#00FF00\" stroke-width=\"2\"/></svg> solid green tick: "
         "the scaling gave no value (N/A)</li>\n"
         "<li><svg width=\"28\" height=\"12\" aria-hidden=\"true\"><line x1=\"14\" y1=\"1\" "
         "x2=\"14\" y2=\"11\" stroke=\"#FF9900\" stroke-width=\"2\" stroke-dasharray=\"2 2\"/>"
         "</svg> dashed orange tick: no F1 layer seen (NO)</li>\n</ul>\n";
}

// A day's values as a table, from its CSV.
std::string tabella_valori(const std::string& csv) {
  std::string righe;
  std::size_t inizio_riga = csv.find('\n');
  while (inizio_riga != std::string::npos && inizio_riga + 1 < csv.size()) {
    const std::size_t fine_riga = csv.find('\n', inizio_riga + 1);
    std::vector<std::string> campi = campi_csv(
        csv.substr(inizio_riga + 1,
                   (fine_riga == std::string::npos ? csv.size() : fine_riga) - inizio_riga - 1));
    inizio_riga = fine_riga;
    if ((campi.size() != 3 && campi.size() != 5) || campi[0].size() < 16) continue;
    // A CSV of an earlier version has no forecast columns: their cells stay empty.
    campi.resize(5);
    righe += "<tr><td>" + EscapeXml(campi[0].substr(11, 5)) + "</td>";
    for (std::size_t c = 1; c < campi.size(); ++c) righe += "<td>" + EscapeXml(campi[c]) + "</td>";
    righe += "</tr>\n";
  }
  if (righe.empty()) return "<p>No sample of this day was read.</p>\n";
  return "<table class=\"values\">\n<caption>Values of the day in MHz: the value drawn, the "
         "field as found, the forecast curve at that time and the value less the "
         "forecast</caption>\n<thead><tr><th scope=\"col\">UT</th><th scope=\"col\">foF1</th>"
         "<th scope=\"col\">field</th><th scope=\"col\">forecast</th><th "
         "scope=\"col\">difference</th></tr></thead>\n<tbody>\n" +
         righe + "</tbody>\n</table>\n";
}

// "2 values, 1 N/A, 1 NO", as the page's script writes it too.
std::string conteggi(const RegistroFigura* f) {
  return std::to_string(f->conta(TipoCampo::kValore)) + " values, " +
         std::to_string(f->conta(TipoCampo::kNA)) + " N/A, " +
         std::to_string(f->conta(TipoCampo::kNO)) + " NO";
}

// "11:15", or "2025-01-02 23:00" for another UT day than that of `adesso`.
std::string ora_breve(sys_seconds quando, system_clock::time_point adesso) {
  const std::string iso = iso_utc(quando), oggi = iso_utc(adesso);
  return (iso.substr(0, 10) == oggi.substr(0, 10) ? "" : iso.substr(0, 10) + " ") +
         iso.substr(11, 5);
}

// The last sounding with its value beside the forecast and, when the station is silent,
// the warning, as at `adesso`; the page's script keeps both up to date from the data
// attributes and status.json.
std::string riga_sondaggio(const Freschezza& fresca, const std::optional<UltimoValore>& valore,
                           system_clock::time_point adesso) {
  const std::string intervallo =
      fresca.intervallo_secondi ? std::to_string(*fresca.intervallo_secondi) : "";
  if (!fresca.ultimo) {
    return "<p id=\"sounding\" data-last=\"\" data-interval=\"" + intervallo +
           "\">No sounding in the six days.</p>\n<p class=\"stale\" id=\"silent\" hidden></p>\n";
  }
  const std::string ora = ora_breve(*fresca.ultimo, adesso) + " UTC";
  const std::string parole = valore ? EscapeXml(parole_valore(*valore)) : std::string();
  return "<p id=\"sounding\" data-last=\"" + iso_utc(*fresca.ultimo) + "\" data-interval=\"" +
         intervallo + "\" data-value=\"" + parole + "\">Last sounding " + ora + " (" +
         fa(adesso - *fresca.ultimo) + ")" + (parole.empty() ? "" : ": " + parole) +
         "</p>\n<p class=\"stale\" id=\"silent\"" + (fresca.muta(adesso) ? "" : " hidden") +
         ">No sounding since " + ora + "</p>\n";
}

}  // namespace

std::string pagina_indice(const StazionePagine& stazione, system_clock::time_point generata,
                          const Freschezza& fresca, const std::optional<UltimoValore>& valore,
                          const std::vector<const RegistroFigura*>& giorni) {
  const std::string quando = iso_utc(generata);
  const std::string leggibile = quando.substr(0, 10) + " " + quando.substr(11, 5);
  std::string pagina = inizio("foF1, today and the five days before", "", stazione);
  pagina += "<p>Made <time datetime=\"" + quando + "\" id=\"generated\">" + leggibile +
            " UTC</time>.</p>\n" + riga_sondaggio(fresca, valore, generata) +
            "<p class=\"stale\" id=\"stale\" hidden>Not updated since " + leggibile +
            " UTC</p>\n<nav><a href=\"archive/index.html\">Archive of every day</a></nav>\n"
            "</header>\n<main>\n<div class=\"figures\">\n";
  for (auto giorno = giorni.rbegin(); giorno != giorni.rend(); ++giorno) {
    const RegistroFigura& f = **giorno;
    const std::string k = std::to_string(f.slot), data = data_iso(f.data);
    pagina += "<figure data-slot=\"" + k + "\" data-version=\"" + f.versione +
              "\">\n<img src=\"plotfoF1" + k + ".svg?v=" + f.versione +
              "\" width=\"286\" height=\"221\" alt=\"foF1 on " + data +
              "\">\n<figcaption><time datetime=\"" + data + "\">" + data +
              "</time>: <span class=\"counts\">" + conteggi(*giorno) +
              "</span>. <a class=\"day\" href=\"archive/" + percorso_giorno(f.data) +
              ".html\">Values</a> <a href=\"plotfoF1" + k + ".csv\">CSV</a> <a href=\"plotfoF1" +
              k + ".gif\">GIF</a></figcaption>\n</figure>\n";
  }
  return pagina + "</div>\n" + legenda() + "<script src=\"live.js\"></script>\n" + fine();
}

std::string pagina_archivio(const StazionePagine& stazione,
                            const std::vector<GiornoArchiviato>& giorni,
                            const Riassunti& riassunti) {
  std::map<int, std::map<unsigned, int>> conteggi;
  for (const GiornoArchiviato& g : giorni) {
    const year_month_day d{g.data};
    ++conteggi[static_cast<int>(d.year())][static_cast<unsigned>(d.month())];
  }
  std::string pagina = inizio("Archive", "../", stazione);
  pagina += "<nav><a href=\"../index.html\">Today's figures</a></nav>\n</header>\n<main>\n";
  for (auto anno = conteggi.rbegin(); anno != conteggi.rend(); ++anno) {
    pagina += "<table class=\"months\">\n<caption>" + std::to_string(anno->first) +
              "</caption>\n<thead><tr><th scope=\"col\">Month</th><th scope=\"col\">Days "
              "archived</th><th scope=\"col\">Days with data</th><th scope=\"col\">RMS of "
              "median &minus; forecast</th></tr></thead>\n<tbody>\n";
    for (const auto& [mese, giorni_mese] : anno->second) {
      const auto r = riassunti.find(year{anno->first} / month{mese});
      const bool noto = r != riassunti.end();
      pagina +=
          "<tr><th scope=\"row\"><a href=\"" + std::to_string(anno->first) + "/" + due_cifre(mese) +
          "/index.html\">" + kNomiMesi[mese - 1] + "</a></th><td>" + std::to_string(giorni_mese) +
          "</td><td>" + (noto ? std::to_string(r->second.giorni_con_dati) : "–") + "</td><td>" +
          (noto && r->second.scarto_rms ? centesimi_in_mhz(*r->second.scarto_rms) + " MHz" : "–") +
          "</td></tr>\n";
    }
    pagina += "</tbody>\n</table>\n";
  }
  if (conteggi.empty()) pagina += "<p>No day is archived yet.</p>\n";
  return pagina + fine();
}

// "Left out, <perche>: <dates>." for the days of a month its numbers lack; nothing for
// none.
std::string giorni_esclusi(const char* perche, const std::vector<sys_days>& giorni) {
  if (giorni.empty()) return {};
  std::string testo = std::string("<p>Left out, ") + perche + ":";
  for (const sys_days g : giorni) {
    const std::string data = data_iso(g);
    testo += " <time datetime=\"" + data + "\">" + data + "</time>";
  }
  return testo + ".</p>\n";
}

// The 24 hours as hourly.csv gives them, for a reader without the chart.
std::string tabella_ore(const StatisticheMese& s) {
  std::string righe;
  for (const OraMese& o : s.ore) {
    const std::array<std::string, 7> celle = celle_ora(o);
    righe += "<tr><th scope=\"row\">" + due_cifre(static_cast<unsigned>(o.ora)) + ":00</th><td>" +
             celle[1] + "</td><td>" + celle[3] + "</td><td>" + celle[2] + "</td><td>" + celle[4] +
             "</td><td>" + celle[5] + "</td><td>" + celle[6] + "</td></tr>\n";
  }
  // A phone narrower than the table scrolls it within its frame, not the page.
  return "<div class=\"scroll\" role=\"region\" aria-labelledby=\"hours\" tabindex=\"0\">\n"
         "<table class=\"values hours\">\n<caption id=\"hours\">Each hour in MHz: the days with a "
         "value, "
         "the lower quartile, median and upper quartile of their values, the forecast and the "
         "median less the forecast (the statistics from five days on)</caption>\n<thead><tr>"
         "<th scope=\"col\">UT</th><th scope=\"col\">days</th><th scope=\"col\">lower</th>"
         "<th scope=\"col\">median</th><th scope=\"col\">upper</th><th "
         "scope=\"col\">forecast</th><th scope=\"col\">difference</th></tr></thead>\n<tbody>\n" +
         righe + "</tbody>\n</table>\n</div>\n";
}

// The month's statistics above its calendar: the chart, its files, its summary and its
// hours as a table.
std::string sezione_statistiche(const StatisticheMese& s) {
  std::string testo =
      "<section class=\"statistics\" aria-labelledby=\"hourly\">\n<h2 id=\"hourly\">Hourly "
      "medians and quartiles against the forecast</h2>\n<object data=\"hourly.svg\" "
      "type=\"image/svg+xml\" width=\"572\" height=\"442\" aria-label=\"" +
      nome_mese(s.mese) +
      ": the hourly medians and quartiles of foF1 against the forecast, in the table "
      "below\"></object>\n<p>Red: each hour's median; the blue band and bars span its quartiles. "
      "White: the month's forecast.</p>\n<p>" +
      std::to_string(s.giorni_con_dati) + (s.giorni_con_dati == 1 ? " day" : " days") +
      " with data.";
  if (s.scarto_rms) {
    testo += " Median &minus; forecast: mean " + centesimi_in_mhz(*s.scarto_medio) +
             " MHz, root mean square " + centesimi_in_mhz(*s.scarto_rms) + " MHz.";
  }
  testo += "</p>\n" + giorni_esclusi("their values could not be read", s.illeggibili) +
           giorni_esclusi("archived without their values", s.senza_valori);
  return testo + tabella_ore(s) +
         "<p><a href=\"values.csv\">values.csv</a> <a href=\"hourly.csv\">hourly.csv</a></p>\n"
         "</section>\n";
}

std::string pagina_mese(const StazionePagine& stazione, year_month mese,
                        const std::vector<GiornoArchiviato>& giorni,
                        const StatisticheMese* statistiche) {
  std::map<unsigned, const GiornoArchiviato*> per_giorno;
  for (const GiornoArchiviato& g : giorni)
    per_giorno[static_cast<unsigned>(year_month_day{g.data}.day())] = &g;
  std::string pagina = inizio(nome_mese(mese), "../../../", stazione);
  pagina +=
      "<nav><a href=\"../../index.html\">Archive</a> <a href=\"../../../index.html\">"
      "Today's figures</a></nav>\n</header>\n<main>\n" +
      (statistiche ? sezione_statistiche(*statistiche) : std::string()) +
      "<table class=\"calendar\">\n<caption>" + nome_mese(mese) + "</caption>\n<thead><tr>";
  for (const char* giorno : {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"}) {
    pagina += std::string("<th scope=\"col\">") + giorno + "</th>";
  }
  pagina += "</tr></thead>\n<tbody>\n<tr>";
  const sys_days primo{mese / 1};
  const unsigned vuoti = (weekday{primo}.iso_encoding() + 6) % 7;
  for (unsigned i = 0; i < vuoti; ++i) pagina += "<td></td>";
  const unsigned ultimo = static_cast<unsigned>((mese / last).day());
  for (unsigned giorno = 1; giorno <= ultimo; ++giorno) {
    if ((vuoti + giorno - 1) % 7 == 0 && giorno != 1) pagina += "</tr>\n<tr>";
    const auto trovato = per_giorno.find(giorno);
    if (trovato == per_giorno.end()) {
      pagina += "<td><span class=\"day\">" + std::to_string(giorno) + "</span></td>";
      continue;
    }
    const std::string dd = due_cifre(giorno);
    const std::string immagine = dd + (trovato->second->svg ? ".svg" : ".gif");
    pagina += "<td><a href=\"" + dd + ".html\"><span class=\"day\">" + std::to_string(giorno) +
              "</span><img src=\"" + immagine + "\" width=\"96\" height=\"74\" alt=\"foF1 on " +
              data_iso(trovato->second->data) + "\"></a></td>";
  }
  for (unsigned i = (vuoti + ultimo) % 7; i != 0 && i < 7; ++i) pagina += "<td></td>";
  return pagina + "</tr>\n</tbody>\n</table>\n" + fine();
}

std::string pagina_giorno(const StazionePagine& stazione, const GiornoArchiviato& giorno,
                          const std::optional<std::string>& csv, const GiornoArchiviato* precedente,
                          const GiornoArchiviato* successivo) {
  const std::string data = data_iso(giorno.data);
  const std::string dd = due_cifre(static_cast<unsigned>(year_month_day{giorno.data}.day()));
  std::string pagina = inizio("foF1 on " + data, "../../../", stazione);
  pagina += "<nav>";
  if (precedente != nullptr) {
    pagina += "<a href=\"../../" + percorso_giorno(precedente->data) + ".html\" rel=\"prev\">" +
              "Previous day, " + data_iso(precedente->data) + "</a> ";
  }
  pagina += "<a href=\"index.html\">" +
            nome_mese(year_month_day{giorno.data}.year() / year_month_day{giorno.data}.month()) +
            "</a>";
  if (successivo != nullptr) {
    pagina += " <a href=\"../../" + percorso_giorno(successivo->data) + ".html\" rel=\"next\">" +
              "Next day, " + data_iso(successivo->data) + "</a>";
  }
  pagina += "</nav>\n</header>\n<main>\n<figure>\n";
  if (giorno.svg) {
    pagina += "<object data=\"" + dd +
              ".svg\" type=\"image/svg+xml\" width=\"572\" "
              "height=\"442\" aria-label=\"foF1 on " +
              data + "\"><img src=\"" + dd + ".gif\" width=\"286\" height=\"221\" alt=\"foF1 on " +
              data + "\"></object>\n";
  } else {
    pagina +=
        "<img src=\"" + dd + ".gif\" width=\"286\" height=\"221\" alt=\"foF1 on " + data + "\">\n";
  }
  pagina += "<figcaption>foF1 on <time datetime=\"" + data + "\">" + data + "</time>";
  if (giorno.csv) pagina += ". <a href=\"" + dd + ".csv\">Values as CSV</a>";
  pagina += " <a href=\"" + dd + ".gif\">GIF</a></figcaption>\n</figure>\n" + legenda();
  if (!giorno.csv) {
    pagina += "<p>The values of this day's figure were not recorded.</p>\n";
  } else if (!csv) {
    pagina +=
        "<p>The values of this day's figure could not be read when this page was made; "
        "the station's run reported why.</p>\n";
  } else {
    pagina += tabella_valori(*csv);
  }
  return pagina + fine();
}

std::string foglio_stile() {
  return R"(:root { color-scheme: dark; }
body { margin: 0 auto; max-width: 72rem; padding: 0.75rem; background: #111; color: #eee;
  font: 1rem/1.5 system-ui, sans-serif; }
a { color: #ffff80; }
h1 { font-size: 1.4rem; margin: 0.2rem 0; }
.station { margin: 0; color: #ffff80; font-weight: bold; }
.identity { margin: 0; font-size: 0.9rem; color: #ccc; }
.stale { background: #7a1d00; color: #fff; padding: 0.5rem; font-weight: bold; }
nav a { margin-right: 1rem; }
.figures { display: grid; grid-template-columns: repeat(auto-fill, minmax(18rem, 1fr));
  gap: 1rem; }
figure { margin: 0; }
figure img, figure object, .statistics object { width: 100%; height: auto; max-width: 36rem;
  display: block; background: #000; }
.legend { list-style: none; padding: 0; }
.legend svg { background: #000; vertical-align: middle; }
table { border-collapse: collapse; margin: 1rem 0; }
th, td { padding: 0.15rem 0.6rem; text-align: left; border-bottom: 1px solid #333; }
.calendar { width: 100%; table-layout: fixed; }
.calendar td { vertical-align: top; padding: 0.2rem; }
.calendar img { width: 100%; height: auto; display: block; }
.day { font-size: 0.85rem; }
.months { columns: 3 8rem; }
caption { text-align: left; }
.values td { font-variant-numeric: tabular-nums; }
.scroll { overflow-x: auto; max-width: 100%; }
:focus-visible, object:focus { outline: 3px solid #ffff80; outline-offset: 2px; }
@media (max-width: 40rem) { .calendar th, .calendar td { padding: 0.05rem; font-size: 0.75rem; }
  .values th, .values td { padding: 0.15rem 0.3rem; }
  .hours th, .hours td { padding: 0.1rem 0.2rem; font-size: 0.85rem; } }
)";
}

std::string script_indice() {
  return R"(// Keeps index.html up to date from status.json, without reloading the page.
(function () {
  'use strict';
  // Seconds between two reads of status.json; ?refresh=N shortens it, for tests.
  var every = Math.max(1, Number(new URLSearchParams(location.search).get('refresh')) || 60);
  var byId = function (id) { return document.getElementById(id); };
  var generated = byId('generated'), sounding = byId('sounding');
  var silent = byId('silent'), stale = byId('stale');

  function short(iso, now) {
    var day = iso.slice(0, 10) === new Date(now).toISOString().slice(0, 10);
    return (day ? '' : iso.slice(0, 10) + ' ') + iso.slice(11, 16);
  }
  function ago(ms) {
    var m = Math.round(ms / 60000);
    if (m < 0) return 'ahead of the clock';
    if (m < 120) return m + ' min ago';
    if (m < 2880) return Math.floor(m / 60) + ' h ago';
    return Math.floor(m / 1440) + ' days ago';
  }
  function show() {
    var now = Date.now(), made = generated.getAttribute('datetime');
    var last = sounding.dataset.last, interval = Number(sounding.dataset.interval) || 0;
    stale.hidden = now - Date.parse(made) <= 26 * 3600e3;
    stale.textContent = 'Not updated since ' + made.slice(0, 10) + ' ' + made.slice(11, 16) + ' UTC';
    if (!last) {
      sounding.textContent = 'No sounding in the six days.';
      silent.hidden = true;
      return;
    }
    var age = now - Date.parse(last), time = short(last, now) + ' UTC';
    var value = sounding.dataset.value;
    sounding.textContent = 'Last sounding ' + time + ' (' + ago(age) + ')' + (value ? ': ' + value : '');
    silent.textContent = 'No sounding since ' + time;
    silent.hidden = !(age > Math.max(3 * interval, 3600) * 1000);
  }
  function update(status) {
    generated.setAttribute('datetime', status.generated);
    generated.textContent = status.generated.slice(0, 10) + ' ' + status.generated.slice(11, 16) + ' UTC';
    sounding.dataset.last = status.last_sounding || '';
    sounding.dataset.interval = status.usual_interval_seconds || '';
    sounding.dataset.value = (status.last_value && status.last_value.words) || '';
    status.days.forEach(function (day) {
      var figure = document.querySelector('figure[data-slot="' + day.slot + '"]');
      if (!figure) return;
      if (figure.dataset.version !== String(day.version)) {
        figure.dataset.version = day.version;
        figure.querySelector('img').src =
            'plotfoF1' + day.slot + '.svg?v=' + encodeURIComponent(day.version);
      }
      figure.querySelector('img').alt = 'foF1 on ' + day.date;
      var time = figure.querySelector('time');
      time.setAttribute('datetime', day.date);
      time.textContent = day.date;
      figure.querySelector('.counts').textContent =
          day.values + ' values, ' + day.na + ' N/A, ' + day.no + ' NO';
      figure.querySelector('a.day').href = 'archive/' + day.date.replace(/-/g, '/') + '.html';
    });
  }
  function poll() {
    fetch('status.json', {cache: 'no-store'})
        .then(function (r) { return r.ok ? r.json() : null; })
        .then(function (status) {
          if (status && status.generated && status.generated !== generated.getAttribute('datetime')) {
            update(status);
          }
        })
        // A failed read leaves the page as it is; the warning tells when it grows old.
        .catch(function () {})
        .then(function () {
          show();
          setTimeout(poll, every * 1000);
        });
  }
  show();
  setTimeout(poll, every * 1000);
})();
)";
}

}  // namespace fof1plot
