#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/failure.h"

namespace fof1plot {
namespace {

mode_t new_file_mode() {
  static const mode_t mode = [] {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The temporary name: hidden, beside the final one, so the rename stays in one file
// system and a listing of the directory does not show it.
std::string temporary_template(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::size_t name_start = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(0, name_start) + "." + path.substr(name_start) + ".XXXXXX";
}

}  // namespace

void WriteFileReplacing(const std::string& path, std::string_view bytes, Flush flush) {
  std::string temporary = temporary_template(path);
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) throw Failure("cannot create a file beside " + path);
  const bool written = ::fchmod(fd, new_file_mode()) == 0 && write_all(fd, bytes) &&
                       (flush == Flush::kNone || ::fsync(fd) == 0);
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    throw Failure("cannot write " + path);
  }
}

std::string ReadWholeFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw Failure("cannot open " + path);
  std::string content;
  struct stat info;
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  std::vector<char> chunk(std::size_t{64} * 1024);
  while (ok) {
    const ssize_t got = ::read(fd, chunk.data(), chunk.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    content.append(chunk.data(), static_cast<std::size_t>(got));
  }
  ::close(fd);
  if (!ok) throw Failure("cannot read " + path);
  return content;
}

}  // namespace fof1plot
