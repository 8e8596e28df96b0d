#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fof1plot {

// What became of a figure's archived GIF under the archive rule: not written, replaced,
// new, kept under the rule, or left as it was because it held the same figure already.
enum class EsitoArchivio { kNonScritta, kSostituita, kNuova, kMantenuta, kInvariata };

// What a sample's value field says: a value written dd.d, "N/A", "NO", or anything else
// (drawn as a value all the same).
enum class TipoCampo { kValore, kNA, kNO, kAltro };

// What became of a sample file the listing holds: read, gone since the listing, still
// being written (fewer than seven lines), or there but unreadable.
enum class LetturaCampione { kLetto, kScomparso, kIncompleto, kIlleggibile };

// One sample file of a figure's day, a few bytes so that years of them fit in memory.
struct CampioneRegistrato {
  std::uint8_t ora = 0;
  std::uint8_t minuto = 0;
  LetturaCampione lettura = LetturaCampione::kLetto;
  TipoCampo tipo = TipoCampo::kAltro;
  // The value field as found, without surrounding blanks: at most four characters.
  std::array<char, 4> campo{};
  std::uint8_t lunghezza_campo = 0;
  // Where the disc was drawn, in tenths of MHz: meaningful for kValore and kAltro.
  double decimi = 0;

  std::string_view campo_valore() const { return {campo.data(), lunghezza_campo}; }
};

// What one figure shows, recorded by the drawing procedures as they draw it, so that
// the run can write it out without reading a station's file again.
struct RegistroFigura {
  // The day slot, 1 to 6; 0 for a day drawn by the back-fill.
  int slot = 0;
  std::chrono::sys_days data{};
  int giorno_anno = 0;
  // The first line of the station file without surrounding blanks; empty when none.
  std::string stazione;
  std::string file_previsione;
  // The 24 hourly values drawn, in tenths of MHz; empty for an hour without a field.
  std::array<std::optional<std::int16_t>, 24> previsione;
  // Whether the forecast file was read without a failure.
  bool previsione_letta = false;
  // Every sample file the listing holds for the day, in drawing order.
  std::vector<CampioneRegistrato> campioni;
  // For each unreadable sample, its index in campioni and the system's reason.
  std::vector<std::pair<std::size_t, std::string>> motivi;
  EsitoArchivio archivio = EsitoArchivio::kNonScritta;
  // The version of the published figure, from its data files; empty until published.
  std::string versione;

  // The samples read with a field of a kind.
  int conta(TipoCampo tipo) const;
  // The samples read, and those that could not be.
  int letti() const;
  int illeggibili() const;
  // Whether the figure may replace an archived one: it read its month's forecast whole,
  // every listed sample that is still there, and at least one.
  bool completa() const { return previsione_letta && letti() > 0 && illeggibili() == 0; }
};

}  // namespace fof1plot
