#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "hapi/hapi_datasets.h"

namespace fof1plot {

// What the server is: where it reads, and what its about endpoint says where the
// station's description does not (an empty text takes the description's or a default).
struct ServerHapi {
  SorgenteHapi sorgente;
  std::string id, titolo, contatto;
};

// A request as the web server hands it to a CGI program.
struct RichiestaCgi {
  std::string metodo;    // REQUEST_METHOD
  std::string percorso;  // PATH_INFO: "/data", "/info", ...
  std::string query;     // QUERY_STRING
  std::string uri;       // REQUEST_URI, for the redirect of a path ending in "/"
};

// Answers one HAPI request on `uscita`, CGI headers first. A request HAPI does
// not allow gets its status code and a JSON status, never the text the client sent.
// Returns 0, or 1 after a line on stderr when a file could not be read (the client has
// a 1500, or a cut stream when rows had gone out).
int servi_hapi(const ServerHapi& server, const RichiestaCgi& richiesta, std::FILE* uscita,
               std::chrono::system_clock::time_point adesso);

}  // namespace fof1plot
