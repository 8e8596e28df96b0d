#include "output/site_pages.h"

#include <cstdio>
#include <map>

#include "canvas/svg_surface.h"
#include "output/figure_data.h"
#include "output/status_file.h"

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
                   const std::optional<std::string>& stazione) {
  const std::string nome = stazione ? EscapeXml(*stazione) : std::string("Ionospheric station");
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
         EscapeXml(titolo) + " – " + nome + "</title>\n<link rel=\"stylesheet\" href=\"" + radice +
         "site.css\">\n</head>\n<body>\n<header>\n<p class=\"station\">" + nome + "</p>\n<h1>" +
         EscapeXml(titolo) + "</h1>\n";
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

// The fields of one CSV row, with RFC 4180 quotes undone.
std::vector<std::string> campi_csv(const std::string& riga) {
  std::vector<std::string> campi(1);
  bool tra_virgolette = false;
  for (std::size_t i = 0; i < riga.size(); ++i) {
    const char c = riga[i];
    if (tra_virgolette && c == '"' && i + 1 < riga.size() && riga[i + 1] == '"') {
      campi.back() += '"';
      ++i;
    } else if (c == '"') {
      tra_virgolette = !tra_virgolette;
    } else if (c == ',' && !tra_virgolette) {
      campi.emplace_back();
    } else {
      campi.back() += c;
    }
  }
  return campi;
}

// A day's values as a table, from its CSV.
std::string tabella_valori(const std::string& csv) {
  std::string righe;
  std::size_t inizio_riga = csv.find('\n');
  while (inizio_riga != std::string::npos && inizio_riga + 1 < csv.size()) {
    const std::size_t fine_riga = csv.find('\n', inizio_riga + 1);
    const std::vector<std::string> campi = campi_csv(
        csv.substr(inizio_riga + 1,
                   (fine_riga == std::string::npos ? csv.size() : fine_riga) - inizio_riga - 1));
    inizio_riga = fine_riga;
    if (campi.size() != 3) continue;
    righe += "<tr><td>" + EscapeXml(campi[0].substr(11, 5)) + "</td><td>" + EscapeXml(campi[1]) +
             "</td><td>" + EscapeXml(campi[2]) + "</td></tr>\n";
  }
  if (righe.empty()) return "<p>No sample of this day was read.</p>\n";
  return "<table>\n<caption>Values of the day</caption>\n<thead><tr><th scope=\"col\">UT</th>"
         "<th scope=\"col\">foF1 (MHz)</th><th scope=\"col\">field as found</th></tr></thead>\n"
         "<tbody>\n" +
         righe + "</tbody>\n</table>\n";
}

}  // namespace

std::string pagina_indice(const std::optional<std::string>& stazione,
                          system_clock::time_point generata,
                          const std::vector<const RegistroFigura*>& giorni) {
  const std::string quando = iso_utc(generata);
  const std::string leggibile = quando.substr(0, 10) + " " + quando.substr(11, 5);
  std::string pagina = inizio("foF1, today and the five days before", "", stazione);
  pagina += "<p>Made <time datetime=\"" + quando + "\" id=\"generated\">" + leggibile +
            " UTC</time>.</p>\n<p class=\"stale\" id=\"stale\" hidden>Not updated since " +
            leggibile +
            " UTC</p>\n"
            "<script>\nvar made = Date.parse(document.getElementById('generated')"
            ".getAttribute('datetime'));\n"
            "if (Date.now() - made > 26 * 3600 * 1000) "
            "document.getElementById('stale').hidden = false;\n</script>\n"
            "<nav><a href=\"archive/index.html\">Archive of every day</a></nav>\n</header>\n"
            "<main>\n<div class=\"figures\">\n";
  for (auto giorno = giorni.rbegin(); giorno != giorni.rend(); ++giorno) {
    const RegistroFigura& f = **giorno;
    const std::string k = std::to_string(f.slot), data = data_iso(f.data);
    pagina += "<figure>\n<img src=\"plotfoF1" + k +
              ".svg\" width=\"286\" height=\"221\" "
              "alt=\"foF1 on " +
              data + "\">\n<figcaption><time datetime=\"" + data + "\">" + data +
              "</time>: " + std::to_string(f.conta(TipoCampo::kValore)) + " values, " +
              std::to_string(f.conta(TipoCampo::kNA)) + " N/A, " +
              std::to_string(f.conta(TipoCampo::kNO)) + " NO. <a href=\"archive/" +
              percorso_giorno(f.data) + ".html\">Values</a> <a href=\"plotfoF1" + k +
              ".csv\">CSV</a> <a href=\"plotfoF1" + k + ".gif\">GIF</a></figcaption>\n</figure>\n";
  }
  return pagina + "</div>\n" + legenda() + fine();
}

