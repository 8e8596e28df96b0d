#pragma once

#include "output/image_export.h"
#include "platform/libgd.h"

namespace fof1plot {

// Image export with libgd: the picture becomes a libgd palette image with the same
// palette, and the GIF is encoded in memory once per picture and written whole as often
// as asked.
class GdImageExport : public ImageExport {
 public:
  GdImageExport();
  void Load(const Picture& immagine) override;
  WriteResult WriteGif(const std::string& path, bool flag) override;
  bool WriteNewGif(const std::string& path, bool flag) override;
  std::set<Colore> GifColours(const std::string& path) override;
  void Release() override;

 private:
  // The GIF of the current picture, encoded at its first write.
  const std::string& gif();

  GdImage immagine_;
  std::string gif_;
};

}  // namespace fof1plot
