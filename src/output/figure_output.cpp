#include <string>

#include "platform/text.h"
#include "run/form1.h"

namespace fof1plot {

// The finished canvas goes through grafico<k>.bmp in the work directory into the
// published plotfoF1<k>.gif and the archived previous_foF1_plots/<yyyy><ddd>.gif; the
// year is the slot's own, from its month key. The BMP is deleted at the end.
void Form1::salva_figura(const std::string& file_previsioni) {
  const std::string k = std::to_string(indice_giorno);
  const std::string bmp = cartella_lavoro + "grafico" + k + ".bmp";
  canvas.SavePicture(canvas.Image(), bmp);
  wpdlx1.Load(bmp);
  wpdlx1.WriteGif(cartella_uscita + "plotfoF1" + k + ".gif", false);
  ++figure_scritte;
  wpdlx1.WriteGif(cartella_lavoro + "previous_foF1_plots/" + Mid(file_previsioni, 3, 4) +
                      giorno_anno(indice_giorno) + ".gif",
                  false);
  ++figure_scritte;
  wpdlx1.Release();
  directory.Kill(bmp);
}

}  // namespace fof1plot
