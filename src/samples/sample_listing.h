#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/table.h"

namespace fof1plot {

// Which sample files of the six day slots a listing of the sample directory holds, for
// every station kind, so that a run opens only names that exist. Only a bit per kind,
// slot, hour and minute is kept, never the listed names, so a directory of any size
// costs the same memory. A listed name counts when it equals a sample's name ignoring
// letter case; the file is then opened by the name the program builds, and the file
// system decides, as it would for any open, whether that name finds it.
class ElencoCampioni {
 public:
  // Forgets every name; the six slots are named by their month keys and day-of-year
  // codes, as the sample names are built from them.
  void prepara(const Tabella<std::string, 1, 6>& mese_anno,
               const Tabella<std::string, 1, 6>& giorno_anno);
  // Records a listed name (without its directory) when it names a sample of the slots.
  void registra(std::string_view nome);
  // Whether the sample of a slot's hour and minute (0 to 59) was listed for a kind.
  bool contiene(int tipo_stazione, int indice_giorno, int ora, int minuto) const;

 private:
  static constexpr int kTipi = 6;
  static constexpr int kGiorni = 6;
  static std::size_t bit(int tipo_stazione, int indice_giorno, int ora, int minuto);

  // For each kind and slot, the name up to the hour code: station prefix, year, day.
  std::array<std::array<std::string, kGiorni>, kTipi> inizi_;
  std::bitset<std::size_t{kTipi} * kGiorni * 24 * 60> presenti_;
};

}  // namespace fof1plot
