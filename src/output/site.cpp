#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <set>

#include "canvas/plot_window.h"
#include "canvas/svg_surface.h"
#include "output/figure_data.h"
#include "output/site_pages.h"
#include "platform/text.h"
#include "run/form1.h"
#include "statistics/month_chart.h"
#include "statistics/month_statistics.h"

namespace fof1plot {
namespace {

using namespace std::chrono;

// The day and kind of an archive file's name, "yyyyddd.gif", ".csv" or ".svg".
bool giorno_del_file(std::string_view nome, sys_days& giorno, std::string_view& estensione) {
  if (nome.size() != 11 || nome[7] != '.') return false;
  int anno = 0, numero = 0;
  for (std::size_t i = 0; i < 7; ++i) {
    if (nome[i] < '0' || nome[i] > '9') return false;
    (i < 4 ? anno : numero) = (i < 4 ? anno : numero) * 10 + (nome[i] - '0');
  }
  estensione = nome.substr(8);
  giorno = sys_days{year{anno} / January / 1} + days{numero - 1};
  return numero >= 1 && year_month_day{giorno}.year() == year{anno};
}

year_month mese_di(sys_days giorno) {
  const year_month_day d{giorno};
  return d.year() / d.month();
}

// "yyyy/mm/", the folder of a day's pages under archive/.
std::string cartella_mese(year_month mese) {
  char testo[16];
  std::snprintf(testo, sizeof testo, "%04d/%02u/", static_cast<int>(mese.year()),
                static_cast<unsigned>(mese.month()));
  return testo;
}

// The text of one of the program's own files, each line ended by "\n"; none when it
// cannot be read.
std::optional<std::string> testo_di(Corsa& corsa, const std::string& path) {
  std::string testo;
  const bool letto = esegui_passo([&] { testo = ReadText(corsa.files(), path); });
  if (!letto) return std::nullopt;
  return testo;
}

// Writes a page of the site; one whose content did not change keeps its file, time and
// cached copies, as every file the run writes does.
void scrivi_pagina(Corsa& corsa, const std::string& path, const std::string& testo) {
  corsa.passo([&] { corsa.scrittore().Write(path, testo); });
}

// The archived days of a work directory, in date order: those with a GIF, and which of
// their data files exist.
std::vector<GiornoArchiviato> elenca_archivio(Corsa& corsa, const std::string& cartella_lavoro) {
  std::map<sys_days, GiornoArchiviato> archivio;
  for (const char* cartella : {"previous_foF1_plots/", "previous_foF1_data/"}) {
    corsa.passo(
        [&] {
          corsa.directory().Dir(cartella_lavoro + cartella, [&](std::string_view nome) {
            sys_days giorno;
            std::string_view estensione;
            if (!giorno_del_file(nome, giorno, estensione)) return;
            GiornoArchiviato& g = archivio[giorno];
            g.data = giorno;
            g.gif = g.gif || estensione == "gif";
            g.csv = g.csv || estensione == "csv";
            g.svg = g.svg || estensione == "svg";
          });
        },
        "cannot list the archive");
  }
  std::vector<GiornoArchiviato> giorni;
  for (const auto& voce : archivio) {
    if (voce.second.gif) giorni.push_back(voce.second);
  }
  return giorni;
}

// A day of the archive on the site: its files linked into archive/yyyy/mm/ as dd.gif,
// dd.csv and dd.svg, and its page dd.html, with the values of its CSV's text.
void scrivi_giorno(Corsa& corsa, const std::string& cartella_lavoro, const std::string& radice,
                   const GiornoArchiviato& g, const std::optional<std::string>& csv,
                   const GiornoArchiviato* precedente, const GiornoArchiviato* successivo) {
  const year_month_day d{g.data};
  const std::string giorno =
      radice + cartella_mese(d.year() / d.month()) + data_iso(g.data).substr(8, 2);
  const std::string stem = radice_archivio(g.data);
  const std::string dati = cartella_lavoro + "previous_foF1_data/" + stem;
  corsa.passo([&] {
    corsa.scrittore().Link(cartella_lavoro + "previous_foF1_plots/" + stem + ".gif",
                           giorno + ".gif");
  });
  for (const auto& voce : {std::pair{g.csv, ".csv"}, {g.svg, ".svg"}}) {
    const std::string estensione = voce.second;
    if (voce.first)
      corsa.passo([&] { corsa.scrittore().Link(dati + estensione, giorno + estensione); });
  }
  scrivi_pagina(
      corsa, giorno + ".html",
      pagina_giorno({corsa.stazione(), corsa.descrizione()}, g, csv, precedente, successivo));
}

// The texts of the archived CSVs of some days, of those that have one, and the days
// whose CSV is there but cannot be read: a reported failure, since the month's numbers
// and the day's page then lack them.
struct CsvLetti {
  std::map<sys_days, std::string> testi;
  std::vector<sys_days> illeggibili;
};

CsvLetti leggi_csv(Corsa& corsa, const std::string& cartella_lavoro,
                   const std::vector<GiornoArchiviato>& giorni) {
  CsvLetti letti;
  for (const GiornoArchiviato& g : giorni) {
    if (!g.csv) continue;
    std::string testo;
    const bool letto = corsa.passo(
        [&] {
          testo = ReadText(corsa.files(), cartella_lavoro + "previous_foF1_data/" +
                                              radice_archivio(g.data) + ".csv");
        },
        "cannot read the archived values");
    if (letto) {
      letti.testi[g.data] = std::move(testo);
    } else {
      letti.illeggibili.push_back(g.data);
    }
  }
  return letti;
}

// A month's statistics, as the statistics subsystem works them out from the texts of its
// archived CSVs and the month's forecast, and its values.csv, hourly.csv and hourly.svg,
// each written where its bytes changed.
StatisticheMese scrivi_statistiche(Form1& form, Form1& grafico, DrawingSurface& vettoriale,
                                   Corsa& corsa, const std::string& cartella, year_month mese,
                                   const std::vector<GiornoArchiviato>& del_mese,
                                   const CsvLetti& csv) {
  std::vector<sys_days> archiviati(del_mese.size());
  std::transform(del_mese.begin(), del_mese.end(), archiviati.begin(),
                 [](const GiornoArchiviato& g) { return g.data; });
  StatisticheMese s = statistiche_del_mese(form, mese, csv.testi, csv.illeggibili, archiviati);
  for (const auto& [nome, testo] : {std::pair<const char*, std::string>{"values.csv", s.valori},
                                    {"hourly.csv", testo_orario(s)},
                                    {"hourly.svg", grafico_mese(grafico, vettoriale, s)}}) {
    scrivi_pagina(corsa, cartella + nome, testo);
  }
  return s;
}

// The archived days whose page or figure is missing from archive/yyyy/mm/, whatever run
// archived them (a back-fill without the site, a run whose write failed), and the months
// without their page: one listing of each month's folder.
std::set<sys_days> giorni_senza_pagina(Corsa& corsa, const std::string& radice,
                                       const std::vector<GiornoArchiviato>& giorni,
                                       std::set<year_month>& mesi_senza_pagina) {
  std::set<sys_days> mancanti;
  for (auto g = giorni.begin(); g != giorni.end();) {
    const year_month mese = mese_di(g->data);
    std::set<std::string> nomi;
    esegui_passo([&] {
      corsa.directory().Dir(radice + cartella_mese(mese),
                            [&](std::string_view nome) { nomi.emplace(nome); });
    });
    if (nomi.count("index.html") == 0) mesi_senza_pagina.insert(mese);
    for (; g != giorni.end() && mese_di(g->data) == mese; ++g) {
      const std::string giorno = data_iso(g->data).substr(8, 2);
      if (nomi.count(giorno + ".html") == 0 || nomi.count(giorno + ".gif") == 0) {
        mancanti.insert(g->data);
      }
    }
  }
  return mancanti;
}

}  // namespace

// The station's web site in the output directory: the archive's pages for the days from
// primo to ultimo and the archived days just before and after them, and of every archived
// day or month that has no page yet, their months, the archive's index and site.css, and
// after a daily run index.html, each where its content changed. Every other page is left
// as it is, and no page links one that is not there.
void Form1::scrivi_sito(sys_days primo, sys_days ultimo) {
  const std::vector<GiornoArchiviato> giorni = elenca_archivio(corsa, cartella_lavoro);
  const auto da = std::lower_bound(giorni.begin(), giorni.end(), primo,
                                   [](const auto& g, sys_days d) { return g.data < d; });
  const auto a = std::upper_bound(giorni.begin(), giorni.end(), ultimo,
                                  [](sys_days d, const auto& g) { return d < g.data; });
  const auto inizio = da == giorni.begin() ? da : da - 1;
  const auto fine = a == giorni.end() ? a : a + 1;

  const StazionePagine stazione{corsa.stazione(), corsa.descrizione()};
  const std::string radice = cartella_uscita + "archive/";
  std::set<year_month> mesi;
  const std::set<sys_days> mancanti = giorni_senza_pagina(corsa, radice, giorni, mesi);
  for (auto g = inizio; g != fine; ++g) mesi.insert(mese_di(g->data));
  for (const sys_days giorno : mancanti) mesi.insert(mese_di(giorno));
  const auto da_scrivere = [&](auto g) {
    return (g >= inizio && g < fine) || mancanti.count(g->data) != 0;
  };
  // Each month's statistics are drawn on a vector canvas of their own, by a window of
  // their own.
  SvgSurface vettoriale(kTwipsPerPixel, kColoreSfondo, kColoreTesto);
  Form1 grafico(vettoriale, wpdlx1, corsa);
  Riassunti riassunti = leggi_riassunti(testo_di(corsa, radice + "months.csv").value_or(""));
  // A month at a time, so that each of its CSVs is read once, for its day's page and for
  // the month's statistics, and a back-fill of years holds one month's texts.
  for (const year_month& mese : mesi) {
    const std::string cartella = radice + cartella_mese(mese);
    for (const std::string& c : {radice, cartella.substr(0, radice.size() + 5), cartella}) {
      corsa.crea_cartella(c);
    }
    const auto entro = [&](year_month m) {
      return std::lower_bound(giorni.begin(), giorni.end(), sys_days{m / 1},
                              [](const auto& g, sys_days d) { return g.data < d; });
    };
    const auto prima = entro(mese), dopo = entro(mese + months{1});
    const std::vector<GiornoArchiviato> del_mese(prima, dopo);
    const CsvLetti csv = leggi_csv(corsa, cartella_lavoro, del_mese);
    for (auto g = prima; g < dopo; ++g) {
      if (!da_scrivere(g)) continue;
      const auto testo = csv.testi.find(g->data);
      scrivi_giorno(corsa, cartella_lavoro, radice, *g,
                    testo == csv.testi.end() ? std::nullopt : std::optional(testo->second),
                    g == giorni.begin() ? nullptr : &*(g - 1),
                    g + 1 == giorni.end() ? nullptr : &*(g + 1));
    }
    const StatisticheMese s =
        scrivi_statistiche(*this, grafico, vettoriale, corsa, cartella, mese, del_mese, csv);
    riassunti[mese] = {s.giorni_con_dati, s.scarto_rms};
    scrivi_pagina(corsa, cartella + "index.html", pagina_mese(stazione, mese, del_mese, &s));
  }
  corsa.crea_cartella(radice);
  scrivi_pagina(corsa, radice + "months.csv", testo_riassunti(riassunti));
  const std::string indice_archivio = pagina_archivio(stazione, giorni, riassunti);
  scrivi_pagina(corsa, radice + "index.html", indice_archivio);
  scrivi_pagina(corsa, cartella_uscita + "site.css", foglio_stile());
  scrivi_pagina(corsa, cartella_uscita + "live.js", script_indice());
  if (!corsa.pubblica()) return;
  std::vector<const RegistroFigura*> sei;
  for (const RegistroFigura& figura : corsa.figure()) {
    if (figura.slot > 0) sei.push_back(&figura);
  }
  const std::string indice = pagina_indice(stazione, corsa.adesso(), freschezza(corsa.figure()),
                                           ultimo_valore(corsa.figure()), sei);
  scrivi_pagina(corsa, cartella_uscita + "index.html", indice);
}

}  // namespace fof1plot
