#pragma once

#include <set>
#include <string>

#include "canvas/colors.h"
#include "canvas/picture.h"
#include "platform/whole_file.h"

namespace fof1plot {

// The image-export component of the plot window: turns the picture of a figure into GIF
// files. Each operation throws Failure when it cannot do its work.
class ImageExport {
 public:
  virtual ~ImageExport() = default;
  // The canvas's palette image becomes the current picture.
  virtual void Load(const Picture& immagine) = 0;
  // Writes the current picture as a GIF file, pixel for pixel, replacing a file of that
  // name unless it holds the same bytes already; the flag is passed on as given.
  virtual WriteResult WriteGif(const std::string& path, bool flag) = 0;
  // As WriteGif where no file of that name exists yet; where one does, it is left as it
  // was and the result is false.
  virtual bool WriteNewGif(const std::string& path, bool flag) = 0;
  // The colours that the pixels of the GIF file at path show; throws Failure when it
  // cannot be read or is not a GIF.
  virtual std::set<Colore> GifColours(const std::string& path) = 0;
  // Lets go of the current picture.
  virtual void Release() = 0;
};

}  // namespace fof1plot
