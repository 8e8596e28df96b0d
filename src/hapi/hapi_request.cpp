#include "hapi/hapi_request.h"

#include <initializer_list>
#include <optional>

namespace fof1plot {
namespace {

// The request parameters each endpoint takes.
const std::initializer_list<const char*>* voci_ammesse(std::string_view endpoint) {
  static const std::initializer_list<const char*> nessuna = {};
  static const std::initializer_list<const char*> catalogo = {"depth", "resolve_references"};
  static const std::initializer_list<const char*> info = {"dataset", "parameters",
                                                          "resolve_references"};
  static const std::initializer_list<const char*> dati = {"dataset",    "start",   "stop",
                                                          "parameters", "include", "format"};
  if (endpoint == "capabilities" || endpoint == "about") return &nessuna;
  if (endpoint == "catalog") return &catalogo;
  if (endpoint == "info") return &info;
  if (endpoint == "data") return &dati;
  return nullptr;
}

std::string nome_hapi3(const std::string& nome) {
  if (nome == "id") return "dataset";
  if (nome == "time.min") return "start";
  if (nome == "time.max") return "stop";
  return nome;
}

int cifra_esadecimale(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// %HH escapes undone; a '+' stays a '+', as dataset names may hold one. None for a
// malformed escape.
std::optional<std::string> decodifica(std::string_view testo) {
  std::string chiaro;
  for (std::size_t i = 0; i < testo.size(); ++i) {
    if (testo[i] != '%') {
      chiaro += testo[i];
      continue;
    }
    if (i + 2 >= testo.size()) return std::nullopt;
    const int alta = cifra_esadecimale(testo[i + 1]), bassa = cifra_esadecimale(testo[i + 2]);
    if (alta < 0 || bassa < 0) return std::nullopt;
    chiaro += static_cast<char>(alta * 16 + bassa);
    i += 2;
  }
  return chiaro;
}

}  // namespace

std::string RichiestaHapi::voce(const std::string& nome) const {
  const auto trovata = voci.find(nome);
  return trovata == voci.end() ? std::string() : trovata->second;
}

std::variant<RichiestaHapi, int> leggi_richiesta(std::string_view percorso,
                                                 std::string_view query) {
  RichiestaHapi richiesta;
  if (percorso.empty() || percorso[0] != '/') return 1400;
  richiesta.endpoint = std::string(percorso.substr(1));
  const auto* ammesse = voci_ammesse(richiesta.endpoint);
  if (ammesse == nullptr) return 1400;
  while (!query.empty()) {
    const std::size_t fine = query.find('&');
    const std::string_view coppia = query.substr(0, fine);
    query = fine == std::string_view::npos ? std::string_view() : query.substr(fine + 1);
    if (coppia.empty()) continue;
    const std::size_t uguale = coppia.find('=');
    const auto nome = decodifica(coppia.substr(0, uguale));
    const auto valore = decodifica(uguale == std::string_view::npos ? std::string_view()
                                                                    : coppia.substr(uguale + 1));
    if (!nome || !valore) return 1400;
    const std::string hapi3 = nome_hapi3(*nome);
    bool ammessa = false;
    for (const char* voce : *ammesse) ammessa |= hapi3 == voce;
    if (!ammessa) return 1401;
    if (!richiesta.voci.emplace(hapi3, *valore).second) return 1400;
  }
  return richiesta;
}

}  // namespace fof1plot
