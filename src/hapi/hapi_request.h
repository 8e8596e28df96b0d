#pragma once

#include <map>
#include <string>
#include <string_view>
#include <variant>

namespace fof1plot {

// A HAPI request read from its path and query: the endpoint ("capabilities", "about",
// "catalog", "info", "data") and its request parameters by their HAPI 3 names (the
// HAPI 2 names id, time.min and time.max are taken for dataset, start and stop).
struct RichiestaHapi {
  std::string endpoint;
  std::map<std::string, std::string> voci;

  // The value of a request parameter; empty when absent.
  std::string voce(const std::string& nome) const;
  bool ha(const std::string& nome) const { return voci.count(nome) != 0; }
};

// The request of a CGI's PATH_INFO ("/data") and QUERY_STRING, its values
// percent-decoded; or the HAPI code that refuses it: 1400 for an unknown endpoint, a
// parameter given twice (or under both its names) or a malformed escape, 1401 for a
// parameter the endpoint does not take.
std::variant<RichiestaHapi, int> leggi_richiesta(std::string_view percorso, std::string_view query);

}  // namespace fof1plot
