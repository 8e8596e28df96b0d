#pragma once

#include <chrono>

#include "run/form1.h"
#include "support/fakes.h"

namespace fof1plot::test {

// A plot window wired to fakes, its clock on 5 March 2025 and its directories set as a
// settings file would set them; a figure of that day is begun, so that the procedures
// can be called on their own.
struct Banco {
  explicit Banco(DrawingSurface& canvas) : form(canvas, wpdlx1, corsa) {
    form.cartella_lavoro = "/work/";
    form.cartella_dati = "/data/";
    form.cartella_uscita = "/out/";
    const std::chrono::sys_days oggi = clock.oggi;
    corsa.prepara_giorni(oggi - std::chrono::days{5}, oggi);
    corsa.nuova_figura(0, oggi);
  }
  // The failure lines the run tells at its end.
  std::vector<std::string> righe() {
    corsa.riferisci_guasti();
    return diagnostica.righe;
  }
  FakeImageExport wpdlx1;
  FakeTextFiles files;
  FakeDirectory directory;
  FixedClock clock{std::chrono::year{2025} / 3 / 5};
  FakeDiagnostics diagnostica;
  FakeFileWriter scrittore;
  Corsa corsa{files, directory, clock, diagnostica, scrittore};
  Form1 form;
};

// The same with a fake drawing surface of its own.
struct BancoFinto : FakeSurface, Banco {
  BancoFinto() : Banco(static_cast<FakeSurface&>(*this)) {}
  FakeSurface& canvas() { return *this; }
};

// A daily run's station on the bench: gralvo.ini naming /w/, /d/ and /o/, the forecasts
// of February and March 2025, and a Rome station with one value on 5 March at 10:15.
inline void stazione_di_marzo(Banco& banco) {
  banco.form.cartella_lavoro.clear();
  banco.form.cartella_dati.clear();
  banco.form.cartella_uscita.clear();
  banco.files.aggiungi("gralvo.ini", {"", "/w/", "", "/d/", "", "/o/"});
  banco.files.aggiungi("/w/022025.txt", previsione_a_zero());
  banco.files.aggiungi("/w/032025.txt", previsione_a_zero());
  banco.files.aggiungi("/d/station.txt", {"Rome"});
  banco.files.aggiungi("/d/RM041_2025064101500.TXT", campione(" 4.5"));
  banco.directory.elenchi["/d/"] = {"station.txt", "RM041_2025064101500.TXT"};
}

}  // namespace fof1plot::test
