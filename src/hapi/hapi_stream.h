#pragma once

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace fof1plot {

// A data response as it is streamed: CSV (RFC 4180, no header row) or JSON, with the
// info header before the rows in JSON and, with include=header, in CSV as "#" lines.
// The CGI headers go out with the first row, or at the end, so that a range with no row
// is answered "1201 OK - no data for time range" with an empty body, and a failure
// before the first row is still a clean 1500. Memory does not grow with the rows.
class FlussoHapi {
 public:
  // A column's cell of a row: a number as its text, a string, or the fill value.
  struct Cella {
    enum class Tipo { kNumero, kTesto, kRiempimento } tipo = Tipo::kRiempimento;
    std::string_view testo;
  };

  // `info`: the dataset's info for the requested parameters; `solo_intestazioni` for a
  // HEAD request, which gets the headers alone.
  FlussoHapi(std::FILE* uscita, bool json, bool con_intestazione, nlohmann::json info,
             bool solo_intestazioni);
  // A record: its time ("yyyy-mm-ddThh:mm:ssZ"), then its cells in the order of the
  // requested parameters.
  void riga(std::string_view tempo, const std::vector<Cella>& celle);
  // Ends the response.
  void chiudi();
  bool iniziato() const { return iniziato_; }

 private:
  void inizia(int codice);

  std::FILE* uscita_;
  bool json_, con_intestazione_, solo_intestazioni_;
  nlohmann::json info_;
  bool iniziato_ = false;
  bool prima_riga_ = true;
  std::string riga_;
};

// The fill value of the numeric parameters, as info gives it and the rows write it.
inline constexpr const char* kRiempimento = "-1e31";

// The CGI headers of a response: its status line, content type, and the CORS headers
// that let a page of any site read it.
void scrivi_intestazioni_cgi(std::FILE* uscita, const std::string& stato, const char* tipo);

}  // namespace fof1plot
