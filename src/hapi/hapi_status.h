#pragma once

#include <string>

namespace fof1plot {

// The HAPI version the server answers to.
inline constexpr const char* kVersioneHapi = "3.3";

// A HAPI status: its code (1200, 1400-1413, 1500), the HTTP status that goes with it and
// the message HAPI gives that code.
struct StatoHapi {
  int codice = 1200;
  int http = 200;
  const char* messaggio = "OK";
};

// The status of a code; 1500 for a code the table does not hold.
StatoHapi stato_hapi(int codice);

// The HTTP status line's text, "404 Not Found; HAPI 1406 Bad request - unknown dataset
// id", for the CGI "Status:" header.
std::string riga_stato_http(const StatoHapi& stato);

// A response that carries only its status: {"HAPI": "3.3", "status": {...}}, with
// `dettaglio` after the message where given (never anything the client sent).
std::string json_stato(const StatoHapi& stato, const std::string& dettaglio = {});

}  // namespace fof1plot
