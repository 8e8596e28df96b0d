#include "hapi/hapi_datasets.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "hapi/hapi_stream.h"
#include "hapi/hapi_time.h"
#include "platform/confined_files.h"
#include "platform/escapes.h"
#include "platform/failure.h"

namespace fof1plot {
namespace {

using namespace std::chrono;
using json = nlohmann::json;

bool nome_semplice(const std::string& nome) {
  return !nome.empty() && std::all_of(nome.begin(), nome.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '~' || c == '-';
  });
}

json numero(const char* nome, const char* descrizione) {
  return {{"name", nome},
          {"type", "double"},
          {"units", "MHz"},
          {"fill", kRiempimento},
          {"description", descrizione}};
}

// A station's own output directory, named by its parent and its name so that it is
// opened as a network's subdirectory is; the path itself is the operator's and may
// pass through links.
std::pair<std::string, std::string> genitore_e_nome(const std::string& sito) {
  char* reale = ::realpath(sito.c_str(), nullptr);
  if (reale == nullptr) throw Failure(sito, "cannot open", SystemReason(errno));
  std::string percorso = reale;
  std::free(reale);
  const std::size_t barra = percorso.rfind('/');
  if (barra == std::string::npos || barra + 1 == percorso.size()) {
    throw Failure(sito, "cannot open", "not a directory under another");
  }
  return {barra == 0 ? "/" : percorso.substr(0, barra), percorso.substr(barra + 1)};
}

}  // namespace

std::string testo_json(const json& valore, int rientro) {
  return valore.dump(rientro, ' ', false, json::error_handler_t::replace);
}

std::vector<DatasetHapi> elenco_dataset(const SorgenteHapi& sorgente) {
  std::vector<DatasetHapi> elenco;
  const auto aggiungi = [&](const std::string& cartella) {
    const std::string prefisso = cartella.empty() ? "" : cartella + "/";
    elenco.push_back({prefisso + "foF1", TipoDataset::kValori, cartella});
    elenco.push_back({prefisso + "foF1_forecast", TipoDataset::kPrevisione, cartella});
  };
  if (sorgente.rete.empty()) {
    aggiungi("");
    return elenco;
  }
  const ConfinedDirectory rete(sorgente.rete);
  for (const DirectoryEntry& voce : rete.List()) {
    if (voce.directory && nome_semplice(voce.name)) aggiungi(voce.name);
  }
  return elenco;
}

StazioneHapi apri_stazione(const SorgenteHapi& sorgente, const DatasetHapi& dataset,
                           system_clock::time_point adesso) {
  const auto [genitore, nome] = sorgente.rete.empty() ? genitore_e_nome(sorgente.sito)
                                                      : std::pair{sorgente.rete, dataset.cartella};
  const ConfinedDirectory cartella_genitore(genitore);
  StazioneHapi stazione;
  stazione.stato = leggi_stazione(cartella_genitore, nome, true, adesso);
  stazione.archivio = std::make_unique<ArchivioStazione>(
      std::make_unique<ConfinedDirectory>(cartella_genitore, nome));
  return stazione;
}

std::optional<std::pair<sys_days, sys_days>> intervallo_dataset(StazioneHapi& stazione,
                                                                TipoDataset tipo) {
  if (tipo == TipoDataset::kValori) {
    const auto giorni = stazione.archivio->giorni_con_valori();
    if (!giorni) return std::nullopt;
    return std::pair{giorni->first, giorni->second + days{1}};
  }
  const auto mesi = stazione.archivio->mesi_orari();
  if (!mesi) return std::nullopt;
  return std::pair{sys_days{mesi->first / 1}, sys_days{(mesi->second + months{1}) / 1}};
}

