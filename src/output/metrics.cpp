#include "output/metrics.h"

#include <cstdio>
#include <memory>

#include "output/sounding_times.h"

namespace fof1plot {
namespace {

constexpr std::string_view kUltimoSuccesso = "fof1plot_last_success_timestamp_seconds ";

std::string secondi(std::chrono::system_clock::time_point quando) {
  char testo[32];
  std::snprintf(testo, sizeof testo, "%.3f",
                std::chrono::duration<double>(quando.time_since_epoch()).count());
  return testo;
}

// A gauge with its HELP and TYPE lines, then its samples, each "{labels} value" or
// " value".
std::string misura(const char* nome, const char* aiuto,
                   const std::vector<std::pair<std::string, std::string>>& campioni) {
  std::string testo = std::string("# HELP ") + nome + " " + aiuto + "\n# TYPE " + nome + " gauge\n";
  for (const auto& [etichette, valore] : campioni) {
    testo += nome;
    testo += etichette;
    testo += ' ';
    testo += valore;
    testo += '\n';
  }
  return testo;
}

}  // namespace

std::string testo_metriche(const Corsa& corsa, const ContestoMetriche& contesto) {
  const bool riuscita = contesto.stato_di_uscita == 0;
  std::string testo =
      misura("fof1plot_last_run_timestamp_seconds", "When the last run ended, in Unix time.",
             {{"", secondi(contesto.fine)}}) +
      misura("fof1plot_run_success", "1 when the last run succeeded, 0 when it failed.",
             {{"", riuscita ? "1" : "0"}}) +
      misura("fof1plot_run_duration_seconds", "How long the last run took.",
             {{"", std::to_string(contesto.durata_secondi)}}) +
      misura("fof1plot_failures", "The failure lines the last run printed.",
             {{"", std::to_string(corsa.righe_guasti().size())}});
  const std::optional<std::string> successo =
      riuscita ? secondi(contesto.fine) : contesto.ultimo_successo;
  if (successo) {
    testo += misura("fof1plot_last_success_timestamp_seconds",
                    "When a run last succeeded, in Unix time.", {{"", *successo}});
  }
  if (contesto.archivio) {
    return testo + misura("fof1plot_archive_days", "The days the last back-fill drew.",
                          {{"", std::to_string(corsa.figure().size())}});
  }
  const auto sondaggio = ultimo_sondaggio(corsa.figure());
  testo += misura("fof1plot_last_sounding_timestamp_seconds",
                  "When the station's latest sample of the six days was sounded, in Unix time; "
                  "0 when none of them has one.",
                  {{"", std::to_string(sondaggio ? sondaggio->time_since_epoch().count() : 0)}});
  std::vector<std::pair<std::string, std::string>> campioni;
  for (const RegistroFigura& figura : corsa.figure()) {
    if (figura.slot == 0) continue;
    const std::string slot = "{slot=\"" + std::to_string(figura.slot) + "\",kind=\"";
    for (const auto& [tipo, nome] : {std::pair{TipoCampo::kValore, "value"},
                                     {TipoCampo::kNA, "na"},
                                     {TipoCampo::kNO, "no"},
                                     {TipoCampo::kAltro, "other"}}) {
      campioni.emplace_back(slot + nome + "\"}", std::to_string(figura.conta(tipo)));
    }
  }
  return testo +
         misura("fof1plot_samples", "The sample files each day slot's figure shows.", campioni);
}

std::optional<std::string> ultimo_successo(std::string_view riga) {
  if (!riga.starts_with(kUltimoSuccesso)) return std::nullopt;
  return std::string(riga.substr(kUltimoSuccesso.size()));
}

void scrivi_metriche(Corsa& corsa, const std::string& path, bool archivio) {
  ContestoMetriche contesto;
  contesto.fine = corsa.adesso();
  contesto.durata_secondi = std::chrono::duration<double>(contesto.fine - corsa.inizio()).count();
  contesto.archivio = archivio;
  contesto.stato_di_uscita = corsa.stato_di_uscita();
  esegui_passo([&] {
    const std::unique_ptr<TextFile> precedente = corsa.files().TryOpen(path);
    while (precedente && !precedente->Eof()) {
      const std::optional<std::string> valore = ultimo_successo(precedente->LineInput());
      if (valore) contesto.ultimo_successo = valore;
    }
  });
  const std::string testo = testo_metriche(corsa, contesto);
  corsa.passo([&] { corsa.scrittore().Write(path, testo); });
}

}  // namespace fof1plot
