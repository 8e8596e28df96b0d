#include "platform/confined_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/failure.h"

namespace fof1plot {
namespace {

// A descriptor closed when it goes out of scope.
struct Fd {
  int fd;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

int open_directory(const std::string& directory) {
  return ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

}  // namespace

std::vector<DirectoryEntry> ListCopies(const std::string& path) {
  const Fd dir{open_directory(path)};
  if (dir.fd < 0) throw Failure(path, "cannot list", SystemReason(errno));
  DIR* stream = ::fdopendir(::dup(dir.fd));
  if (stream == nullptr) throw Failure(path, "cannot list", SystemReason(errno));
  std::vector<DirectoryEntry> entries;
  errno = 0;
  while (const dirent* e = ::readdir(stream)) {
    if (e->d_name[0] == '.') continue;
    struct stat info;
    if (::fstatat(dir.fd, e->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISDIR(info.st_mode) || S_ISLNK(info.st_mode)) {
      entries.push_back({e->d_name, S_ISDIR(info.st_mode)});
    }
  }
  const int error = errno;
  ::closedir(stream);
  if (error != 0) throw Failure(path, "cannot list", SystemReason(error));
  std::sort(entries.begin(), entries.end(),
            [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
  return entries;
}

std::string ReadConfined(const std::string& directory, const std::string& name, std::size_t limit) {
  const std::string path = directory + name;
  const Fd dir{open_directory(directory)};
  if (dir.fd < 0) throw Failure(path, "cannot read", SystemReason(errno));
  const Fd file{
      ::openat(dir.fd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
  if (file.fd < 0) throw Failure(path, "cannot read", SystemReason(errno));
  struct stat info;
  if (::fstat(file.fd, &info) != 0) throw Failure(path, "cannot read", SystemReason(errno));
  if (!S_ISREG(info.st_mode)) throw Failure(path, "cannot read", "not an ordinary file");
  if (static_cast<std::size_t>(info.st_size) > limit) {
    throw Failure(path, "cannot read", "longer than " + std::to_string(limit) + " bytes");
  }
  // The file may grow while it is read: reading stops one byte past the limit.
  std::string content(static_cast<std::size_t>(info.st_size) + 1, '\0');
  std::size_t got = 0;
  while (got <= limit) {
    if (got == content.size()) content.resize(std::min(content.size() * 2, limit + 1));
    const ssize_t n = ::read(file.fd, content.data() + got, content.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw Failure(path, "cannot read", SystemReason(errno));
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got > limit) {
    throw Failure(path, "cannot read", "longer than " + std::to_string(limit) + " bytes");
  }
  content.resize(got);
  return content;
}

bool ConfinedFileExists(const std::string& directory, const std::string& name) {
  const Fd dir{open_directory(directory)};
  struct stat info;
  return dir.fd >= 0 && ::fstatat(dir.fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
         S_ISREG(info.st_mode);
}

}  // namespace fof1plot
