#include "hapi/hapi_stream.h"

#include "hapi/hapi_datasets.h"
#include "hapi/hapi_status.h"
#include "platform/escapes.h"

namespace fof1plot {

void scrivi_intestazioni_cgi(std::FILE* uscita, const std::string& stato, const char* tipo) {
  std::fprintf(uscita,
               "Status: %s\nContent-Type: %s\nAccess-Control-Allow-Origin: *\n"
               "Access-Control-Allow-Methods: GET, HEAD\n"
               "Access-Control-Allow-Headers: Content-Type\n\n",
               stato.c_str(), tipo);
}

FlussoHapi::FlussoHapi(std::FILE* uscita, bool json, bool con_intestazione, nlohmann::json info,
                       bool solo_intestazioni)
    : uscita_(uscita),
      json_(json),
      con_intestazione_(con_intestazione || json),
      solo_intestazioni_(solo_intestazioni),
      info_(std::move(info)) {}

void FlussoHapi::inizia(int codice) {
  iniziato_ = true;
  const StatoHapi stato = stato_hapi(codice);
  scrivi_intestazioni_cgi(uscita_, riga_stato_http(stato),
                          json_ ? "application/json" : "text/csv; charset=utf-8");
  if (solo_intestazioni_ || !con_intestazione_) return;
  info_["HAPI"] = kVersioneHapi;
  info_["status"] = {{"code", stato.codice}, {"message", stato.messaggio}};
  info_["format"] = json_ ? "json" : "csv";
  if (json_) {
    // The info object, open for its "data" array of records.
    std::string testo = testo_json(info_);
    testo.pop_back();
    std::fputs(testo.c_str(), uscita_);
    std::fputs(",\"data\":[", uscita_);
    return;
  }
  const std::string testo = testo_json(info_, 2);
  std::fputc('#', uscita_);
  for (const char c : testo) {
    std::fputc(c, uscita_);
    if (c == '\n') std::fputc('#', uscita_);
  }
  std::fputc('\n', uscita_);
}

void FlussoHapi::riga(std::string_view tempo, const std::vector<Cella>& celle) {
  if (!iniziato_) inizia(1200);
  if (solo_intestazioni_) return;
  riga_.clear();
  if (json_) {
    riga_ += prima_riga_ ? "\n[\"" : ",\n[\"";
    riga_ += tempo;
    riga_ += '"';
  } else {
    riga_ += tempo;
  }
  for (const Cella& cella : celle) {
    riga_ += ',';
    switch (cella.tipo) {
      case Cella::Tipo::kNumero:
        riga_ += cella.testo;
        break;
      case Cella::Tipo::kTesto:
        riga_ += json_ ? nlohmann::json(ValidUtf8(cella.testo)).dump() : CsvField(cella.testo);
        break;
      case Cella::Tipo::kRiempimento:
        riga_ += kRiempimento;
        break;
    }
  }
  riga_ += json_ ? "]" : "\n";
  std::fwrite(riga_.data(), 1, riga_.size(), uscita_);
  prima_riga_ = false;
}

void FlussoHapi::chiudi() {
  if (!iniziato_) inizia(1201);
  if (json_ && !solo_intestazioni_) std::fputs("\n]}\n", uscita_);
  std::fflush(uscita_);
}

}  // namespace fof1plot
