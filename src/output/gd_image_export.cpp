#include "output/gd_image_export.h"

#include <algorithm>
#include <cstring>

#include "platform/failure.h"
#include "platform/whole_file.h"

namespace fof1plot {

GdImageExport::GdImageExport() { SilenceLibgd(); }

void GdImageExport::Load(const Picture& picture) {
  const std::size_t area =
      static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
  if (picture.width < 1 || picture.height < 1 || picture.pixels.size() != area ||
      picture.palette.empty() || picture.palette.size() > gdMaxColors) {
    throw Failure("picture", "cannot load", "not a palette image");
  }
  GdImage immagine(gdImageCreate(picture.width, picture.height));
  if (!immagine) throw Failure("picture", "cannot load", "out of memory");
  // Allocated in order, each colour keeps its index, so the pixels are copied as they are.
  for (const Colore colore : picture.palette) {
    gdImageColorAllocate(immagine.get(), Rosso(colore), Verde(colore), Blu(colore));
  }
  for (int riga = 0; riga < picture.height; ++riga) {
    const std::uint8_t* sorgente =
        picture.pixels.data() + static_cast<std::size_t>(riga) * picture.width;
    if (*std::max_element(sorgente, sorgente + picture.width) >= picture.palette.size()) {
      throw Failure("picture", "cannot load", "a pixel outside the palette");
    }
    std::memcpy(immagine->pixels[riga], sorgente, static_cast<std::size_t>(picture.width));
  }
  immagine_ = std::move(immagine);
  gif_.clear();
}

const std::string& GdImageExport::gif() {
  if (!immagine_) throw Failure("no picture loaded");
  if (gif_.empty()) {
    int size = 0;
    void* bytes = gdImageGifPtr(immagine_.get(), &size);
    if (bytes == nullptr) throw Failure("cannot encode GIF");
    gif_.assign(static_cast<const char*>(bytes), static_cast<std::size_t>(size));
    gdFree(bytes);
  }
  return gif_;
}

WriteResult GdImageExport::WriteGif(const std::string& path, bool) {
  return WriteFileReplacing(path, gif());
}

bool GdImageExport::WriteNewGif(const std::string& path, bool) {
  return WriteFileUnlessPresent(path, gif());
}

std::set<Colore> GdImageExport::GifColours(const std::string& path) {
  const std::string bytes = ReadWholeFile(path);
  GdImage immagine(
      gdImageCreateFromGifPtr(static_cast<int>(bytes.size()), const_cast<char*>(bytes.data())));
  if (!immagine || immagine->trueColor) throw Failure(path, "cannot read", "not a GIF");
  std::set<int> indici;
  for (int riga = 0; riga < immagine->sy; ++riga) {
    indici.insert(immagine->pixels[riga], immagine->pixels[riga] + immagine->sx);
  }
  std::set<Colore> colori;
  for (const int i : indici) {
    colori.insert(RGB(gdImageRed(immagine.get(), i), gdImageGreen(immagine.get(), i),
                      gdImageBlue(immagine.get(), i)));
  }
  return colori;
}

void GdImageExport::Release() {
  immagine_.reset();
  gif_.clear();
}

}  // namespace fof1plot
