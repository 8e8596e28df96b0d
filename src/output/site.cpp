#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <set>

#include "output/figure_data.h"
#include "output/site_pages.h"
#include "run/form1.h"

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

// "yyyyddd", as the archive names a day.
std::string radice_archivio(sys_days giorno) {
  const year_month_day d{giorno};
  char testo[32];
  std::snprintf(testo, sizeof testo, "%04d%03d", static_cast<int>(d.year()),
                static_cast<int>((giorno - sys_days{d.year() / January / 1}).count()) + 1);
  return testo;
}

// "yyyy/mm/", the folder of a day's pages under archive/.
std::string cartella_mese(year_month mese) {
  char testo[16];
  std::snprintf(testo, sizeof testo, "%04d/%02u/", static_cast<int>(mese.year()),
                static_cast<unsigned>(mese.month()));
  return testo;
}

// Writes a page of the site unless the page there already reads so: a page whose
// content did not change keeps its file, time and cached copies.
void scrivi_se_cambiata(Corsa& corsa, const std::string& path, const std::string& testo) {
  std::string attuale;
  const bool letta = esegui_passo([&] {
    const std::unique_ptr<TextFile> file = corsa.files().Open(path);
    while (!file->Eof() && attuale.size() <= testo.size()) attuale += file->LineInput() + "\n";
  });
  if (letta && attuale == testo) return;
  corsa.passo([&] { corsa.scrittore().Write(path, testo); });
}

}  // namespace

// The station's web site in the output directory: the archive's pages for the days from
// primo to ultimo and the archived days just before and after them, their months, the
// archive's index, and after a daily run index.html and site.css, each where its
// content changed. The files a day page shows are linked from the work directory's
// archive into archive/yyyy/mm/. Every other page is left as it is.
void Form1::scrivi_sito(sys_days primo, sys_days ultimo) {
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
  for (const auto& [data, giorno] : archivio) {
    if (giorno.gif) giorni.push_back(giorno);
  }
  const auto da = std::lower_bound(giorni.begin(), giorni.end(), primo,
                                   [](const auto& g, sys_days d) { return g.data < d; });
  const auto a = std::upper_bound(giorni.begin(), giorni.end(), ultimo,
                                  [](sys_days d, const auto& g) { return d < g.data; });
  const auto inizio = da == giorni.begin() ? da : da - 1;
  const auto fine = a == giorni.end() ? a : a + 1;

  const std::optional<std::string> stazione = corsa.stazione();
  const std::string radice = cartella_uscita + "archive/";
  std::set<year_month> mesi;
  for (auto g = inizio; g != fine; ++g) {
    const year_month_day d{g->data};
    const year_month mese = d.year() / d.month();
    const std::string cartella = radice + cartella_mese(mese);
    if (mesi.insert(mese).second) {
      for (const std::string& c : {radice, radice + cartella_mese(mese).substr(0, 5), cartella}) {
        corsa.passo([&] { corsa.directory().MkDir(c); });
      }
    }
    // The day's files and page, archive/yyyy/mm/dd.*.
    const std::string giorno = cartella + data_iso(g->data).substr(8, 2);
    const std::string stem = radice_archivio(g->data);
    corsa.passo([&] {
      corsa.scrittore().Link(cartella_lavoro + "previous_foF1_plots/" + stem + ".gif",
                             giorno + ".gif");
    });
    std::string csv;
    for (const auto& voce : {std::pair{g->csv, ".csv"}, {g->svg, ".svg"}}) {
      if (!voce.first) continue;
      const std::string estensione = voce.second;
      corsa.passo([&] {
        corsa.scrittore().Link(cartella_lavoro + "previous_foF1_data/" + stem + estensione,
                               giorno + estensione);
      });
    }
    if (g->csv) {
      esegui_passo([&] {
        const std::unique_ptr<TextFile> file =
            corsa.files().Open(cartella_lavoro + "previous_foF1_data/" + stem + ".csv");
        while (!file->Eof()) csv += file->LineInput() + "\n";
      });
    }
    const GiornoArchiviato* precedente = g == giorni.begin() ? nullptr : &*(g - 1);
    const GiornoArchiviato* successivo = g + 1 == giorni.end() ? nullptr : &*(g + 1);
    const std::string pagina = pagina_giorno(stazione, *g, csv, precedente, successivo);
    scrivi_se_cambiata(corsa, giorno + ".html", pagina);
  }
  for (const year_month& mese : mesi) {
    std::vector<GiornoArchiviato> del_mese;
    for (const GiornoArchiviato& g : giorni) {
      const year_month_day d{g.data};
      if (d.year() / d.month() == mese) del_mese.push_back(g);
    }
    const std::string pagina = pagina_mese(stazione, mese, del_mese);
    scrivi_se_cambiata(corsa, radice + cartella_mese(mese) + "index.html", pagina);
  }
  corsa.passo([&] { corsa.directory().MkDir(radice); });
  const std::string indice_archivio = pagina_archivio(stazione, giorni);
  scrivi_se_cambiata(corsa, radice + "index.html", indice_archivio);
  if (!corsa.pubblica()) return;
  std::vector<const RegistroFigura*> sei;
  for (const RegistroFigura& figura : corsa.figure()) {
    if (figura.slot > 0) sei.push_back(&figura);
  }
  const std::string indice = pagina_indice(stazione, corsa.adesso(), sei);
  scrivi_se_cambiata(corsa, cartella_uscita + "site.css", foglio_stile());
  corsa.passo([&] { corsa.scrittore().Write(cartella_uscita + "index.html", indice); });
}

}  // namespace fof1plot
