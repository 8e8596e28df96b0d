#include <string>

#include "platform/text.h"
#include "platform/whole_file.h"
#include "run/form1.h"

namespace fof1plot {

// The finished canvas, taken as a BMP picture in memory, becomes the published
// plotfoF1<k>.gif and the archived previous_foF1_plots/<yyyy><ddd>.gif; the year is the
// slot's own, from its month key. When the archive is being rebuilt, nothing is
// published. What became of the archived figure is recorded with the figure.
void Form1::salva_figura(const std::string& file_previsioni) {
  RegistroFigura& figura = corsa.figura();
  wpdlx1.Load(canvas.Image());
  if (corsa.pubblica()) {
    wpdlx1.WriteGif(cartella_uscita + "plotfoF1" + std::to_string(indice_giorno) + ".gif", false);
  }
  const std::string archiviata = cartella_lavoro + "previous_foF1_plots/" +
                                 Mid(file_previsioni, 3, 4) + giorno_anno(indice_giorno) + ".gif";
  // A figure that read no sample, or lost one it could not read, is archived only for a
  // day without a figure yet: the day's samples may have been pruned from the station's
  // disk, or the disk be unreachable or failing.
  if (figura.completa()) {
    figura.archivio =
        wpdlx1.WriteGif(archiviata, false) ? EsitoArchivio::kSostituita : EsitoArchivio::kNuova;
  } else {
    figura.archivio =
        wpdlx1.WriteNewGif(archiviata, false) ? EsitoArchivio::kNuova : EsitoArchivio::kMantenuta;
  }
  wpdlx1.Release();
}

// A run killed while it wrote may have left the hidden temporary name of a write in the
// work, archive, data or output directory, and a run of version 1.1.0 its temporary pictures
// grafico1.bmp to grafico6.bmp in the work directory; the lock keeps other runs of this
// work directory from writing meanwhile. Nothing is there in the common case.
void Form1::rimuovi_temporanei() {
  for (const std::string& path :
       {cartella_lavoro, DirectoryPart(cartella_uscita + "plotfoF1"),
        cartella_lavoro + "previous_foF1_plots/", cartella_lavoro + "previous_foF1_data/"}) {
    esegui_passo([&] { corsa.directory().Kill(DirectoryPart(path) + kTemporaryName); });
  }
  for (int k = 1; k <= 6; ++k) {
    esegui_passo(
        [&] { corsa.directory().Kill(cartella_lavoro + "grafico" + std::to_string(k) + ".bmp"); });
  }
}

}  // namespace fof1plot
