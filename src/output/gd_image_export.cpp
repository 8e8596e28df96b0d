#include "output/gd_image_export.h"

#include <sys/stat.h>

#include <climits>

#include "platform/failure.h"
#include "platform/whole_file.h"

namespace fof1plot {

GdImageExport::GdImageExport() { SilenceLibgd(); }

void GdImageExport::Load(const std::string& bmp) {
  if (bmp.size() > INT_MAX) throw Failure("picture", "cannot load", "picture too large");
  GdImage immagine(
      gdImageCreateFromBmpPtr(static_cast<int>(bmp.size()), const_cast<char*>(bmp.data())));
  if (!immagine) throw Failure("picture", "cannot load", "not a BMP picture");
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

bool GdImageExport::WriteGif(const std::string& path, bool) {
  struct stat info;
  const bool presente = ::lstat(path.c_str(), &info) == 0;
  WriteFileReplacing(path, gif());
  return presente;
}

bool GdImageExport::WriteNewGif(const std::string& path, bool) {
  return WriteFileUnlessPresent(path, gif());
}

void GdImageExport::Release() {
  immagine_.reset();
  gif_.clear();
}

}  // namespace fof1plot
