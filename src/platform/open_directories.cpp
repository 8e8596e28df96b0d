#include "platform/open_directories.h"

#include <fcntl.h>
#include <unistd.h>

namespace fof1plot {

OpenDirectories::~OpenDirectories() {
  for (const auto& [directory, fd] : open_) ::close(fd);
}

int OpenDirectories::Descriptor(const std::string& directory) {
  if (directory.empty()) return AT_FDCWD;
  const auto found = open_.find(directory);
  if (found != open_.end()) return found->second;
  const int fd = ::open(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) open_.emplace(directory, fd);
  return fd;
}

}  // namespace fof1plot
