#include "output/metrics.h"

#include <cstdio>
#include <memory>

#include "output/sounding_times.h"
#include "platform/escapes.h"
#include "platform/text.h"

namespace fof1plot {
namespace {

constexpr std::string_view kUltimoSuccesso = "fof1plot_last_success_timestamp_seconds{";
constexpr std::string_view kEtichetta = "station=\"";

std::string secondi(std::chrono::system_clock::time_point quando) {
  char testo[32];
  std::snprintf(testo, sizeof testo, "%.3f",
                std::chrono::duration<double>(quando.time_since_epoch()).count());
  return testo;
}

// A gauge with its HELP and TYPE lines, then its samples, each with the station's label
// before its own labels ("kind=\"na\"", or none).
std::string misura(const std::string& stazione, const char* nome, const char* aiuto,
                   const std::vector<std::pair<std::string, std::string>>& campioni) {
  std::string testo = std::string("# HELP ") + nome + " " + aiuto + "\n# TYPE " + nome + " gauge\n";
  for (const auto& [etichette, valore] : campioni) {
    testo += nome;
    testo += "{station=\"" + stazione + "\"";
    if (!etichette.empty()) testo += "," + etichette;
    testo += "} " + valore + "\n";
  }
  return testo;
}

}  // namespace

std::string testo_metriche(const Corsa& corsa, const ContestoMetriche& contesto) {
  const bool riuscita = contesto.stato_di_uscita == 0;
  const std::string s = MetricLabel(contesto.stazione);
  std::string testo =
      misura(s, "fof1plot_last_run_timestamp_seconds", "When the last run ended, in Unix time.",
             {{"", secondi(contesto.fine)}}) +
      misura(s, "fof1plot_run_success", "1 when the last run succeeded, 0 when it failed.",
             {{"", riuscita ? "1" : "0"}}) +
      misura(s, "fof1plot_run_duration_seconds", "How long the last run took.",
             {{"", std::to_string(contesto.durata_secondi)}}) +
      misura(s, "fof1plot_failures", "The failure lines the last run printed.",
             {{"", std::to_string(corsa.righe_guasti().size())}});
  const std::optional<std::string> successo =
      riuscita ? secondi(contesto.fine) : contesto.ultimo_successo;
  if (successo) {
    testo += misura(s, "fof1plot_last_success_timestamp_seconds",
                    "When a run last succeeded, in Unix time.", {{"", *successo}});
  }
  if (contesto.archivio) {
    return testo + misura(s, "fof1plot_archive_figures", "The figures the last back-fill drew.",
                          {{"", std::to_string(corsa.figure().size())}});
  }
  const auto sondaggio = ultimo_sondaggio(corsa.figure());
  testo += misura(s, "fof1plot_last_sounding_timestamp_seconds",
                  "When the station's latest sample of the six days was sounded, in Unix time; "
                  "0 when none of them has one.",
                  {{"", std::to_string(sondaggio ? sondaggio->time_since_epoch().count() : 0)}});
  std::vector<std::pair<std::string, std::string>> campioni;
  for (const RegistroFigura& figura : corsa.figure()) {
    if (figura.slot == 0) continue;
    const std::string slot = "slot=\"" + std::to_string(figura.slot) + "\",kind=\"";
    for (const auto& [tipo, nome] : {std::pair{TipoCampo::kValore, "value"},
                                     {TipoCampo::kNA, "na"},
                                     {TipoCampo::kNO, "no"},
                                     {TipoCampo::kAltro, "other"}}) {
      campioni.emplace_back(slot + nome + "\"", std::to_string(figura.conta(tipo)));
    }
  }
  return testo +
         misura(s, "fof1plot_samples", "The sample files each day slot's figure shows.", campioni);
}

std::optional<SuccessoPrecedente> ultimo_successo(std::string_view riga) {
  constexpr std::string_view kSenzaEtichette = "fof1plot_last_success_timestamp_seconds ";
  if (riga.starts_with(kSenzaEtichette)) {
    return SuccessoPrecedente{std::nullopt, std::string(riga.substr(kSenzaEtichette.size()))};
  }
  if (!riga.starts_with(kUltimoSuccesso)) return std::nullopt;
  riga.remove_prefix(kUltimoSuccesso.size());
  const auto fine = riga.rfind("\"} ");
  if (!riga.starts_with(kEtichetta) || fine == std::string_view::npos || fine < kEtichetta.size()) {
    return std::nullopt;
  }
  std::string etichetta;
  for (std::size_t i = kEtichetta.size(); i < fine; ++i) {
    char c = riga[i];
    if (c == '\\' && i + 1 < fine) c = riga[++i] == 'n' ? '\n' : riga[i];
    etichetta += c;
  }
  return SuccessoPrecedente{etichetta, std::string(riga.substr(fine + 3))};
}

// The station's label: the name the units give it, else the station file's first four
// characters, else the label of the previous file, so that a station file that cannot be
// read does not start a series of another name.
std::string etichetta_stazione(const Corsa& corsa, const MetricheRichieste& richieste,
                               const std::optional<std::string>& precedente) {
  if (!richieste.stazione.empty()) return richieste.stazione;
  const std::optional<std::string> riga = corsa.stazione();
  if (riga && !Trim(Mid(*riga, 1, 4)).empty()) return Trim(Mid(*riga, 1, 4));
  return precedente.value_or("unknown");
}

void scrivi_metriche(Corsa& corsa, const MetricheRichieste& richieste) {
  ContestoMetriche contesto;
  contesto.fine = corsa.adesso();
  contesto.durata_secondi = std::chrono::duration<double>(contesto.fine - corsa.inizio()).count();
  contesto.archivio = richieste.archivio;
  contesto.stato_di_uscita = corsa.stato_di_uscita();
  std::optional<std::string> etichetta_precedente;
  esegui_passo([&] {
    const std::unique_ptr<TextFile> precedente = corsa.files().TryOpen(richieste.path);
    while (precedente && !precedente->Eof()) {
      const auto valore = ultimo_successo(precedente->LineInput());
      if (!valore) continue;
      etichetta_precedente = valore->stazione;
      contesto.ultimo_successo = valore->quando;
    }
  });
  contesto.stazione = etichetta_stazione(corsa, richieste, etichetta_precedente);
  const std::string testo = testo_metriche(corsa, contesto);
  corsa.passo([&] { corsa.scrittore().Write(richieste.path, testo); });
}

}  // namespace fof1plot
