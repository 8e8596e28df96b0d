#include "run/station_description.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/escapes.h"
#include "platform/text.h"
#include "run/corsa.h"

namespace fof1plot {
namespace {

// A number from `minimo` to `massimo`, or what is wrong with it.
std::optional<std::string> leggi_numero(const std::string& chiave, const std::string& testo,
                                        double minimo, double massimo,
                                        std::optional<double>& numero) {
  char* fine = nullptr;
  const double valore = std::strtod(testo.c_str(), &fine);
  if (testo.empty() || fine != testo.c_str() + testo.size() || !std::isfinite(valore)) {
    return chiave + " \"" + testo + "\" is not a number";
  }
  if (valore < minimo || valore > massimo) {
    char limiti[64];
    std::snprintf(limiti, sizeof limiti, " is not between %g and %g", minimo, massimo);
    return chiave + " " + testo + limiti;
  }
  numero = valore;
  return std::nullopt;
}

bool codice_ursi(const std::string& testo) {
  if (testo.size() != 5) return false;
  for (const char c : testo) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

// One "key = value" line into the description; what is wrong with it, if anything.
std::optional<std::string> leggi_riga(const std::string& riga, DescrizioneStazione& d) {
  const std::size_t uguale = riga.find('=');
  if (uguale == std::string::npos) return std::string("not \"key = value\"");
  const std::string chiave = Trim(riga.substr(0, uguale));
  const std::string valore = Trim(riga.substr(uguale + 1));
  if (ValidUtf8(valore) != valore) return chiave + " is not UTF-8 text";
  if (chiave == "ursi_code") {
    if (!codice_ursi(valore)) return "ursi_code \"" + valore + "\" is not five capitals or digits";
    d.ursi = valore;
  } else if (chiave == "latitude") {
    return leggi_numero(chiave, valore, -90, 90, d.latitudine);
  } else if (chiave == "longitude") {
    return leggi_numero(chiave, valore, -180, 180, d.longitudine);
  } else if (chiave == "elevation_m") {
    return leggi_numero(chiave, valore, -500, 9000, d.quota);
  } else {
    std::string* testo = chiave == "name"          ? &d.nome
                         : chiave == "institution" ? &d.istituzione
                         : chiave == "licence"     ? &d.licenza
                         : chiave == "contact"     ? &d.contatto
                                                   : nullptr;
    if (testo == nullptr) return "unknown key \"" + chiave + "\"";
    if (valore.size() > kMassimoTestoDescrizione) {
      return chiave + " is longer than " + std::to_string(kMassimoTestoDescrizione) + " bytes";
    }
    *testo = valore;
  }
  return std::nullopt;
}

std::string gradi(double valore, char positivo, char negativo) {
  char testo[32];
  std::snprintf(testo, sizeof testo, "%.2f\xC2\xB0 %c", std::fabs(valore),
                valore < 0 ? negativo : positivo);
  return testo;
}

}  // namespace

std::variant<DescrizioneStazione, std::string> leggi_descrizione(
    const std::vector<std::string>& righe) {
  DescrizioneStazione d;
  for (std::size_t n = 0; n < righe.size(); ++n) {
    const std::string riga = Trim(righe[n]);
    if (riga.empty() || riga[0] == '#') continue;
    if (const auto errore = leggi_riga(riga, d))
      return "line " + std::to_string(n + 1) + ": " + *errore;
  }
  return d;
}

void Corsa::leggi_descrizione(const std::string& path) {
  std::optional<std::vector<std::string>> righe;
  try {
    righe = TryReadLines(files_, path);
  } catch (const Failure& guasto) {
    avvisa(std::string(guasto.what()) + "; the run goes on without the station's description");
    return;
  }
  if (!righe) return;
  auto letta = fof1plot::leggi_descrizione(*righe);
  if (auto* errore = std::get_if<std::string>(&letta)) {
    avvisa(path + ": " + *errore + "; the run goes on without the station's description");
    return;
  }
  descrizione_ = std::get<DescrizioneStazione>(std::move(letta));
}

std::string parole_descrizione(const DescrizioneStazione& d) {
  std::vector<std::string> parti;
  if (!d.ursi.empty()) parti.push_back(d.ursi);
  if (!d.nome.empty()) parti.push_back(d.nome);
  if (d.latitudine && d.longitudine) {
    std::string luogo = gradi(*d.latitudine, 'N', 'S') + ", " + gradi(*d.longitudine, 'E', 'W');
    if (d.quota) luogo += ", " + std::to_string(static_cast<long>(std::lround(*d.quota))) + " m";
    parti.push_back(luogo);
  }
  if (!d.istituzione.empty()) parti.push_back(d.istituzione);
  if (!d.licenza.empty()) parti.push_back("licence " + d.licenza);
  if (!d.contatto.empty()) parti.push_back("contact " + d.contatto);
  std::string testo;
  for (const std::string& p : parti) testo += (testo.empty() ? "" : " \xC2\xB7 ") + p;
  return testo;
}

nlohmann::json json_descrizione(const std::optional<DescrizioneStazione>& d) {
  using nlohmann::json;
  if (!d) return nullptr;
  const auto testo = [](const std::string& t) { return t.empty() ? json(nullptr) : json(t); };
  const auto numero = [](const std::optional<double>& n) { return n ? json(*n) : json(nullptr); };
  return {{"ursi_code", testo(d->ursi)},       {"name", testo(d->nome)},
          {"latitude", numero(d->latitudine)}, {"longitude", numero(d->longitudine)},
          {"elevation_m", numero(d->quota)},   {"institution", testo(d->istituzione)},
          {"licence", testo(d->licenza)},      {"contact", testo(d->contatto)}};
}

}  // namespace fof1plot
