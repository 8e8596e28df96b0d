#include <algorithm>
#include <memory>

#include "platform/failure.h"
#include "run/corsa.h"
#include "samples/station.h"

namespace fof1plot {
namespace {

constexpr int kMinutiGiorno = 24 * 60;
// How far back a run that did not list the directory looks for names since the latest
// sample it knows: older gaps wait for the next listing.
constexpr int kMinutiFinestra = 60;

}  // namespace

std::size_t Corsa::minuto_della_corsa(std::chrono::sys_days giorno, int ora, int minuto) const {
  return static_cast<std::size_t>((giorno - primo_).count() * kMinutiGiorno +
                                  std::int64_t{ora} * 60 + minuto);
}

const std::string* Corsa::campo_letto(std::chrono::sys_days giorno, int ora, int minuto) const {
  const auto trovato = campi_letti_.find(minuto_della_corsa(giorno, ora, minuto));
  return trovato == campi_letti_.end() ? nullptr : &trovato->second;
}

// Only a run that keeps a state keeps the fields: a back-fill of years reads each once.
void Corsa::ricorda_campo(std::chrono::sys_days giorno, int ora, int minuto, std::string campo) {
  if (file_stato_.empty()) return;
  campi_letti_[minuto_della_corsa(giorno, ora, minuto)] = std::move(campo);
}

// A state that cannot be read, or is not a whole one of this version, is no state: the
// run lists the directory, as the first run does.
std::optional<StatoCampioni> Corsa::leggi_stato_campioni() {
  std::optional<std::vector<std::string>> righe;
  try {
    righe = TryReadLines(files_, file_stato_);
  } catch (const Failure&) {
    return std::nullopt;
  }
  if (!righe) return std::nullopt;
  return leggi_stato(*righe);
}

// A sample's name is fixed by its day, hour and minute, so what arrived since the state
// is found by name: the minutes after its latest sample, up to now and at most an hour
// back, are looked for as if listed. A sample written late for an earlier minute waits
// for the next listing.
bool Corsa::riprendi_stato(const std::string& cartella_dati) {
  using namespace std::chrono;
  if (completo_ || file_stato_.empty() || ultimo_ - primo_ != days{5}) return false;
  const std::optional<StatoCampioni> stato = leggi_stato_campioni();
  if (!stato || stato->cartella_dati != cartella_dati || stato->oggi != ultimo_) return false;
  const std::int16_t tipo = tipo_stazione_di(stato->riga_stazione);
  identita_cartella_ = directory_.Identity(cartella_dati);
  // Another directory at the same path (a mount, a copy put in place) is another one.
  if (tipo == 0 || !identita_cartella_ || identita_cartella_->device != stato->cartella.device ||
      identita_cartella_->inode != stato->cartella.inode) {
    return false;
  }
  identita_stazione_ = directory_.Identity(cartella_dati + stato->nome_stazione);
  if (identita_stazione_ != stato->stazione) return false;
  elenco_campioni_.prepara(primo_, ultimo_);
  int successivo = 0;
  for (const StatoCampioni::Campione& c : stato->campioni) {
    if (c.giorno < primo_ || c.giorno > ultimo_) return false;
    elenco_campioni_.segna(tipo, c.giorno, c.ora, c.minuto);
    if (c.lettura == LetturaCampione::kLetto) ricorda_campo(c.giorno, c.ora, c.minuto, c.campo);
    successivo =
        std::max(successivo, static_cast<int>(minuto_della_corsa(c.giorno, c.ora, c.minuto)) + 1);
  }
  const int adesso =
      5 * kMinutiGiorno + static_cast<int>(duration_cast<minutes>(clock_.Time()).count());
  // Samples named more than the window ahead of the clock tell that the station's clock
  // or this one is wrong: what is new cannot be told by the time.
  if (successivo > adesso + kMinutiFinestra) return false;
  if (*identita_cartella_ != stato->cartella) {
    for (int m = std::max(successivo, adesso - kMinutiFinestra + 1); m <= adesso; ++m) {
      elenco_campioni_.segna(tipo, primo_ + days{m / kMinutiGiorno}, m % kMinutiGiorno / 60,
                             m % 60);
    }
  }
  file_stazione_ = cartella_dati + stato->nome_stazione;
  riga_stazione_ = stato->riga_stazione;
  return true;
}

// The state holds what the figures show: every sample read with its field, and those
// still being written or unreadable, which the next run opens again.
void Corsa::salva_stato_campioni() {
  if (file_stato_.empty() || !riga_stazione_ || !identita_cartella_ || !identita_stazione_ ||
      tipo_stazione_di(*riga_stazione_) == 0) {
    return;
  }
  StatoCampioni stato{cartella_dati_,
                      ultimo_,
                      *identita_cartella_,
                      file_stazione_.substr(cartella_dati_.size()),
                      *identita_stazione_,
                      *riga_stazione_,
                      {}};
  for (const RegistroFigura& figura : figure_) {
    for (const CampioneRegistrato& c : figura.campioni) {
      if (c.lettura == LetturaCampione::kScomparso) continue;
      const std::string* campo = campo_letto(figura.data, c.ora, c.minuto);
      if (c.lettura == LetturaCampione::kLetto && campo == nullptr) return;
      stato.campioni.push_back({figura.data, c.ora, c.minuto, c.lettura,
                                c.lettura == LetturaCampione::kLetto ? *campo : std::string()});
    }
  }
  try {
    scrittore_.Write(file_stato_, testo_stato(stato));
  } catch (const Failure& guasto) {
    avvisa(std::string(guasto.what()) + "; the next run lists the whole sample directory");
  }
}

}  // namespace fof1plot
