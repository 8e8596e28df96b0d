#include <array>

#include "platform/text.h"
#include "run/form1.h"

namespace fof1plot {

// The part of a sample file's name that is the same all day: the sample directory, the
// station's prefix, the year and the day of the year. Hour code, minute code and
// ending follow (see nome_file_campione). Empty for kind 0, which names no file.
std::string Form1::prefisso_nome_campione(std::int16_t tipo_stazione,
                                          const std::string& file_previsioni) const {
  static constexpr std::array<const char*, 7> kPrefissi = {"",       "",       "TUJ2O_", "BBJ3R_",
                                                           "RM041_", "SP044_", "ML10L_"};
  if (tipo_stazione < 1 || tipo_stazione > 6) return {};
  const std::string anno =
      tipo_stazione == 1 ? Mid(file_previsioni, 5, 2) : Mid(file_previsioni, 3, 4);
  return cartella_dati + kPrefissi[static_cast<std::size_t>(tipo_stazione)] + anno +
         giorno_anno(indice_giorno);
}

std::string Form1::nome_file_campione(const std::string& prefisso, std::int16_t tipo_stazione,
                                      int ora, int m) const {
  return prefisso + codici_ora(ora) + minuti(m) + (tipo_stazione >= 4 ? "00.TXT" : ".TXT");
}

}  // namespace fof1plot
