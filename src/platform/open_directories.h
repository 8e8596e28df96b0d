#pragma once

#include <map>
#include <string>

namespace fof1plot {

// The directories a run reads from, each opened once and kept open until the run ends,
// so that every file of a directory is read from the directory first looked at, even
// when its path is renamed or replaced meanwhile. Shared by the text files and the
// directory listing.
class OpenDirectories {
 public:
  OpenDirectories() = default;
  ~OpenDirectories();
  OpenDirectories(const OpenDirectories&) = delete;
  OpenDirectories& operator=(const OpenDirectories&) = delete;

  // A descriptor of a directory given as a path ending in "/" (AT_FDCWD for the empty
  // path); -1 with errno set when it cannot be opened, in which case the next call tries
  // again.
  int Descriptor(const std::string& directory);

 private:
  std::map<std::string, int> open_;
};

}  // namespace fof1plot
