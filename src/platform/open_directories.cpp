#include "platform/open_directories.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace fof1plot {

OpenDirectories::~OpenDirectories() {
  for (const auto& [directory, fd] : open_) ::close(fd);
}

int OpenDirectories::Descriptor(const std::string& directory) {
  if (directory.empty()) return AT_FDCWD;
  const auto found = open_.find(directory);
  if (found != open_.end()) return found->second;
  // Open for reading, so that its listing needs no second open; a directory that may be
  // searched but not read is kept as a path.
  int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0 && errno == EACCES) fd = ::open(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) open_.emplace(directory, fd);
  return fd;
}

}  // namespace fof1plot
