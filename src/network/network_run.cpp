#include "network/network_run.h"

#include <memory>
#include <vector>

#include "network/network_chart.h"
#include "network/network_pages.h"
#include "platform/confined_files.h"

namespace fof1plot {

void scrivi_rete(Corsa& corsa, Form1& finestra, DrawingSurface& vettoriale, std::string rete,
                 const std::string& metriche) {
  if (rete.empty() || rete.back() != '/') rete += '/';
  const auto adesso = corsa.adesso();
  // One overview at a time writes the directory: a second run waits for the first.
  if (!corsa.blocca(rete, "cannot lock the network directory")) return;
  std::unique_ptr<ConfinedDirectory> cartella;
  std::vector<DirectoryEntry> voci;
  if (!corsa.passo(
          [&] {
            cartella = std::make_unique<ConfinedDirectory>(rete);
            voci = cartella->List();
          },
          "cannot list the network directory")) {
    return;
  }
  std::vector<StazioneRete> stazioni;
  for (const DirectoryEntry& voce : voci) {
    stazioni.push_back(leggi_stazione(*cartella, voce.name, voce.directory, adesso));
    if (stazioni.back().stato == StatoStazione::kIlleggibile) {
      corsa.avvisa(rete + voce.name + "/: " + stazioni.back().motivo + "; shown as unreadable");
    }
  }
  const std::vector<std::pair<const char*, std::string>> file = {
      {"today.svg", grafico_rete(finestra, vettoriale, stazioni)},
      {"today.csv", testo_oggi(stazioni)},
      {"network.css", foglio_rete()},
      {"network.js", script_rete()},
      {"stations.json", testo_stazioni(stazioni, adesso)},
      {"index.html", pagina_rete(stazioni, adesso)},
  };
  for (const auto& voce : file) {
    corsa.passo([&] { corsa.scrittore().Write(rete + voce.first, voce.second); });
  }
  if (!metriche.empty()) {
    const std::string nome = rete.substr(0, rete.size() - 1);
    const std::string testo =
        testo_metriche_rete(nome.substr(nome.find_last_of('/') + 1), stazioni, adesso);
    corsa.passo([&] { corsa.scrittore().Write(metriche, testo); });
  }
}

}  // namespace fof1plot
