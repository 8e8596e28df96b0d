#include "hapi/hapi_server.h"

#include <optional>
#include <variant>

#include "hapi/hapi_data.h"
#include "hapi/hapi_request.h"
#include "hapi/hapi_status.h"
#include "hapi/hapi_stream.h"
#include "hapi/hapi_time.h"
#include "platform/escapes.h"
#include "platform/failure.h"

namespace fof1plot {
namespace {

using namespace std::chrono;
using json = nlohmann::json;

// A request refused or failed: its status, with a detail of the server's own words.
struct Rifiuto {
  int codice;
  std::string dettaglio;
};

// A failure after a data stream's first rows went out: the stream is cut short, which a
// client takes for a server's error.
struct Troncato {
  std::string motivo;
};

void rispondi_json(std::FILE* uscita, bool testa, json risposta) {
  const StatoHapi ok = stato_hapi(1200);
  risposta["HAPI"] = kVersioneHapi;
  risposta["status"] = {{"code", ok.codice}, {"message", ok.messaggio}};
  scrivi_intestazioni_cgi(uscita, riga_stato_http(ok), "application/json");
  if (!testa) std::fputs((testo_json(risposta) + "\n").c_str(), uscita);
}

const DatasetHapi& trova_dataset(const std::vector<DatasetHapi>& elenco, const std::string& id) {
  for (const DatasetHapi& dataset : elenco) {
    if (dataset.id == id) return dataset;
  }
  throw Rifiuto{1406, {}};
}

json about(const ServerHapi& server, system_clock::time_point adesso) {
  std::string nome, codice, contatto = server.contatto, titolo = server.titolo;
  if (server.sorgente.rete.empty()) {
    const StazioneHapi stazione = apri_stazione(server.sorgente, {}, adesso);
    if (stazione.stato.stato != StatoStazione::kIlleggibile) nome = stazione.stato.nome;
    if (const auto& descrizione = stazione.stato.descrizione) {
      if (contatto.empty()) contatto = descrizione->contatto;
      codice = descrizione->ursi;
    }
    if (titolo.empty()) titolo = "foF1 at " + (nome.empty() ? "the station" : nome);
  } else {
    std::string rete = server.sorgente.rete;
    while (rete.size() > 1 && rete.back() == '/') rete.pop_back();
    nome = rete.substr(rete.rfind('/') + 1);
    if (titolo.empty()) titolo = "foF1 of the network " + nome;
  }
  return {{"id", ValidUtf8(!server.id.empty() ? server.id
                                              : "fof1plot/" + (codice.empty() ? nome : codice))},
          {"title", ValidUtf8(titolo)},
          {"contact", ValidUtf8(contatto.empty() ? "the station's operator" : contatto)},
          {"description",
           "foF1, the critical frequency of the ionosphere's F1 layer, as the automatic ionogram "
           "scaling gave it at each sounding, and the month's forecast, from the archive fof1plot "
           "publishes."}};
}

struct Dataset {
  const DatasetHapi* dataset;
  StazioneHapi stazione;
  std::pair<sys_days, sys_days> intervallo;
};

Dataset apri_dataset(const ServerHapi& server, const std::vector<DatasetHapi>& elenco,
                     const std::string& id, system_clock::time_point adesso) {
  const DatasetHapi& dataset = trova_dataset(elenco, id);
  StazioneHapi stazione = apri_stazione(server.sorgente, dataset, adesso);
  const auto intervallo = intervallo_dataset(stazione, dataset.tipo);
  if (!intervallo) throw Rifiuto{1406, {}};
  return {&dataset, std::move(stazione), *intervallo};
}

std::vector<std::size_t> parametri_scelti(TipoDataset tipo, const RichiestaHapi& richiesta) {
  const auto scelti = scegli_parametri(tipo, richiesta.voce("parameters"));
  if (const int* codice = std::get_if<int>(&scelti)) throw Rifiuto{*codice, {}};
  return std::get<std::vector<std::size_t>>(scelti);
}

json catalogo(const ServerHapi& server, const RichiestaHapi& richiesta,
              system_clock::time_point adesso) {
  const std::string profondita = richiesta.voce("depth");
  if (richiesta.ha("depth") && profondita != "dataset" && profondita != "all") {
    throw Rifiuto{1413, {}};
  }
  json elenco = json::array();
  const std::vector<DatasetHapi> datasets = elenco_dataset(server.sorgente);
  // A station's datasets are next to each other: it is opened and read once for them.
  std::optional<StazioneHapi> stazione;
  for (std::size_t i = 0; i < datasets.size(); ++i) {
    const DatasetHapi& dataset = datasets[i];
    if (i == 0 || dataset.cartella != datasets[i - 1].cartella) {
      stazione = apri_stazione(server.sorgente, dataset, adesso);
    }
    const auto intervallo = intervallo_dataset(*stazione, dataset.tipo);
    if (!intervallo) continue;
    json voce = {{"id", ValidUtf8(dataset.id)}};
    if (profondita == "all") {
      voce["info"] = info_dataset(dataset, *stazione, *intervallo,
                                  parametri_scelti(dataset.tipo, RichiestaHapi{}));
    }
    elenco.push_back(std::move(voce));
  }
  return {{"catalog", std::move(elenco)}};
}

// No reference is ever left to resolve: true and false are both answered the same.
void verifica_riferimenti(const RichiestaHapi& richiesta) {
  const std::string valore = richiesta.voce("resolve_references");
  if (richiesta.ha("resolve_references") && valore != "true" && valore != "false") {
    throw Rifiuto{1412, {}};
  }
}

// The time of start or stop, which must be given.
sys_seconds tempo(const RichiestaHapi& richiesta, const char* nome, int codice) {
  if (!richiesta.ha(nome)) throw Rifiuto{1400, std::string(nome) + " is required"};
  const auto quando = leggi_tempo_hapi(richiesta.voce(nome));
  if (!quando) throw Rifiuto{codice, {}};
  return *quando;
}

void dati(const ServerHapi& server, const RichiestaHapi& richiesta, const RichiestaCgi& cgi,
          std::FILE* uscita, system_clock::time_point adesso) {
  if (!richiesta.ha("dataset")) throw Rifiuto{1400, "dataset is required"};
  const std::vector<DatasetHapi> elenco = elenco_dataset(server.sorgente);
  Dataset d = apri_dataset(server, elenco, richiesta.voce("dataset"), adesso);
  const sys_seconds inizio = tempo(richiesta, "start", 1402);
  const sys_seconds fine = tempo(richiesta, "stop", 1403);
  if (inizio >= fine) throw Rifiuto{1404, {}};
  const std::string formato = richiesta.ha("format") ? richiesta.voce("format") : "csv";
  if (formato != "csv" && formato != "json") throw Rifiuto{1409, "csv and json are served"};
  if (richiesta.ha("include") && richiesta.voce("include") != "header") throw Rifiuto{1410, {}};
  const std::vector<std::size_t> scelti = parametri_scelti(d.dataset->tipo, richiesta);
  // A range that overlaps the dataset gets the records it holds; only one wholly outside
  // is refused.
  if (fine <= sys_seconds{d.intervallo.first} || inizio >= sys_seconds{d.intervallo.second}) {
    throw Rifiuto{1405, "the dataset covers " + tempo_hapi(sys_seconds{d.intervallo.first}) +
                            " to " + tempo_hapi(sys_seconds{d.intervallo.second})};
  }
  FlussoHapi flusso(uscita, formato == "json", richiesta.ha("include"),
                    info_dataset(*d.dataset, d.stazione, d.intervallo, scelti),
                    cgi.metodo == "HEAD");
  try {
    scrivi_dati(d.stazione, d.dataset->tipo, inizio, fine, d.intervallo, scelti, flusso);
  } catch (const Failure& guasto) {
    if (!flusso.iniziato()) throw;
    std::fflush(uscita);
    throw Troncato{guasto.what()};
  }
  flusso.chiudi();
}

void rispondi(const ServerHapi& server, const RichiestaHapi& richiesta, const RichiestaCgi& cgi,
              std::FILE* uscita, system_clock::time_point adesso) {
  const bool testa = cgi.metodo == "HEAD";
  if (richiesta.endpoint == "capabilities") {
    rispondi_json(
        uscita, testa,
        {{"outputFormats", {"csv", "json"}}, {"catalogDepthOptions", {"dataset", "all"}}});
  } else if (richiesta.endpoint == "about") {
    rispondi_json(uscita, testa, about(server, adesso));
  } else if (richiesta.endpoint == "catalog") {
    verifica_riferimenti(richiesta);
    rispondi_json(uscita, testa, catalogo(server, richiesta, adesso));
  } else if (richiesta.endpoint == "info") {
    if (!richiesta.ha("dataset")) throw Rifiuto{1400, "dataset is required"};
    verifica_riferimenti(richiesta);
    const std::vector<DatasetHapi> elenco = elenco_dataset(server.sorgente);
    const Dataset d = apri_dataset(server, elenco, richiesta.voce("dataset"), adesso);
    rispondi_json(uscita, testa,
                  info_dataset(*d.dataset, d.stazione, d.intervallo,
                               parametri_scelti(d.dataset->tipo, richiesta)));
  } else {
    dati(server, richiesta, cgi, uscita, adesso);
  }
}

void rifiuta(std::FILE* uscita, bool testa, const Rifiuto& rifiuto,
             const char* riga_http = nullptr) {
  const StatoHapi stato = stato_hapi(rifiuto.codice);
  scrivi_intestazioni_cgi(uscita, riga_http != nullptr ? riga_http : riga_stato_http(stato),
                          "application/json");
  if (!testa) std::fputs(json_stato(stato, rifiuto.dettaglio).c_str(), uscita);
}

}  // namespace

int servi_hapi(const ServerHapi& server, const RichiestaCgi& cgi, std::FILE* uscita,
               system_clock::time_point adesso) {
  const bool testa = cgi.metodo == "HEAD";
  if (cgi.metodo != "GET" && !testa) {
    const std::string riga = "405 Method Not Allowed; HAPI 1400 Bad request - user input error";
    rifiuta(uscita, false, {1400, "only GET and HEAD are served"}, riga.c_str());
    return 0;
  }
  if (cgi.percorso.size() > 1 && cgi.percorso.back() == '/') {
    // "/hapi/info/?dataset=x" is "/hapi/info?dataset=x".
    std::string senza = cgi.uri.substr(0, cgi.uri.find('?'));
    while (!senza.empty() && senza.back() == '/') senza.pop_back();
    std::fprintf(uscita, "Status: 301 Moved Permanently\nLocation: %s%s%s\n\n", senza.c_str(),
                 cgi.query.empty() ? "" : "?", cgi.query.c_str());
    return 0;
  }
  const auto richiesta = leggi_richiesta(cgi.percorso, cgi.query);
  if (const int* codice = std::get_if<int>(&richiesta)) {
    rifiuta(uscita, testa,
            {*codice, *codice == 1400 ? "an unknown endpoint, a parameter given "
                                        "twice or a malformed escape"
                                      : std::string()});
    return 0;
  }
  try {
    rispondi(server, std::get<RichiestaHapi>(richiesta), cgi, uscita, adesso);
  } catch (const Rifiuto& rifiuto) {
    rifiuta(uscita, testa, rifiuto);
  } catch (const Troncato& troncato) {
    std::fprintf(stderr, "fof1plot-hapi: the data stream is cut short: %s\n",
                 LogLine(troncato.motivo).c_str());
    return 1;
  } catch (const std::exception& guasto) {
    std::fprintf(stderr, "fof1plot-hapi: %s\n", LogLine(guasto.what()).c_str());
    rifiuta(uscita, testa, {1500, {}});
    std::fflush(uscita);
    return 1;
  }
  std::fflush(uscita);
  return 0;
}

}  // namespace fof1plot
