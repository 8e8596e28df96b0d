#include "samples/sample_listing.h"

#include "samples/sample_names.h"

namespace fof1plot {
namespace {

// Kind 1 writes the hour as one letter, the others as two digits.
std::size_t lunghezza_ora(int tipo_stazione) { return tipo_stazione == 1 ? 1 : 2; }

bool cifra(char c) { return c >= '0' && c <= '9'; }

// The hour of an hour code, -1 when it is none of the kind's 24.
int ora_del_codice(int tipo_stazione, std::string_view codice) {
  if (tipo_stazione == 1) return codice[0] >= 'A' && codice[0] <= 'X' ? codice[0] - 'A' : -1;
  if (!cifra(codice[0]) || !cifra(codice[1])) return -1;
  const int ora = (codice[0] - '0') * 10 + (codice[1] - '0');
  return ora <= 23 ? ora : -1;
}

// The minute of a minute code "00" to "59", -1 otherwise.
int minuto_del_codice(std::string_view codice) {
  if (!cifra(codice[0]) || !cifra(codice[1]) || codice[0] > '5') return -1;
  return (codice[0] - '0') * 10 + (codice[1] - '0');
}

}  // namespace

void ElencoCampioni::prepara(const Tabella<std::string, 1, 6>& mese_anno,
                             const Tabella<std::string, 1, 6>& giorno_anno) {
  presenti_.reset();
  for (std::int16_t tipo = 1; tipo <= kTipi; ++tipo) {
    for (int k = 1; k <= kGiorni; ++k) {
      inizi_[static_cast<std::size_t>(tipo - 1)][static_cast<std::size_t>(k - 1)] =
          inizio_nome_campione(tipo, mese_anno(k), giorno_anno(k));
    }
  }
}

void ElencoCampioni::registra(std::string_view nome) {
  // The longest sample name has 23 characters.
  std::array<char, 24> maiuscolo;
  if (nome.size() >= maiuscolo.size()) return;
  for (std::size_t i = 0; i < nome.size(); ++i) {
    const char c = nome[i];
    maiuscolo[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  const std::string_view nome_maiuscolo(maiuscolo.data(), nome.size());
  for (std::int16_t tipo = 1; tipo <= kTipi; ++tipo) {
    const std::string_view finale = finale_nome_campione(tipo);
    const std::size_t coda = lunghezza_ora(tipo) + 2 + finale.size();
    for (int k = 1; k <= kGiorni; ++k) {
      const std::string& inizio =
          inizi_[static_cast<std::size_t>(tipo - 1)][static_cast<std::size_t>(k - 1)];
      if (nome_maiuscolo.size() != inizio.size() + coda ||
          nome_maiuscolo.substr(0, inizio.size()) != inizio) {
        continue;
      }
      std::string_view resto = nome_maiuscolo.substr(inizio.size());
      const int ora = ora_del_codice(tipo, resto);
      resto.remove_prefix(lunghezza_ora(tipo));
      const int minuto = minuto_del_codice(resto);
      if (ora >= 0 && minuto >= 0 && resto.substr(2) == finale) {
        presenti_.set(bit(tipo, k, ora, minuto));
      }
    }
  }
}

bool ElencoCampioni::contiene(int tipo_stazione, int indice_giorno, int ora, int minuto) const {
  if (tipo_stazione < 1 || tipo_stazione > kTipi || indice_giorno < 1 || indice_giorno > kGiorni) {
    return false;
  }
  return presenti_.test(bit(tipo_stazione, indice_giorno, ora, minuto));
}

std::size_t ElencoCampioni::bit(int tipo_stazione, int indice_giorno, int ora, int minuto) {
  return ((static_cast<std::size_t>(tipo_stazione - 1) * kGiorni +
           static_cast<std::size_t>(indice_giorno - 1)) *
              24 +
          static_cast<std::size_t>(ora)) *
             60 +
         static_cast<std::size_t>(minuto);
}

}  // namespace fof1plot