std::string pagina_archivio(const std::optional<std::string>& stazione,
                            const std::vector<GiornoArchiviato>& giorni) {
  std::map<int, std::map<unsigned, int>> conteggi;
  for (const GiornoArchiviato& g : giorni) {
    const year_month_day d{g.data};
    ++conteggi[static_cast<int>(d.year())][static_cast<unsigned>(d.month())];
  }
  std::string pagina = inizio("Archive", "../", stazione);
  pagina += "<nav><a href=\"../index.html\">Today's figures</a></nav>\n</header>\n<main>\n";
  for (auto anno = conteggi.rbegin(); anno != conteggi.rend(); ++anno) {
    pagina += "<h2>" + std::to_string(anno->first) + "</h2>\n<ul class=\"months\">\n";
    for (const auto& [mese, giorni_mese] : anno->second) {
      pagina += "<li><a href=\"" + std::to_string(anno->first) + "/" + due_cifre(mese) +
                "/index.html\">" + kNomiMesi[mese - 1] + "</a> (" + std::to_string(giorni_mese) +
                (giorni_mese == 1 ? " day)" : " days)") + "</li>\n";
    }
    pagina += "</ul>\n";
  }
  if (conteggi.empty()) pagina += "<p>No day is archived yet.</p>\n";
  return pagina + fine();
}

std::string pagina_mese(const std::optional<std::string>& stazione, year_month mese,
                        const std::vector<GiornoArchiviato>& giorni) {
  std::map<unsigned, const GiornoArchiviato*> per_giorno;
  for (const GiornoArchiviato& g : giorni)
    per_giorno[static_cast<unsigned>(year_month_day{g.data}.day())] = &g;
  std::string pagina = inizio(nome_mese(mese), "../../../", stazione);
  pagina +=
      "<nav><a href=\"../../index.html\">Archive</a> <a href=\"../../../index.html\">"
      "Today's figures</a></nav>\n</header>\n<main>\n<table class=\"calendar\">\n"
      "<caption>" +
      nome_mese(mese) + "</caption>\n<thead><tr>";
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

std::string pagina_giorno(const std::optional<std::string>& stazione,
                          const GiornoArchiviato& giorno, const std::string& csv,
                          const GiornoArchiviato* precedente, const GiornoArchiviato* successivo) {
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
  pagina += giorno.csv ? tabella_valori(csv)
                       : "<p>The values of this day's figure were not recorded.</p>\n";
  return pagina + fine();
}

std::string foglio_stile() {
  return R"(:root { color-scheme: dark; }
body { margin: 0 auto; max-width: 72rem; padding: 0.75rem; background: #111; color: #eee;
  font: 1rem/1.5 system-ui, sans-serif; }
a { color: #ffff80; }
h1 { font-size: 1.4rem; margin: 0.2rem 0; }
.station { margin: 0; color: #ffff80; font-weight: bold; }
.stale { background: #7a1d00; color: #fff; padding: 0.5rem; font-weight: bold; }
nav a { margin-right: 1rem; }
.figures { display: grid; grid-template-columns: repeat(auto-fill, minmax(18rem, 1fr));
  gap: 1rem; }
figure { margin: 0; }
figure img, figure object { width: 100%; height: auto; max-width: 36rem; display: block;
  background: #000; }
.legend { list-style: none; padding: 0; }
.legend svg { background: #000; vertical-align: middle; }
table { border-collapse: collapse; margin: 1rem 0; }
th, td { padding: 0.15rem 0.6rem; text-align: left; border-bottom: 1px solid #333; }
.calendar { width: 100%; table-layout: fixed; }
.calendar td { vertical-align: top; padding: 0.2rem; }
.calendar img { width: 100%; height: auto; display: block; }
.day { font-size: 0.85rem; }
.months { columns: 3 8rem; }
@media (max-width: 40rem) { .calendar th, .calendar td { padding: 0.05rem; font-size: 0.75rem; } }
)";
}

}  // namespace fof1plot
