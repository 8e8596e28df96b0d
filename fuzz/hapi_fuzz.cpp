// A HAPI request's query and times: any bytes are read without a crash, a time that
// reads reads back the same from the form HAPI writes, and a parameter list that is
// taken names Time first and each parameter once, in the dataset's order.
#include <string>

#include "fuzz_support.h"
#include "hapi/hapi_datasets.h"
#include "hapi/hapi_request.h"
#include "hapi/hapi_time.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fof1plot;
  const std::string testo(reinterpret_cast<const char*>(data), size);
  if (const auto quando = leggi_tempo_hapi(testo)) {
    if (leggi_tempo_hapi(tempo_hapi(*quando)) != quando) {
      fuzz::viola("a time did not read back the same from the form HAPI writes");
    }
  }
  (void)leggi_richiesta("/data", testo);
  for (const TipoDataset tipo : {TipoDataset::kValori, TipoDataset::kPrevisione}) {
    const auto scelti = scegli_parametri(tipo, testo);
    if (const auto* indici = std::get_if<std::vector<std::size_t>>(&scelti)) {
      for (std::size_t i = 1; i < indici->size(); ++i) {
        if ((*indici)[0] != 0 || (*indici)[i] <= (*indici)[i - 1] ||
            (*indici)[i] >= parametri_dataset(tipo).size()) {
          fuzz::viola("a parameter list out of order, repeated or unknown was taken");
        }
      }
    }
  }
  return 0;
}
