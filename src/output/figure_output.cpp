#include <set>
#include <string>
#include <vector>

#include "canvas/colors.h"
#include "output/figure_data.h"
#include "platform/text.h"
#include "platform/whole_file.h"
#include "run/form1.h"

namespace fof1plot {

// The finished canvas becomes the archived previous_foF1_plots/<yyyy><ddd>.gif with its
// values beside it, then the published plotfoF1<k>.gif with its values; the year is the
// slot's own, from its month key. Archiving comes first and does not wait on
// publishing, nor publishing on archiving: the archive is what cannot be drawn again once
// the station has pruned its samples.
void Form1::salva_figura(const std::string& file_previsioni) {
  wpdlx1.Load(canvas.Image());
  // The values are put in words only when a file is written with them: a back-fill
  // keeps most archived days as they are and publishes nothing.
  std::vector<DatoFigura> dati;
  corsa.passo([&] { archivia_figura(file_previsioni, dati); });
  if (corsa.pubblica()) {
    if (dati.empty()) dati = dati_figura(corsa);
    corsa.figura().versione = impronta(dati);
    pubblica_figura(dati);
  }
  wpdlx1.Release();
}

namespace {

// Whether a figure of these colours shows its frame alone: no forecast curve (white), no
// value disc (light red), no N/A tick (light green) and no NO tick (orange).
bool solo_cornice(const std::set<Colore>& colori) {
  for (const Colore mostra : {QBColor(15), QBColor(12), QBColor(10), RGB(255, 153, 0)}) {
    if (colori.count(mostra) != 0) return false;
  }
  return true;
}

}  // namespace

// The archived GIF under the archive rule, and what became of it is recorded with the
// figure. A figure that lost an input (a listed sample it could not read, or its month's
// forecast) or read no sample replaces no archived figure: the day's samples may have been
// pruned from the station's disk, or the disk be unreachable or failing. Its values are
// archived only together with the GIF they describe, so that the archive never holds a
// figure beside another figure's values. A figure with its forecast and nothing unreadable
// does replace an archived figure that shows its frame alone, drawn while the forecast
// was missing: the day had no samples then either, and the curve is what it lacked.
// `dati` receives the values of an archived GIF, each data file archived noted in it.
void Form1::archivia_figura(const std::string& file_previsioni, std::vector<DatoFigura>& dati) {
  RegistroFigura& figura = corsa.figura();
  const std::string radice = Mid(file_previsioni, 3, 4) + giorno_anno(indice_giorno);
  const std::string archiviata = cartella_lavoro + "previous_foF1_plots/" + radice + ".gif";
  if (figura.completa()) {
    switch (wpdlx1.WriteGif(archiviata, false)) {
      case WriteResult::kCreated:
        figura.archivio = EsitoArchivio::kNuova;
        break;
      case WriteResult::kReplaced:
        figura.archivio = EsitoArchivio::kSostituita;
        break;
      case WriteResult::kUnchanged:
        figura.archivio = EsitoArchivio::kInvariata;
    }
  } else if (wpdlx1.WriteNewGif(archiviata, false)) {
    figura.archivio = EsitoArchivio::kNuova;
  } else if (figura.previsione_letta && figura.illeggibili() == 0 &&
             solo_cornice(wpdlx1.GifColours(archiviata))) {
    wpdlx1.WriteGif(archiviata, false);
    figura.archivio = EsitoArchivio::kSostituita;
  } else {
    figura.archivio = EsitoArchivio::kMantenuta;
    return;
  }
  dati = dati_figura(corsa);
  const std::string cartella = cartella_lavoro + "previous_foF1_data/";
  if (!corsa.crea_cartella(cartella)) return;
  for (DatoFigura& dato : dati) {
    const std::string path = cartella + radice + dato.estensione;
    if (corsa.passo([&] { corsa.scrittore().Write(path, dato.testo); })) dato.archiviato = path;
  }
}

// The published GIF and its values, each written on its own. A data file archived by this
// run holds the same bytes: the published one is a link to it, which costs no second write.
void Form1::pubblica_figura(const std::vector<DatoFigura>& dati) {
  const std::string pubblicata = cartella_uscita + "plotfoF1" + std::to_string(indice_giorno);
  corsa.passo([&] { wpdlx1.WriteGif(pubblicata + ".gif", false); });
  for (const DatoFigura& dato : dati) {
    const std::string path = pubblicata + dato.estensione;
    corsa.passo([&] {
      if (!dato.archiviato.empty()) {
        corsa.scrittore().Link(dato.archiviato, path);
      } else {
        corsa.scrittore().Write(path, dato.testo);
      }
    });
  }
}

// A run killed while it wrote may have left a temporary name of a write in the work,
// archive, data or output directory, and a run of version 1.1.0 its temporary pictures
// grafico1.bmp to grafico6.bmp in the work directory; the lock keeps other runs of this
// work directory from writing meanwhile. The temporaries' names carry the ID of the
// process that wrote them, so a listing of each directory finds them, and only what it
// finds is removed.
void Form1::rimuovi_temporanei() {
  std::set<std::string> immagini;
  for (int k = 1; k <= 6; ++k) immagini.insert("grafico" + std::to_string(k) + ".bmp");
  corsa.scrittore().RemoveTemporaries(DirectoryPart(cartella_lavoro), immagini);
  for (const std::string& path :
       {DirectoryPart(cartella_uscita + "plotfoF1"), cartella_lavoro + "previous_foF1_plots/",
        cartella_lavoro + "previous_foF1_data/"}) {
    corsa.scrittore().RemoveTemporaries(DirectoryPart(path));
  }
}

}  // namespace fof1plot
