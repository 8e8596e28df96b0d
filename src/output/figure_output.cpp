#include <string>

#include "platform/text.h"
#include "platform/whole_file.h"
#include "run/form1.h"

namespace fof1plot {

// The finished canvas goes through grafico<k>.bmp in the work directory into the
// published plotfoF1<k>.gif and the archived previous_foF1_plots/<yyyy><ddd>.gif; the
// year is the slot's own, from its month key. The BMP is deleted at the end. When the
// archive is being rebuilt, nothing is published.
void Form1::salva_figura(const std::string& file_previsioni) {
  const std::string k = std::to_string(indice_giorno);
  const std::string bmp = cartella_lavoro + "grafico" + k + ".bmp";
  canvas.SavePicture(canvas.Image(), bmp);
  wpdlx1.Load(bmp);
  if (pubblica) wpdlx1.WriteGif(cartella_uscita + "plotfoF1" + k + ".gif", false);
  const std::string archiviata = cartella_lavoro + "previous_foF1_plots/" +
                                 Mid(file_previsioni, 3, 4) + giorno_anno(indice_giorno) + ".gif";
  // A figure that read no sample, or lost one it could not read, is archived only for a
  // day without a figure yet: the day's samples may have been pruned from the station's
  // disk, or the disk be unreachable or failing.
  if (campioni_letti > 0 && campioni_illeggibili == 0) {
    wpdlx1.WriteGif(archiviata, false);
  } else {
    wpdlx1.WriteNewGif(archiviata, false);
  }
  wpdlx1.Release();
  directory.Kill(bmp);
}

// A run killed while it wrote may have left the hidden temporary name of a write in the
// work, archive or output directory; the lock keeps other runs of this work directory
// from writing meanwhile. Nothing is there in the common case.
void Form1::rimuovi_temporanei() {
  for (const std::string& path : {cartella_lavoro + "grafico", cartella_uscita + "plotfoF1",
                                  cartella_lavoro + "previous_foF1_plots/"}) {
    esegui_passo([&] { directory.Kill(DirectoryPart(path) + kTemporaryName); });
  }
}

}  // namespace fof1plot
