#include "hapi/station_archive.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace fof1plot {
namespace {

using namespace std::chrono;

std::string due_cifre(unsigned n) {
  char testo[8];
  std::snprintf(testo, sizeof testo, "%02u", n % 100);
  return testo;
}

// The names of the subdirectories that are numbers of `cifre` digits from `minimo` to
// `massimo`, as numbers, ascending.
std::vector<int> numeri(const ConfinedDirectory& cartella, std::size_t cifre, int minimo,
                        int massimo) {
  std::vector<int> trovati;
  for (const DirectoryEntry& voce : cartella.List()) {
    if (!voce.directory || voce.name.size() != cifre ||
        !std::all_of(voce.name.begin(), voce.name.end(),
                     [](char c) { return c >= '0' && c <= '9'; })) {
      continue;
    }
    const int n = std::stoi(voce.name);
    if (n >= minimo && n <= massimo) trovati.push_back(n);
  }
  return trovati;
}

// The archive's months, in order, from the first when `dal_primo`, else from the last,
// each handed to `prova` until it gives a result.
template <typename Esito, typename Prova>
std::optional<Esito> cerca_mesi(const ConfinedDirectory& archivio, bool dal_primo, Prova prova) {
  std::vector<int> anni = numeri(archivio, 4, 1, 9999);
  if (!dal_primo) std::reverse(anni.begin(), anni.end());
  for (const int anno : anni) {
    const ConfinedDirectory cartella_anno(archivio, std::to_string(anno));
    std::vector<int> mesi = numeri(cartella_anno, 2, 1, 12);
    if (!dal_primo) std::reverse(mesi.begin(), mesi.end());
    for (const int mese : mesi) {
      const ConfinedDirectory cartella(cartella_anno, due_cifre(static_cast<unsigned>(mese)));
      const year_month ym = year{anno} / month{static_cast<unsigned>(mese)};
      if (const std::optional<Esito> esito = prova(cartella, ym)) return esito;
    }
  }
  return std::nullopt;
}

// The first or the last day of a month's directory that has a CSV.
std::optional<sys_days> giorno_estremo(const ConfinedDirectory& cartella, year_month ym,
                                       bool primo) {
  const unsigned ultimo = static_cast<unsigned>((ym / last).day());
  for (unsigned i = 1; i <= ultimo; ++i) {
    const unsigned g = primo ? i : ultimo + 1 - i;
    if (cartella.Holds(due_cifre(g) + ".csv")) return sys_days{ym / day{g}};
  }
  return std::nullopt;
}

// The day "yyyy-mm-dd" at the start of a text; none when it does not start so.
std::optional<sys_days> giorno_del_testo(const std::string& testo) {
  int a = 0;
  unsigned m = 0, g = 0;
  char fine = 0;
  if (testo.size() < 11 || std::sscanf(testo.c_str(), "%4d-%2u-%2u%c", &a, &m, &g, &fine) != 4 ||
      fine != 'T') {
    return std::nullopt;
  }
  const year_month_day data = year{a} / month{m} / day{g};
  if (!data.ok()) return std::nullopt;
  return sys_days{data};
}

}  // namespace

ArchivioStazione::ArchivioStazione(std::unique_ptr<ConfinedDirectory> cartella)
    : cartella_(std::move(cartella)) {
  if (cartella_->HoldsDirectory("archive")) {
    archivio_ = std::make_unique<ConfinedDirectory>(*cartella_, "archive");
  }
}

std::optional<std::pair<sys_days, sys_days>> ArchivioStazione::giorni_con_valori() {
  std::optional<sys_days> primo, ultimo;
  if (archivio_ != nullptr) {
    primo = cerca_mesi<sys_days>(*archivio_, true, [](const ConfinedDirectory& c, year_month ym) {
      return giorno_estremo(c, ym, true);
    });
    ultimo = cerca_mesi<sys_days>(*archivio_, false, [](const ConfinedDirectory& c, year_month ym) {
      return giorno_estremo(c, ym, false);
    });
  }
  if (const auto oggi = pubblicato().first) {
    primo = primo ? std::min(*primo, *oggi) : *oggi;
    ultimo = ultimo ? std::max(*ultimo, *oggi) : *oggi;
  }
  if (!primo) return std::nullopt;
  return std::pair{*primo, *ultimo};
}

std::optional<std::pair<year_month, year_month>> ArchivioStazione::mesi_orari() {
  if (archivio_ == nullptr) return std::nullopt;
  const auto con_orario = [](const ConfinedDirectory& c, year_month ym) {
    return c.Holds("hourly.csv") ? std::optional<year_month>(ym) : std::nullopt;
  };
  const auto primo = cerca_mesi<year_month>(*archivio_, true, con_orario);
  if (!primo) return std::nullopt;
  return std::pair{*primo, *cerca_mesi<year_month>(*archivio_, false, con_orario)};
}

const ConfinedDirectory* ArchivioStazione::cartella_mese(year_month mese) {
  if (mese_aperto_ == mese) return cartella_mese_.get();
  mese_aperto_ = mese;
  cartella_mese_.reset();
  const std::string anno = std::to_string(static_cast<int>(mese.year()));
  if (archivio_ == nullptr || anno.size() != 4 || !archivio_->HoldsDirectory(anno)) return nullptr;
  const ConfinedDirectory cartella_anno(*archivio_, anno);
  const std::string nome_mese = due_cifre(static_cast<unsigned>(mese.month()));
  if (!cartella_anno.HoldsDirectory(nome_mese)) return nullptr;
  cartella_mese_ = std::make_unique<ConfinedDirectory>(cartella_anno, nome_mese);
  return cartella_mese_.get();
}

const std::pair<std::optional<sys_days>, std::string>& ArchivioStazione::pubblicato() {
  if (!pubblicato_) {
    pubblicato_.emplace();
    if (cartella_->Holds("plotfoF16.csv")) {
      pubblicato_->second = cartella_->Read("plotfoF16.csv", kMassimoCsvGiorno);
      const std::size_t riga = pubblicato_->second.find('\n');
      if (riga != std::string::npos) {
        pubblicato_->first = giorno_del_testo(pubblicato_->second.substr(riga + 1, 11));
      }
    }
  }
  return *pubblicato_;
}

std::string ArchivioStazione::csv_del_giorno(sys_days giorno) {
  if (pubblicato().first == giorno) return pubblicato().second;
  const ConfinedDirectory* cartella =
      cartella_mese(year_month_day{giorno}.year() / year_month_day{giorno}.month());
  const std::string nome = due_cifre(static_cast<unsigned>(year_month_day{giorno}.day())) + ".csv";
  if (cartella == nullptr || !cartella->Holds(nome)) return {};
  return cartella->Read(nome, kMassimoCsvGiorno);
}

std::string ArchivioStazione::orario_del_mese(year_month mese) {
  const ConfinedDirectory* cartella = cartella_mese(mese);
  if (cartella == nullptr || !cartella->Holds("hourly.csv")) return {};
  return cartella->Read("hourly.csv", kMassimoCsvGiorno);
}

}  // namespace fof1plot
