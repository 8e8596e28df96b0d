#include "output/gd_image_export.h"

#include <climits>

#include "platform/failure.h"
#include "platform/whole_file.h"

namespace fof1plot {

GdImageExport::GdImageExport() { SilenceLibgd(); }

void GdImageExport::Load(const std::string& path) {
  std::string bmp = ReadWholeFile(path);
  if (bmp.size() > INT_MAX) throw Failure("picture too large: " + path);
  GdImage immagine(gdImageCreateFromBmpPtr(static_cast<int>(bmp.size()), bmp.data()));
  if (!immagine) throw Failure("not a BMP picture: " + path);
  immagine_ = std::move(immagine);
  gif_.clear();
}

void GdImageExport::WriteGif(const std::string& path, bool) {
  if (!immagine_) throw Failure("no picture loaded");
  if (gif_.empty()) {
    int size = 0;
    void* bytes = gdImageGifPtr(immagine_.get(), &size);
    if (bytes == nullptr) throw Failure("cannot encode GIF");
    gif_.assign(static_cast<const char*>(bytes), static_cast<std::size_t>(size));
    gdFree(bytes);
  }
  WriteFileReplacing(path, gif_);
}

void GdImageExport::Release() {
  immagine_.reset();
  gif_.clear();
}

}  // namespace fof1plot
