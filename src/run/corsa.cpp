#include "run/corsa.h"

#include "platform/text.h"
#include "platform/whole_file.h"

namespace fof1plot {

Corsa::Corsa(TextFiles& files, Directory& directory, Clock& clock, Diagnostics& diagnostica,
             FileWriter& scrittore)
    : files_(files),
      directory_(directory),
      clock_(clock),
      diagnostica_(diagnostica),
      scrittore_(scrittore),
      inizio_(clock.Now()) {}

void Corsa::segnala(const Failure& guasto, const char* descrizione) {
  fallita_ = true;
  guasti_.aggiungi(guasto.path(), descrizione != nullptr ? descrizione : guasto.what_failed(),
                   guasto.reason());
}

void Corsa::riferisci_guasti() {
  const std::vector<RigaGuasto> righe = guasti_.righe();
  for (; guasti_riferiti_ < righe.size(); ++guasti_riferiti_) {
    diagnostica_.Report(righe[guasti_riferiti_].riga);
  }
}

std::vector<std::string> Corsa::righe_guasti() const {
  std::vector<std::string> righe;
  for (const RigaGuasto& guasto : guasti_.righe()) {
    righe.push_back(std::string("fof1plot: ") + guasto.riga.what());
  }
  return righe;
}

void Corsa::avvisa(const std::string& testo) {
  if (!avvisati_.insert(testo).second) return;
  righe_avvisi_.push_back("fof1plot: warning: " + testo);
  diagnostica_.Warn(testo);
}

std::optional<std::string> Corsa::stazione() const {
  if (!riga_stazione_) return std::nullopt;
  return Trim(*riga_stazione_);
}

std::chrono::sys_days Corsa::oggi() {
  if (!oggi_) oggi_ = std::chrono::sys_days{clock_.Date()};
  return *oggi_;
}

// One run at a time per work directory: a second run waits for the first, then does its
// own complete run. The lock is held until the process ends.
bool Corsa::blocca(const std::string& cartella, const char* descrizione) {
  return passo([&] { blocco_ = directory_.Lock(DirectoryPart(cartella)); }, descrizione);
}

bool Corsa::crea_cartella(const std::string& cartella) {
  if (cartelle_create_.count(cartella) != 0) return true;
  if (!passo([&] { directory_.MkDir(cartella); })) return false;
  cartelle_create_.insert(cartella);
  return true;
}

void Corsa::prepara_giorni(std::chrono::sys_days primo, std::chrono::sys_days ultimo) {
  primo_ = primo;
  ultimo_ = ultimo;
}

RegistroFigura& Corsa::nuova_figura(int slot, std::chrono::sys_days data) {
  using namespace std::chrono;
  RegistroFigura& figura = figure_.emplace_back();
  figura.slot = slot;
  figura.data = data;
  const year_month_day giorno{data};
  figura.giorno_anno = static_cast<int>((data - sys_days{giorno.year() / January / 1}).count()) + 1;
  return figura;
}

}  // namespace fof1plot
