#pragma once

#include "output/image_export.h"
#include "platform/libgd.h"

namespace fof1plot {

// Image export with libgd: the BMP is decoded into a palette image, and each GIF is
// encoded in memory and written whole.
class GdImageExport : public ImageExport {
 public:
  GdImageExport();
  void Load(const std::string& path) override;
  void WriteGif(const std::string& path, bool flag) override;
  void Release() override;

 private:
  GdImage immagine_;
};

}  // namespace fof1plot
