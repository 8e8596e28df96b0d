#include "samples/sample_listing.h"

#include <algorithm>

#include "samples/sample_names.h"

namespace fof1plot {
namespace {

// Kind 1 writes the hour as one letter, the others as two digits.
std::size_t lunghezza_ora(int tipo_stazione) { return tipo_stazione == 1 ? 1 : 2; }
// Kind 1 writes the year's last two digits, the others all four.
std::size_t lunghezza_anno(int tipo_stazione) { return tipo_stazione == 1 ? 2 : 4; }

// A day as year * 1000 + day of year.
int chiave_del_giorno(std::chrono::sys_days giorno) {
  using namespace std::chrono;
  const year anno = year_month_day{giorno}.year();
  return static_cast<int>(anno) * 1000 +
         static_cast<int>((giorno - sys_days{anno / 1 / 1}).count()) + 1;
}

bool cifra(char c) { return c >= '0' && c <= '9'; }

// The number written by a run of digits, -1 when a character is not a digit.
int numero(std::string_view cifre) {
  int n = 0;
  for (const char c : cifre) {
    if (!cifra(c)) return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

// The hour of an hour code, -1 when it is none of the kind's 24.
int ora_del_codice(int tipo_stazione, std::string_view codice) {
  if (tipo_stazione == 1) return codice[0] >= 'A' && codice[0] <= 'X' ? codice[0] - 'A' : -1;
  const int ora = numero(codice.substr(0, 2));
  return ora <= 23 ? ora : -1;
}

// The minute of a minute code "00" to "59", -1 otherwise.
int minuto_del_codice(std::string_view codice) {
  const int minuto = numero(codice.substr(0, 2));
  return minuto <= 59 ? minuto : -1;
}

// The length of a kind's sample names, index 1 to 6.
const std::array<std::size_t, 7>& lunghezze_nome() {
  static const std::array<std::size_t, 7> kLunghezze = [] {
    std::array<std::size_t, 7> lunghezze{};
    for (std::int16_t tipo = 1; tipo <= 6; ++tipo) {
      lunghezze[static_cast<std::size_t>(tipo)] = prefisso_stazione(tipo).size() +
                                                  lunghezza_anno(tipo) + 3 + lunghezza_ora(tipo) +
                                                  2 + finale_nome_campione(tipo).size();
    }
    return lunghezze;
  }();
  return kLunghezze;
}

}  // namespace

void ElencoCampioni::prepara(std::chrono::sys_days primo, std::chrono::sys_days ultimo) {
  primo_ = primo;
  ultimo_ = ultimo;
  anno_primo_ = static_cast<int>(std::chrono::year_month_day{primo}.year());
  chiave_primo_ = chiave_del_giorno(primo);
  chiave_ultimo_ = chiave_del_giorno(ultimo);
  for (auto& bits : presenti_) bits.clear();
}

bool ElencoCampioni::giorno_del_nome(int tipo_stazione, std::string_view anno,
                                     std::string_view giorno, std::chrono::sys_days& data) const {
  using namespace std::chrono;
  int numero_anno = numero(anno);
  const int numero_giorno = numero(giorno);
  if (numero_anno < 0 || numero_giorno < 1) return false;
  if (tipo_stazione == 1) {
    // The range spans less than a century, so two digits name one of its years.
    numero_anno = anno_primo_ + ((numero_anno - anno_primo_ % 100) % 100 + 100) % 100;
  }
  const int chiave = numero_anno * 1000 + numero_giorno;
  if (chiave < chiave_primo_ || chiave > chiave_ultimo_) return false;
  const year y{numero_anno};
  data = sys_days{y / January / 1} + days{numero_giorno - 1};
  return year_month_day{data}.year() == y && data >= primo_ && data <= ultimo_;
}

void ElencoCampioni::registra(std::string_view nome) {
  // A large directory is mostly names of one kind, or no sample's: the length tells most.
  const auto& lunghezze = lunghezze_nome();
  if (std::find(lunghezze.begin() + 1, lunghezze.end(), nome.size()) == lunghezze.end()) return;
  std::array<char, 24> maiuscolo;
  if (nome.size() >= maiuscolo.size()) return;
  for (std::size_t i = 0; i < nome.size(); ++i) {
    const char c = nome[i];
    maiuscolo[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  const std::string_view nome_maiuscolo(maiuscolo.data(), nome.size());
  for (std::int16_t tipo = 1; tipo <= kTipi; ++tipo) {
    if (nome.size() != lunghezze[static_cast<std::size_t>(tipo)]) continue;
    const std::string_view prefisso = prefisso_stazione(tipo);
    if (!nome_maiuscolo.starts_with(prefisso) ||
        !nome_maiuscolo.ends_with(finale_nome_campione(tipo))) {
      continue;
    }
    const std::size_t anno = lunghezza_anno(tipo);
    std::string_view resto = nome_maiuscolo.substr(prefisso.size());
    std::chrono::sys_days data;
    if (!giorno_del_nome(tipo, resto.substr(0, anno), resto.substr(anno, 3), data)) continue;
    resto.remove_prefix(anno + 3);
    const int ora = ora_del_codice(tipo, resto);
    const int minuto = minuto_del_codice(resto.substr(lunghezza_ora(tipo)));
    if (ora < 0 || minuto < 0) continue;
    segna(tipo, data, ora, minuto);
  }
}

void ElencoCampioni::segna(int tipo_stazione, std::chrono::sys_days giorno, int ora, int minuto) {
  if (tipo_stazione < 1 || tipo_stazione > kTipi || giorno < primo_ || giorno > ultimo_) return;
  auto& bits = presenti_[static_cast<std::size_t>(tipo_stazione - 1)];
  if (bits.empty()) bits.resize(bit(ultimo_, 23, 59) / 64 + 1);
  const std::size_t b = bit(giorno, ora, minuto);
  bits[b / 64] |= std::uint64_t{1} << (b % 64);
}

bool ElencoCampioni::contiene(int tipo_stazione, std::chrono::sys_days giorno, int ora,
                              int minuto) const {
  if (tipo_stazione < 1 || tipo_stazione > kTipi || giorno < primo_ || giorno > ultimo_) {
    return false;
  }
  const auto& bits = presenti_[static_cast<std::size_t>(tipo_stazione - 1)];
  if (bits.empty()) return false;
  const std::size_t b = bit(giorno, ora, minuto);
  return (bits[b / 64] >> (b % 64)) & 1;
}

std::size_t ElencoCampioni::bit(std::chrono::sys_days giorno, int ora, int minuto) const {
  return (static_cast<std::size_t>((giorno - primo_).count()) * 24 +
          static_cast<std::size_t>(ora)) *
             60 +
         static_cast<std::size_t>(minuto);
}

}  // namespace fof1plot