const json& parametri_dataset(TipoDataset tipo) {
  static const json tempo = {
      {"name", "Time"}, {"type", "isotime"}, {"units", "UTC"}, {"fill", nullptr}, {"length", 20}};
  static const json previsione =
      numero("foF1_forecast",
             "the month's forecast of foF1 at the time, linear between its hourly values");
  static const json valori = {
      tempo,
      numero("foF1",
             "foF1 as the automatic scaling of the sounding gave it; fill where it gave no "
             "value of the dd.d form"),
      {{"name", "field"},
       {"type", "string"},
       {"length", kLunghezzaCampo},
       {"units", nullptr},
       {"fill", nullptr},
       {"description",
        "the sounding's value field as found: dd.d, N/A (no value), NO, or another "
        "text"}},
      previsione,
      numero("foF1_deviation", "foF1 less its forecast")};
  static const json orari = {tempo, numero("foF1_forecast",
                                           "the month's forecast of foF1 at the "
                                           "hour, the same for each of its days")};
  return tipo == TipoDataset::kValori ? valori : orari;
}

std::variant<std::vector<std::size_t>, int> scegli_parametri(TipoDataset tipo,
                                                             const std::string& elenco) {
  const json& parametri = parametri_dataset(tipo);
  std::vector<std::size_t> scelti = {0};
  if (elenco.empty()) {
    for (std::size_t i = 1; i < parametri.size(); ++i) scelti.push_back(i);
    return scelti;
  }
  std::size_t ultimo = 0;
  bool primo = true;
  for (std::size_t inizio = 0; inizio <= elenco.size();) {
    const std::size_t fine = std::min(elenco.find(',', inizio), elenco.size());
    const std::string nome = elenco.substr(inizio, fine - inizio);
    inizio = fine + 1;
    const auto trovato = std::find_if(parametri.begin(), parametri.end(),
                                      [&](const json& p) { return p["name"] == nome; });
    if (trovato == parametri.end()) return 1407;
    const auto indice = static_cast<std::size_t>(trovato - parametri.begin());
    // Time may be named, first; any other name comes after the one before it.
    if (!primo && indice <= ultimo) return 1411;
    primo = false;
    ultimo = indice;
    if (indice != 0) scelti.push_back(indice);
  }
  return scelti;
}

json info_dataset(const DatasetHapi& dataset, const StazioneHapi& stazione,
                  std::pair<sys_days, sys_days> intervallo,
                  const std::vector<std::size_t>& scelti) {
  const bool leggibile = stazione.stato.stato != StatoStazione::kIlleggibile;
  const std::string nome = leggibile ? stazione.stato.nome : dataset.cartella;
  json info = {{"startDate", tempo_hapi(sys_seconds{intervallo.first})},
               {"stopDate", tempo_hapi(sys_seconds{intervallo.second})}};
  json parametri = json::array();
  for (const std::size_t i : scelti) parametri.push_back(parametri_dataset(dataset.tipo)[i]);
  info["parameters"] = std::move(parametri);
  const std::string dove = nome.empty() ? std::string("the station") : ValidUtf8(nome);
  if (dataset.tipo == TipoDataset::kValori) {
    info["description"] = "foF1, the critical frequency of the ionosphere's F1 layer, at " + dove +
                          ": one record per sounding, as the station's automatic ionogram "
                          "scaling gave it, beside the month's forecast at its time.";
    info["timeStampLocation"] = "begin";
    if (leggibile && stazione.stato.fresca.intervallo_secondi) {
      info["cadence"] = "PT" + std::to_string(*stazione.stato.fresca.intervallo_secondi) + "S";
    }
  } else {
    info["description"] = "The month's forecast of foF1 at " + dove +
                          " at each whole hour, as the station's figures draw it, the same for "
                          "every day of the month; the months the station's archive has "
                          "statistics of.";
    info["cadence"] = "PT1H";
  }
  if (leggibile && stazione.stato.descrizione) {
    const DescrizioneStazione& d = *stazione.stato.descrizione;
    if (d.latitudine && d.longitudine) {
      info["geoLocation"] = d.quota ? json::array({*d.longitudine, *d.latitudine, *d.quota})
                                    : json::array({*d.longitudine, *d.latitudine});
    }
    if (!d.contatto.empty()) info["contact"] = ValidUtf8(d.contatto);
    if (d.licenza.rfind("https://", 0) == 0 || d.licenza.rfind("http://", 0) == 0) {
      info["licenseURL"] = ValidUtf8(d.licenza);
    }
    info["x_station"] = json_descrizione(d);
  }
  return info;
}

}  // namespace fof1plot
