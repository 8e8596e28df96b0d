#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/figures.h"

namespace fof1plot::test {

// A station tree as a Rome scaling process leaves it: gralvo.ini, the forecasts of
// December 2024 and January 2025 (20 MHz at 12 UT in January), four samples of
// 3 January 2025 (values at 10:15 and 10:30, "N/A" at 11:00, "NO" at 11:15), and the
// work, archive and output directories. The run is on 3 January 2025, 10:00 UTC.
class Albero {
 public:
  Albero();
  // The path of the sample file of a minute of 3 January 2025.
  std::string nome_campione(int ora, int minuto) const;
  void campione(int ora, int minuto, const std::string& campo);
  int esegui() const;
  // Decodes every published and archived figure; false names the first that is not a
  // whole figure.
  ::testing::AssertionResult figure_intere() const;

  // Runs the program in the tree on that day, with arguments; its exit status and output.
  Esito avvia(const std::vector<std::string>& argomenti = {}, bool come_nobody = false) const;
  // The red pixels of the archived figure of 3 January 2025.
  int rossi_archiviati() const;

  CartellaTemporanea cartella;
};

// Every file and directory of a tree open to every user, so that a run as nobody meets
// only the faults a test makes.
void aperto_a_tutti(const CartellaTemporanea& cartella);

// The same tree as a test fixture.
class AlberoStazione : public ::testing::Test, public Albero {};

}  // namespace fof1plot::test
