#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "hapi/hapi_server.h"
#include "hapi/hapi_status.h"
#include "hapi/hapi_stream.h"

namespace {

std::string ambiente(const char* nome) {
  const char* valore = std::getenv(nome);
  return valore != nullptr ? valore : "";
}

}  // namespace

// The HAPI server of a station's archive, or of a network's, as a CGI program behind a
// web server (nginx with fcgiwrap): one request per process, from the CGI variables;
// what to serve comes from FOF1PLOT_HAPI_SITE (a station's output directory) or
// FOF1PLOT_HAPI_NETWORK (a network directory), and FOF1PLOT_HAPI_ID, _TITLE and _CONTACT
// may name the server. It reads the published files and writes none.
int main() {
  using namespace fof1plot;
  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  if (ambiente("GATEWAY_INTERFACE").empty()) {
    std::fputs("fof1plot-hapi: a CGI program: run it from a web server (see the guide)\n", stderr);
    return 2;
  }
  ServerHapi server{{ambiente("FOF1PLOT_HAPI_SITE"), ambiente("FOF1PLOT_HAPI_NETWORK")},
                    ambiente("FOF1PLOT_HAPI_ID"),
                    ambiente("FOF1PLOT_HAPI_TITLE"),
                    ambiente("FOF1PLOT_HAPI_CONTACT")};
  if (server.sorgente.sito.empty() == server.sorgente.rete.empty()) {
    std::fputs("fof1plot-hapi: set one of FOF1PLOT_HAPI_SITE and FOF1PLOT_HAPI_NETWORK\n", stderr);
    const StatoHapi stato = stato_hapi(1500);
    scrivi_intestazioni_cgi(stdout, riga_stato_http(stato), "application/json");
    std::fputs(json_stato(stato).c_str(), stdout);
    return 1;
  }
  const RichiestaCgi richiesta{ambiente("REQUEST_METHOD"), ambiente("PATH_INFO"),
                               ambiente("QUERY_STRING"), ambiente("REQUEST_URI")};
  return servi_hapi(server, richiesta, stdout, std::chrono::system_clock::now());
}
