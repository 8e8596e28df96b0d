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
  // The figure being saved read n sample files, and its forecast or not.
  void letti(std::size_t n, bool previsione = true) {
    corsa.figura().campioni.assign(n, CampioneRegistrato{});
    corsa.figura().previsione_letta = previsione;
  }
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

// The GIF a BMP of the picture gives once decoded, as the figures were made before the
// picture went to the export directly.
std::string gif_attraverso_bmp(const Picture& picture) {
  GdImage im(gdImageCreate(picture.width, picture.height));
  for (const Colore c : picture.palette) gdImageColorAllocate(im.get(), Rosso(c), Verde(c), Blu(c));
  for (int r = 0; r < picture.height; ++r) {
    for (int c = 0; c < picture.width; ++c) {
      gdImageSetPixel(im.get(), c, r,
                      picture.pixels[static_cast<std::size_t>(r * picture.width + c)]);
    }
  }
  int size = 0;
  void* bmp = gdImageBmpPtr(im.get(), &size, 1);
  GdImage letta(gdImageCreateFromBmpPtr(size, bmp));
  gdFree(bmp);
  void* gif = gdImageGifPtr(letta.get(), &size);
  std::string bytes(static_cast<const char*>(gif), static_cast<std::size_t>(size));
  gdFree(gif);
  return bytes;
}

TEST_F(SalvaFiguraTest, GifBytesAreThoseThePictureGaveThroughABmp) {
  // A second figure on the same canvas: the palette keeps the first figure's colours.
  canvas.Line(0, 0, 50, 50, RGB(255, 153, 0));
  canvas.Cls();
  form.disegno_dello_stage();
  canvas.FillStyle(0);
  canvas.FillColor(QBColor(12));
  canvas.Circle(100, 45, 2, QBColor(12));
  form.indice_giorno = 1;
  const std::string attesa = gif_attraverso_bmp(canvas.Image());
  form.salva_figura(form.mese_anno(1));
  EXPECT_EQ(ReadWholeFile(cartella / "out/plotfoF11.gif"), attesa);
  EXPECT_EQ(ReadWholeFile(cartella / "work/previous_foF1_plots/2024363.gif"), attesa);
}

TEST(GdImageExportTest, APictureThatIsNoPaletteImageFailsToLoad) {
  GdImageExport wpdlx1;
  const Picture kCasi[] = {{},
                           {2, 1, {0}, {0}, {}},
                           {1, 1, {}, {0}, {}},
                           {1, 1, {0}, {1}, {}},
                           {1, 1, std::vector<Colore>(257), {0}, {}}};
  for (const Picture& caso : kCasi) EXPECT_THROW(wpdlx1.Load(caso), Failure);
  EXPECT_THROW(wpdlx1.WriteGif("never.gif", false), Failure) << "nothing was loaded";
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
  letti(3, false);
  form.salva_figura(form.mese_anno(1));
  EXPECT_EQ(test::FiguraGif(archiviata).in_utente(100, 45), RGB(255, 0, 0))
      << "kept by a figure that lost its forecast";
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

TEST_F(SalvaFiguraTest, ArchivingAndPublishingEachGoOnWhenTheOtherFails) {
  const std::string archiviata = cartella / "work/previous_foF1_plots/2024365.gif";
  form.indice_giorno = 3;
  form.cartella_uscita = cartella / "gone/";
  form.salva_figura(form.mese_anno(3));
  EXPECT_TRUE(test::FiguraGif(archiviata).valida()) << "archived without an output directory";
  EXPECT_EQ(corsa.figura().archivio, EsitoArchivio::kNuova);
  EXPECT_TRUE(esiste(cartella / "work/previous_foF1_data/2024365.csv"));

  form.cartella_uscita = cartella / "out/";
  form.cartella_lavoro = cartella / "out/";
  corsa.nuova_figura(3, corsa.oggi());
  form.salva_figura(form.mese_anno(3));
  EXPECT_TRUE(test::FiguraGif(cartella / "out/plotfoF13.gif").valida())
      << "published without an archive folder";
  EXPECT_EQ(corsa.figura().archivio, EsitoArchivio::kNonScritta);
  EXPECT_TRUE(esiste(cartella / "out/plotfoF13.csv"));
  EXPECT_FALSE(esiste(cartella / "out/previous_foF1_data/2024365.csv"))
      << "no values archived without their figure";
  EXPECT_FALSE(esiste(cartella / "out/grafico3.bmp"));
  EXPECT_EQ(corsa.stato_di_uscita(), 1);
}

}  // namespace
}  // namespace fof1plot
