#pragma once

#include <gd.h>

#include <memory>

namespace fof1plot {

// libgd prints its complaints on stderr; the program reports its failures in its own
// words, one line each, so they are silenced. Every use of libgd calls this first;
// later calls change nothing.
void SilenceLibgd();

struct GdImageDeleter {
  void operator()(gdImagePtr image) const { gdImageDestroy(image); }
};
using GdImage = std::unique_ptr<gdImage, GdImageDeleter>;

}  // namespace fof1plot
