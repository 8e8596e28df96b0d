#include <gtest/gtest.h>

#include "canvas/gd_surface.h"
#include "canvas/plot_window.h"
#include "output/gd_image_export.h"
#include "platform/failure.h"
#include "platform/whole_file.h"
#include "run/form1.h"
#include "support/fakes.h"
#include "support/figures.h"

namespace fof1plot {
namespace {

using test::esiste;

// The real canvas, exporter and files in a temporary work tree.
class SalvaFiguraTest : public ::testing::Test {
 protected:
  SalvaFiguraTest() {
    test::crea_cartella(cartella / "work/previous_foF1_plots");
    test::crea_cartella(cartella / "out");
    form.cartella_lavoro = cartella / "work/";
    form.cartella_uscita = cartella / "out/";
    form.impostazioni_dimensioni_e_scala_del_form();
    form.calcola_giorni();
    corsa.nuova_figura(1, corsa.oggi());
  }
  // The figure being saved read n sample files.
  void letti(std::size_t n) { corsa.figura().campioni.assign(n, CampioneRegistrato{}); }
  test::CartellaTemporanea cartella;
  GdSurface canvas{kTwipsPerPixel, kColoreSfondo, kColoreTesto};
  GdImageExport wpdlx1;
  PosixTextFiles files;
  PosixDirectory directory;
  test::FixedClock clock{std::chrono::year{2025} / 1 / 2};
  test::FakeDiagnostics diagnostica;
  PosixFileWriter scrittore;
  Corsa corsa{files, directory, clock, diagnostica, scrittore};
  Form1 form{canvas, wpdlx1, corsa};
};

TEST_F(SalvaFiguraTest, BothGifsHoldEveryPixelOfTheCanvasAndNoBmpIsWritten) {
  form.disegno_dello_stage();
  canvas.FillStyle(0);
  canvas.FillColor(QBColor(12));
  canvas.Circle(100, 45, 2, QBColor(12));
  canvas.Line(5, 1, 5, 8, RGB(255, 153, 0));
  form.indice_giorno = 1;
  form.salva_figura(form.mese_anno(1));
  for (const std::string gif : {"out/plotfoF11.gif", "work/previous_foF1_plots/2024363.gif"}) {
    const test::FiguraGif figura(cartella / gif);
    ASSERT_TRUE(figura.valida()) << gif;
    ASSERT_EQ(figura.larghezza(), 286);
    ASSERT_EQ(figura.altezza(), 221);
    int diversi = 0;
    for (int r = 0; r < 221; ++r) {
      for (int c = 0; c < 286; ++c) diversi += figura.pixel(c, r) != canvas.colore_pixel(c, r);
    }
    EXPECT_EQ(diversi, 0) << gif;
    EXPECT_EQ(figura.in_utente(100, 45), RGB(255, 0, 0));
  }
  EXPECT_FALSE(esiste(cartella / "work/grafico1.bmp"));
}

TEST_F(SalvaFiguraTest, ArchiveTakesTheYearOfTheSlotsOwnMonthKey) {
  for (std::int16_t k : {1, 6}) {
    form.indice_giorno = k;
    form.salva_figura(form.mese_anno(k));
  }
  EXPECT_TRUE(esiste(cartella / "work/previous_foF1_plots/2024363.gif"));
  EXPECT_TRUE(esiste(cartella / "work/previous_foF1_plots/2025002.gif"));
  EXPECT_TRUE(esiste(cartella / "out/plotfoF16.gif"));
}

TEST_F(SalvaFiguraTest, AFigureWithoutValuesNeverReplacesAnArchivedOne) {
  const std::string archiviata = cartella / "work/previous_foF1_plots/2024363.gif";
  const std::string pubblicata = cartella / "out/plotfoF11.gif";
  form.indice_giorno = 1;
  letti(0);
  form.salva_figura(form.mese_anno(1));
  ASSERT_TRUE(test::FiguraGif(archiviata).valida()) << "a day without a figure gets one";
  EXPECT_EQ(corsa.figura().archivio, EsitoArchivio::kNuova);
  canvas.FillStyle(0);
  canvas.FillColor(QBColor(12));
  canvas.Circle(100, 45, 2, QBColor(12));
  letti(3);
  form.salva_figura(form.mese_anno(1));
  ASSERT_EQ(test::FiguraGif(archiviata).in_utente(100, 45), RGB(255, 0, 0)) << "values replace";
  EXPECT_EQ(corsa.figura().archivio, EsitoArchivio::kSostituita);
  canvas.Cls();
  letti(0);
  form.salva_figura(form.mese_anno(1));
  EXPECT_EQ(test::FiguraGif(archiviata).in_utente(100, 45), RGB(255, 0, 0)) << "kept";
  EXPECT_EQ(corsa.figura().archivio, EsitoArchivio::kMantenuta);
  EXPECT_EQ(test::FiguraGif(pubblicata).in_utente(100, 45), RGB(0, 0, 0)) << "still published";
  EXPECT_FALSE(esiste(cartella / "work/grafico1.bmp"));
}

TEST_F(SalvaFiguraTest, WorkDirectoryWithoutSeparatorRunsIntoTheName) {
  test::crea_cartella(cartella / "ionoprevious_foF1_plots");
  form.cartella_lavoro = cartella / "iono";
  form.indice_giorno = 2;
  form.salva_figura(form.mese_anno(2));
  EXPECT_TRUE(esiste(cartella / "ionoprevious_foF1_plots/2024364.gif"));
}

TEST_F(SalvaFiguraTest, MissingArchiveFolderStillPublishesAndLeavesNoPicture) {
  form.cartella_lavoro = cartella / "out/";
  form.indice_giorno = 3;
  EXPECT_THROW(form.salva_figura(form.mese_anno(3)), Failure);
  EXPECT_TRUE(test::FiguraGif(cartella / "out/plotfoF13.gif").valida());
  EXPECT_FALSE(esiste(cartella / "out/grafico3.bmp"));
  EXPECT_EQ(corsa.figura().archivio, EsitoArchivio::kNonScritta);
}

TEST_F(SalvaFiguraTest, MissingOutputDirectoryKeepsThePreviousFigure) {
  form.indice_giorno = 4;
  form.salva_figura(form.mese_anno(4));
  const std::string precedente = ReadWholeFile(cartella / "out/plotfoF14.gif");
  form.cartella_uscita = cartella / "gone/";
  canvas.Line(0, 0, 100, 100, RGB(255, 0, 0));
  EXPECT_THROW(form.salva_figura(form.mese_anno(4)), Failure);
  EXPECT_EQ(ReadWholeFile(cartella / "out/plotfoF14.gif"), precedente);
}

}  // namespace
}  // namespace fof1plot
