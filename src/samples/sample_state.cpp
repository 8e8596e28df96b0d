#include "samples/sample_state.h"

#include <charconv>
#include <cstdio>
#include <string_view>

#include "platform/escapes.h"

namespace fof1plot {
namespace {

constexpr std::string_view kIntestazione = "fof1plot sample state 1";

const char* parola_lettura(LetturaCampione lettura) {
  switch (lettura) {
    case LetturaCampione::kLetto:
      return "read";
    case LetturaCampione::kIncompleto:
      return "incomplete";
    default:
      return "unreadable";
  }
}

std::string data_iso(std::chrono::sys_days giorno) {
  const std::chrono::year_month_day ymd{giorno};
  char testo[16];
  std::snprintf(testo, sizeof testo, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
  return testo;
}

std::string identita(const FileIdentity& id) {
  return std::to_string(id.device) + ' ' + std::to_string(id.inode) + ' ' +
         std::to_string(id.size) + ' ' + std::to_string(id.modified_ns) + ' ' +
         std::to_string(id.changed_ns);
}

// The words of a line, split at single blanks.
std::vector<std::string_view> parole(std::string_view riga) {
  std::vector<std::string_view> divise;
  for (std::size_t inizio = 0;;) {
    const std::size_t fine = riga.find(' ', inizio);
    divise.push_back(riga.substr(inizio, fine - inizio));
    if (fine == std::string_view::npos) return divise;
    inizio = fine + 1;
  }
}

template <typename Numero>
bool numero(std::string_view testo, Numero& n) {
  const char* fine = testo.data() + testo.size();
  const auto [ptr, ec] = std::from_chars(testo.data(), fine, n);
  return ec == std::errc() && ptr == fine && !testo.empty();
}

bool leggi_identita(const std::vector<std::string_view>& p, std::size_t da, FileIdentity& id) {
  return p.size() == da + 5 && numero(p[da], id.device) && numero(p[da + 1], id.inode) &&
         numero(p[da + 2], id.size) && numero(p[da + 3], id.modified_ns) &&
         numero(p[da + 4], id.changed_ns);
}

bool leggi_data(std::string_view testo, std::chrono::sys_days& giorno) {
  int anno = 0;
  unsigned mese = 0, di = 0;
  if (testo.size() != 10 || testo[4] != '-' || testo[7] != '-' ||
      !numero(testo.substr(0, 4), anno) || !numero(testo.substr(5, 2), mese) ||
      !numero(testo.substr(8, 2), di)) {
    return false;
  }
  const std::chrono::year_month_day ymd{std::chrono::year{anno}, std::chrono::month{mese},
                                        std::chrono::day{di}};
  if (!ymd.ok()) return false;
  giorno = ymd;
  return true;
}

bool leggi_testo(std::string_view campo, std::string& testo) {
  std::optional<std::string> letto = FromStateField(campo);
  if (!letto) return false;
  testo = std::move(*letto);
  return true;
}

// A sample line: its reading, day, hour, minute and, when read, its value field.
bool leggi_campione(const std::vector<std::string_view>& p, StatoCampioni::Campione& c) {
  if (p[0] == "read") {
    c.lettura = LetturaCampione::kLetto;
  } else if (p[0] == "incomplete") {
    c.lettura = LetturaCampione::kIncompleto;
  } else if (p[0] == "unreadable") {
    c.lettura = LetturaCampione::kIlleggibile;
  } else {
    return false;
  }
  const std::size_t parole_attese = c.lettura == LetturaCampione::kLetto ? 5 : 4;
  return p.size() == parole_attese && leggi_data(p[1], c.giorno) && p[2].size() == 2 &&
         p[3].size() == 2 && numero(p[2], c.ora) && numero(p[3], c.minuto) && c.ora <= 23 &&
         c.minuto <= 59 && (parole_attese == 4 || leggi_testo(p[4], c.campo));
}

}  // namespace

std::string testo_stato(const StatoCampioni& stato) {
  std::string testo(kIntestazione);
  testo += "\nsamples " + StateField(stato.cartella_dati) + "\ntoday " + data_iso(stato.oggi) +
           "\ndirectory " + identita(stato.cartella) + "\nstation " +
           StateField(stato.nome_stazione) + ' ' + identita(stato.stazione) + "\nline " +
           StateField(stato.riga_stazione) + '\n';
  for (const StatoCampioni::Campione& c : stato.campioni) {
    char ora[8];
    std::snprintf(ora, sizeof ora, " %02d %02d", c.ora, c.minuto);
    testo += parola_lettura(c.lettura) + (' ' + data_iso(c.giorno)) + ora;
    if (c.lettura == LetturaCampione::kLetto) testo += ' ' + StateField(c.campo);
    testo += '\n';
  }
  return testo + "end\n";
}

std::optional<StatoCampioni> leggi_stato(const std::vector<std::string>& righe) {
  // The header, five lines of the run, the samples, and "end", which a file cut short
  // lacks.
  if (righe.size() < 7 || righe[0] != kIntestazione || righe.back() != "end") return std::nullopt;
  StatoCampioni stato;
  const auto p1 = parole(righe[1]), p2 = parole(righe[2]), p3 = parole(righe[3]),
             p4 = parole(righe[4]), p5 = parole(righe[5]);
  if (p1.size() != 2 || p1[0] != "samples" || !leggi_testo(p1[1], stato.cartella_dati) ||
      p2.size() != 2 || p2[0] != "today" || !leggi_data(p2[1], stato.oggi) ||
      p3[0] != "directory" || !leggi_identita(p3, 1, stato.cartella) || p4.size() < 2 ||
      p4[0] != "station" || !leggi_testo(p4[1], stato.nome_stazione) ||
      !leggi_identita(p4, 2, stato.stazione) || p5.size() != 2 || p5[0] != "line" ||
      !leggi_testo(p5[1], stato.riga_stazione)) {
    return std::nullopt;
  }
  for (std::size_t i = 6; i + 1 < righe.size(); ++i) {
    if (!leggi_campione(parole(righe[i]), stato.campioni.emplace_back())) return std::nullopt;
  }
  return stato;
}

}  // namespace fof1plot
