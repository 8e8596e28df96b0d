#include "hapi/hapi_status.h"

#include <nlohmann/json.hpp>

namespace fof1plot {

StatoHapi stato_hapi(int codice) {
  static constexpr StatoHapi kStati[] = {
      {1200, 200, "OK"},
      {1201, 200, "OK - no data for time range"},
      {1400, 400, "Bad request - user input error"},
      {1401, 400, "Bad request - unknown API parameter name"},
      {1402, 400, "Bad request - syntax error in start time"},
      {1403, 400, "Bad request - syntax error in stop time"},
      {1404, 400, "Bad request - start equal to or after stop"},
      {1405, 400, "Bad request - start < startDate and/or stop > stopDate"},
      {1406, 404, "Bad request - unknown dataset id"},
      {1407, 404, "Bad request - unknown dataset parameter"},
      {1409, 400, "Bad request - unsupported output format"},
      {1410, 400, "Bad request - unsupported include value"},
      {1411, 400, "Bad request - out-of-order or duplicate parameters"},
      {1412, 400, "Bad request - unsupported resolve_references value"},
      {1413, 400, "Bad request - unsupported depth value"},
      {1500, 500, "Internal server error"},
  };
  for (const StatoHapi& stato : kStati) {
    if (stato.codice == codice) return stato;
  }
  return {1500, 500, "Internal server error"};
}

std::string riga_stato_http(const StatoHapi& stato) {
  const char* testo = stato.http == 200   ? "OK"
                      : stato.http == 404 ? "Not Found"
                      : stato.http == 400 ? "Bad Request"
                                          : "Internal Server Error";
  return std::to_string(stato.http) + " " + testo + "; HAPI " + std::to_string(stato.codice) + " " +
         stato.messaggio;
}

std::string json_stato(const StatoHapi& stato, const std::string& dettaglio) {
  const std::string messaggio = dettaglio.empty() ? std::string(stato.messaggio)
                                                  : std::string(stato.messaggio) + ": " + dettaglio;
  const nlohmann::json risposta = {{"HAPI", kVersioneHapi},
                                   {"status", {{"code", stato.codice}, {"message", messaggio}}}};
  return risposta.dump() + "\n";
}

}  // namespace fof1plot
