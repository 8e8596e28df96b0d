#include "samples/sample_names.h"

#include <array>

#include "platform/text.h"
#include "run/form1.h"

namespace fof1plot {

std::string_view prefisso_stazione(std::int16_t tipo_stazione) {
  static constexpr std::array<std::string_view, 7> kPrefissi = {
      "", "", "TUJ2O_", "BBJ3R_", "RM041_", "SP044_", "ML10L_"};
  if (tipo_stazione < 1 || tipo_stazione > 6) return {};
  return kPrefissi[static_cast<std::size_t>(tipo_stazione)];
}

std::string inizio_nome_campione(std::int16_t tipo_stazione, const std::string& file_previsioni,
                                 const std::string& giorno) {
  if (tipo_stazione < 1 || tipo_stazione > 6) return {};
  const std::string anno =
      tipo_stazione == 1 ? Mid(file_previsioni, 5, 2) : Mid(file_previsioni, 3, 4);
  return std::string(prefisso_stazione(tipo_stazione)) + anno + giorno;
}

std::string_view finale_nome_campione(std::int16_t tipo_stazione) {
  return tipo_stazione >= 4 ? "00.TXT" : ".TXT";
}

// The sample directory followed by the start of the day's sample names; hour code,
// minute code and ending follow (see nome_file_campione). Empty for kind 0.
std::string Form1::prefisso_nome_campione(std::int16_t tipo_stazione,
                                          const std::string& file_previsioni) const {
  if (tipo_stazione < 1 || tipo_stazione > 6) return {};
  return cartella_dati +
         inizio_nome_campione(tipo_stazione, file_previsioni, giorno_anno(indice_giorno));
}

std::string Form1::nome_file_campione(const std::string& prefisso, std::int16_t tipo_stazione,
                                      int ora, int m) const {
  return prefisso + codici_ora(ora) + minuti(m) + std::string(finale_nome_campione(tipo_stazione));
}

}  // namespace fof1plot
