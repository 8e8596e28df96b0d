#include "run/corsa.h"

#include "platform/whole_file.h"

namespace fof1plot {

Corsa::Corsa(TextFiles& files, Directory& directory, Clock& clock, Diagnostics& diagnostica)
    : files_(files), directory_(directory), clock_(clock), diagnostica_(diagnostica) {}

void Corsa::segnala(const Failure& guasto, const char* descrizione) {
  fallita_ = true;
  const std::string cosa = descrizione != nullptr ? descrizione : guasto.what_failed();
  if (!segnalati_.emplace(guasto.path(), cosa).second) return;
  diagnostica_.Report(descrizione != nullptr ? Failure(guasto.path(), cosa, guasto.reason())
                                             : guasto);
}

std::chrono::sys_days Corsa::oggi() {
  if (!oggi_) oggi_ = std::chrono::sys_days{clock_.Date()};
  return *oggi_;
}

// One run at a time per work directory: a second run waits for the first, then does its
// own complete run. The lock is held until the process ends.
bool Corsa::blocca(const std::string& cartella_lavoro) {
  return passo([&] { blocco_ = directory_.Lock(DirectoryPart(cartella_lavoro)); },
               "cannot lock the work directory");
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
