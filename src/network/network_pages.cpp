#include "network/network_pages.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>

#include "canvas/svg_surface.h"
#include "output/figure_data.h"
#include "output/status_file.h"
#include "platform/escapes.h"

namespace fof1plot {
namespace {

using namespace std::chrono;
using json = nlohmann::ordered_json;

std::string ora_leggibile(sys_seconds quando) {
  const std::string iso = iso_utc(quando);
  return iso.substr(0, 10) + " " + iso.substr(11, 5);
}

// The last value beside its forecast, "3.4 MHz, forecast 3.1, +0.3"; empty for none.
std::string parole_sondaggio(const StazioneRete& s) {
  return s.valore_sondaggio ? parole_valore(*s.valore_sondaggio) : std::string();
}

// "Last sounding 2025-03-05 14:00 UTC (3 min ago): 3.4 MHz, forecast 3.1, +0.3", as
// network.js writes it too.
std::string riga_sondaggio_rete(const StazioneRete& s, system_clock::time_point adesso) {
  if (!s.fresca.ultimo) return "No sounding in the six days";
  const std::string parole = parole_sondaggio(s);
  return "Last sounding " + ora_leggibile(*s.fresca.ultimo) + " UTC (" +
         fa(adesso - *s.fresca.ultimo) + ")" + (parole.empty() ? "" : ": " + parole);
}

// The state in words, with the reason where there is one.
std::string stato_in_parole(const StazioneRete& s) {
  std::string testo = nome_stato(s.stato);
  if (!s.motivo.empty()) testo += ": " + s.motivo;
  return testo;
}

// The class of a state: its name, a blank made a hyphen.
std::string classe_stato(StatoStazione stato) {
  std::string classe = nome_stato(stato);
  for (char& c : classe) {
    if (c == ' ') c = '-';
  }
  return classe;
}

// A station's directory as a segment of an address: every byte but letters, digits and
// "-._~" percent-encoded, whatever the copying host named it.
std::string segmento(const std::string& cartella) {
  static constexpr char kCifre[] = "0123456789ABCDEF";
  std::string codificato;
  for (const char c : cartella) {
    const auto b = static_cast<unsigned char>(c);
    if (std::isalnum(b) != 0 || c == '-' || c == '.' || c == '_' || c == '~') {
      codificato += c;
    } else {
      codificato += {'%', kCifre[b >> 4], kCifre[b & 15]};
    }
  }
  return codificato;
}

std::string indirizzo_figura(const StazioneRete& s) {
  if (s.figura.empty()) return {};
  return segmento(s.cartella) + "/" + s.figura +
         (s.versione_oggi.empty() ? "" : "?v=" + segmento(s.versione_oggi));
}

std::string indirizzo_pagina(const StazioneRete& s) {
  return s.pagina ? segmento(s.cartella) + "/index.html" : std::string();
}

std::string scheda(const StazioneRete& s, system_clock::time_point adesso) {
  const std::string nome = EscapeXml(s.nome);
  // What the page's script needs to judge the station again as time passes.
  std::string dati = " data-station=\"" + EscapeXml(s.cartella) + "\"";
  if (s.stato != StatoStazione::kIlleggibile && s.generato) {
    dati += " data-generated=\"" + iso_utc(*s.generato) + "\" data-last=\"" +
            (s.fresca.ultimo ? iso_utc(*s.fresca.ultimo) : "") + "\" data-interval=\"" +
            (s.fresca.intervallo_secondi ? std::to_string(*s.fresca.intervallo_secondi) : "") +
            "\" data-exit=\"" + std::to_string(s.stato_di_uscita) + "\" data-reason=\"" +
            EscapeXml(s.motivo) + "\" data-value=\"" + EscapeXml(parole_sondaggio(s)) + "\"";
  }
  std::string html =
      "<article class=\"card\"" + dati + ">\n<h2>" + nome + "</h2>\n" +
      (s.descrizione
           ? "<p class=\"identity\">" + EscapeXml(parole_descrizione(*s.descrizione)) + "</p>\n"
           : std::string()) +
      "<p class=\"state " + classe_stato(s.stato) + "\">" + EscapeXml(stato_in_parole(s)) +
      "</p>\n<p class=\"sounding\">" + EscapeXml(riga_sondaggio_rete(s, adesso)) + "</p>\n";
  if (!s.figura.empty()) {
    html += "<img loading=\"lazy\" src=\"" + EscapeXml(indirizzo_figura(s)) +
            "\" width=\"286\" height=\"221\" alt=\"foF1 of " + nome + " today\">\n";
  }
  if (s.pagina) {
    html += "<p><a href=\"" + EscapeXml(indirizzo_pagina(s)) + "\">The station's page</a></p>\n";
  }
  return html + "</article>\n";
}

}  // namespace

std::optional<double> valore_mhz(const std::string& testo) {
  char* fine = nullptr;
  const double valore = std::strtod(testo.c_str(), &fine);
  if (testo.empty() || fine == nullptr || *fine != '\0' || !std::isfinite(valore)) {
    return std::nullopt;
  }
  return valore;
}

std::string pagina_rete(const std::vector<StazioneRete>& stazioni,
                        system_clock::time_point adesso) {
  std::map<std::string, int> per_stato;
  for (const StazioneRete& s : stazioni) ++per_stato[nome_stato(s.stato)];
  std::string sommario;
  for (const auto& [stato, n] : per_stato) {
    sommario += (sommario.empty() ? "" : ", ") + std::to_string(n) + " " + stato;
  }
  const std::string quando = iso_utc(adesso);
  std::string pagina =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<title>foF1 across the network</title>\n<link rel=\"stylesheet\" href=\"network.css\">\n"
      "<link rel=\"icon\" href=\"data:,\">\n</head>\n<body>\n<header>\n"
      "<h1>foF1 across the network</h1>\n<p>Made <time id=\"generated\" datetime=\"" +
      quando + "\">" + ora_leggibile(time_point_cast<seconds>(adesso)) + " UTC</time>. " +
      std::to_string(stazioni.size()) + " stations: <span id=\"summary\">" + sommario +
      "</span>.</p>\n<p class=\"stale\" id=\"stale\" hidden></p>\n</header>\n<main>\n"
      "<section class=\"cards\" aria-label=\"Stations\">\n";
  for (const StazioneRete& s : stazioni) pagina += scheda(s, adesso);
  if (stazioni.empty()) pagina += "<p>No station has been copied here yet.</p>\n";
  pagina +=
      "</section>\n<section aria-labelledby=\"today\">\n<h2 id=\"today\">Today's values of "
      "every station</h2>\n<object id=\"chart\" data=\"today.svg\" type=\"image/svg+xml\" "
      "aria-label=\"Today's foF1 values of every station on one chart\"></object>\n<p><a "
      "href=\"today.csv\">today.csv</a> <a "
      "href=\"stations.json\">stations.json</a></p>\n</section>\n</main>\n"
      "<script src=\"network.js\"></script>\n</body>\n</html>\n";
  return pagina;
}

std::string testo_stazioni(const std::vector<StazioneRete>& stazioni,
                           system_clock::time_point adesso) {
  json elenco = json::array();
  const auto momento = [](const std::optional<sys_seconds>& t) {
    return t ? json(iso_utc(*t)) : json(nullptr);
  };
  for (const StazioneRete& s : stazioni) {
    // The last value of the station's CSV, dated, whether today's or not.
    json ultimo = nullptr;
    if (s.ultimo_valore) {
      if (const auto valore = valore_mhz(s.ultimo_valore->mhz)) {
        ultimo = {{"time_utc", s.ultimo_valore->ora}, {"foF1_MHz", *valore}};
      }
    }
    const std::string figura = indirizzo_figura(s);
    elenco.push_back(
        {{"directory", s.cartella},
         {"name", s.nome},
         {"state", nome_stato(s.stato)},
         {"reason", s.motivo.empty() ? json(nullptr) : json(s.motivo)},
         {"generated", momento(s.generato)},
         {"last_sounding", momento(s.fresca.ultimo)},
         {"usual_interval_seconds",
          s.fresca.intervallo_secondi ? json(*s.fresca.intervallo_secondi) : json(nullptr)},
         {"exit_status", s.generato ? json(s.stato_di_uscita) : json(nullptr)},
         {"failures", s.guasti},
         {"today",
          {{"date", s.data_oggi.empty() ? json(nullptr) : json(s.data_oggi)},
           {"values", s.valori},
           {"na", s.na},
           {"no", s.no}}},
         {"latest", ultimo},
         {"last_value", json_valore(s.valore_sondaggio)},
         {"description", json_descrizione(s.descrizione)},
         {"figure", figura.empty() ? json(nullptr) : json(figura)},
         {"page", s.pagina ? json(indirizzo_pagina(s)) : json(nullptr)}});
  }
  const json testo = {{"generated", iso_utc(adesso)}, {"stations", elenco}};
  return testo.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string testo_oggi(const std::vector<StazioneRete>& stazioni) {
  std::string csv = "station,time_utc,foF1_MHz,field\n";
  for (const StazioneRete& s : stazioni) {
    for (const ValoreOggi& v : s.oggi) {
      csv += CsvField(s.nome) + "," + CsvField(v.ora) + "," + CsvField(v.mhz) + "," +
             CsvField(v.campo) + "\n";
    }
  }
  return csv;
}

std::string testo_metriche_rete(const std::string& rete, const std::vector<StazioneRete>& stazioni,
                                system_clock::time_point adesso) {
  const std::string etichetta_rete = "{network=\"" + MetricLabel(rete) + "\"";
  std::string sondaggi, rapporti, riuscite, stati;
  for (const StazioneRete& s : stazioni) {
    const std::string nome = etichetta_rete + ",station=\"" + MetricLabel(s.cartella) + "\"";
    sondaggi += "fof1plot_station_last_sounding_timestamp_seconds" + nome + "} " +
                std::to_string(s.fresca.ultimo ? s.fresca.ultimo->time_since_epoch().count() : 0) +
                "\n";
    rapporti += "fof1plot_station_report_timestamp_seconds" + nome + "} " +
                std::to_string(s.generato ? s.generato->time_since_epoch().count() : 0) + "\n";
    riuscite += "fof1plot_station_run_success" + nome + "} " +
                (s.generato && s.stato_di_uscita == 0 ? "1" : "0") + "\n";
    for (const StatoStazione stato :
         {StatoStazione::kOk, StatoStazione::kMuta, StatoStazione::kNonAggiornata,
          StatoStazione::kInErrore, StatoStazione::kIlleggibile, StatoStazione::kCopiaFerma}) {
      stati += "fof1plot_station_state" + nome + ",state=\"" + nome_stato(stato) + "\"} " +
               (s.stato == stato ? "1" : "0") + "\n";
    }
  }
  const auto tipo = [](const char* nome, const char* aiuto) {
    return std::string("# HELP ") + nome + " " + aiuto + "\n# TYPE " + nome + " gauge\n";
  };
  return tipo("fof1plot_network_last_run_timestamp_seconds",
              "When the network overview was last written, in Unix time.") +
         "fof1plot_network_last_run_timestamp_seconds" + etichetta_rete + "} " +
         std::to_string(duration_cast<seconds>(adesso.time_since_epoch()).count()) + "\n" +
         tipo("fof1plot_station_last_sounding_timestamp_seconds",
              "When each station last sounded, in Unix time; 0 when not known.") +
         sondaggi +
         tipo("fof1plot_station_report_timestamp_seconds",
              "When each station's copied status.json was written, in Unix time; 0 when not "
              "known.") +
         rapporti +
         tipo("fof1plot_station_run_success",
              "1 when the station's last run succeeded, 0 otherwise.") +
         riuscite +
         tipo("fof1plot_station_state", "1 for each station's state, 0 for the others.") + stati;
}

std::string foglio_rete() {
  return R"(:root { color-scheme: dark; }
body { margin: 0 auto; max-width: 80rem; padding: 0.75rem; background: #111; color: #eee;
  font: 1rem/1.5 system-ui, sans-serif; }
a { color: #ffff80; }
h1 { font-size: 1.4rem; margin: 0.2rem 0; }
h2 { font-size: 1.1rem; margin: 0.2rem 0; overflow-wrap: anywhere; }
.cards { display: grid; grid-template-columns: repeat(auto-fill, minmax(18rem, 1fr)); gap: 0.75rem; }
.card { border: 1px solid #444; padding: 0.5rem; min-width: 0; }
.card p { margin: 0.25rem 0; overflow-wrap: anywhere; }
img { max-width: 100%; height: auto; background: #000; }
#chart { display: block; width: 100%; max-width: 36rem; height: auto; background: #000; }
.state { font-weight: bold; padding: 0 0.3rem; display: inline-block; }
.identity { font-size: 0.9rem; color: #ccc; }
.state.ok { background: #1d5e1d; color: #fff; }
.state.silent, .state.not-updated, .state.copy-stale { background: #7a5a00; color: #fff; }
.state.failing, .state.unreadable { background: #7a1d00; color: #fff; }
.stale { background: #7a1d00; color: #fff; padding: 0.5rem; font-weight: bold; }
:focus-visible, object:focus { outline: 3px solid #ffff80; outline-offset: 2px; }
)";
}

std::string script_rete() {
  return R"(// Keeps the network's page up to date from stations.json, without reloading it, and
// judges every station again by this browser's clock as time passes.
(function () {
  'use strict';
  // Seconds between two reads of stations.json; ?refresh=N shortens it, for tests.
  var every = Math.max(1, Number(new URLSearchParams(location.search).get('refresh')) || 60);
  var generated = document.getElementById('generated');
  var MINUTE = 60000, HOUR = 3600000;

  function ago(ms) {
    var m = Math.round(ms / MINUTE);
    if (m < 0) return 'ahead of the clock';
    if (m < 120) return m + ' min ago';
    if (m < 2880) return Math.floor(m / 60) + ' h ago';
    return Math.floor(m / 1440) + ' days ago';
  }
  function utc(iso) { return iso.slice(0, 10) + ' ' + iso.slice(11, 16) + ' UTC'; }
  function sounding(last, now, value) {
    if (!last) return 'No sounding in the six days';
    return 'Last sounding ' + utc(last) + ' (' + ago(now - Date.parse(last)) + ')' +
        (value ? ': ' + value : '');
  }
  // As the overview judges it: no run for 26 hours, a report older than three live
  // intervals, a failed run, no sounding for three usual intervals and at least an hour.
  function state(card, now) {
    var d = card.dataset;
    if (!d.generated) return null;
    var report = now - Date.parse(d.generated);
    if (report > 26 * HOUR) return 'not updated';
    if (report > 15 * MINUTE) return 'copy stale';
    if (d.exit !== '0') return 'failing';
    var quiet = Math.max(3 * (Number(d.interval) || 0) * 1000, HOUR);
    if (!d.last || now - Date.parse(d.last) > quiet) return 'silent';
    return 'ok';
  }
  function judge() {
    var now = Date.now(), counts = {};
    document.querySelectorAll('article.card').forEach(function (card) {
      var s = state(card, now), el = card.querySelector('.state');
      if (s) {
        el.textContent = s + (s === 'failing' && card.dataset.reason ? ': ' + card.dataset.reason : '');
        el.className = 'state ' + s.replace(/ /g, '-');
        card.querySelector('.sounding').textContent =
            sounding(card.dataset.last, now, card.dataset.value);
      }
      var shown = el.className.slice(6).replace(/-/g, ' ');
      counts[shown] = (counts[shown] || 0) + 1;
    });
    document.getElementById('summary').textContent = Object.keys(counts).sort().map(function (k) {
      return counts[k] + ' ' + k;
    }).join(', ');
    var made = generated.getAttribute('datetime'), stale = document.getElementById('stale');
    stale.hidden = now - Date.parse(made) <= 15 * MINUTE;
    stale.textContent = 'Not updated since ' + utc(made);
  }
  function update(network) {
    var cards = document.querySelectorAll('article.card');
    if (cards.length !== network.stations.length) { location.reload(); return; }
    network.stations.forEach(function (s, i) {
      var card = cards[i];
      if (card.dataset.station !== s.directory) { location.reload(); return; }
      var state = card.querySelector('.state');
      state.textContent = s.state + (s.reason ? ': ' + s.reason : '');
      state.className = 'state ' + s.state.replace(/ /g, '-');
      if (s.generated && s.state !== 'unreadable') {
        card.dataset.generated = s.generated;
        card.dataset.interval = s.usual_interval_seconds || '';
        card.dataset.exit = String(s.exit_status);
        card.dataset.reason = s.reason || '';
      } else {
        delete card.dataset.generated;
      }
      card.dataset.last = s.last_sounding || '';
      card.dataset.value = (s.last_value && s.last_value.words) || '';
      card.querySelector('.sounding').textContent =
          sounding(s.last_sounding, Date.now(), card.dataset.value);
      var img = card.querySelector('img');
      if (img && s.figure && img.getAttribute('src') !== s.figure) img.src = s.figure;
    });
    generated.setAttribute('datetime', network.generated);
    generated.textContent = utc(network.generated);
    document.getElementById('chart').data = 'today.svg?t=' + encodeURIComponent(network.generated);
  }
  function poll() {
    fetch('stations.json', {cache: 'no-store'})
        .then(function (r) { return r.ok ? r.json() : null; })
        .then(function (network) {
          if (network && network.generated && network.generated !== generated.getAttribute('datetime')) {
            update(network);
          }
        })
        // A failed read leaves the page as it is, to be judged by the clock.
        .catch(function () {})
        .then(function () { judge(); setTimeout(poll, every * 1000); });
  }
  judge();
  setTimeout(poll, every * 1000);
})();
)";
}

}  // namespace fof1plot
