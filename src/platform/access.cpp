#include "platform/access.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/failure.h"

namespace fof1plot {
namespace {

const char* or_here(const std::string& path) { return path.empty() ? "." : path.c_str(); }

}  // namespace

std::optional<std::string> DirectoryProblem(const std::string& directory) {
  struct stat info;
  if (::stat(or_here(directory), &info) != 0) return SystemReason(errno);
  if (!S_ISDIR(info.st_mode)) return SystemReason(ENOTDIR);
  return std::nullopt;
}

std::optional<std::string> AccessProblem(const std::string& path, bool read, bool write) {
  const int mode = X_OK | (read ? R_OK : 0) | (write ? W_OK : 0);
  if (::faccessat(AT_FDCWD, or_here(path), mode, AT_EACCESS) != 0) return SystemReason(errno);
  return std::nullopt;
}

std::optional<std::string> ReadProblem(const std::string& file) {
  if (::faccessat(AT_FDCWD, file.c_str(), R_OK, AT_EACCESS) != 0) return SystemReason(errno);
  return std::nullopt;
}

bool LockHeld(const std::string& directory) {
  const int fd = ::open(or_here(directory), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

}  // namespace fof1plot
