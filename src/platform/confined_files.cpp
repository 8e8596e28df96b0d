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

constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// A path named as given, with its final "/" (the messages name files after it).
std::string con_barra(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

}  // namespace

ConfinedDirectory::ConfinedDirectory(const std::string& path) : path_(con_barra(path)) {
  // Without its final "/", which would have the open follow a symbolic link there.
  std::string senza_barra = path;
  while (senza_barra.size() > 1 && senza_barra.back() == '/') senza_barra.pop_back();
  fd_ = ::open(senza_barra.c_str(), kDirectoryFlags);
  if (fd_ < 0) throw Failure(path_, "cannot open", SystemReason(errno));
}

ConfinedDirectory::ConfinedDirectory(const ConfinedDirectory& parent, const std::string& name)
    : path_(parent.path_ + name + "/") {
  if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..") {
    throw Failure(path_, "cannot open", "not a name of the directory");
  }
  fd_ = ::openat(parent.fd_, name.c_str(), kDirectoryFlags);
  if (fd_ < 0 && (errno == ELOOP || errno == ENOTDIR)) {
    throw Failure(path_, "cannot open", "a symbolic link or not a directory, not followed");
  }
  if (fd_ < 0) throw Failure(path_, "cannot open", SystemReason(errno));
}

ConfinedDirectory::~ConfinedDirectory() {
  if (fd_ >= 0) ::close(fd_);
}

std::vector<DirectoryEntry> ConfinedDirectory::List() const {
  DIR* stream = ::fdopendir(::dup(fd_));
  if (stream == nullptr) throw Failure(path_, "cannot list", SystemReason(errno));
  ::rewinddir(stream);
  std::vector<DirectoryEntry> entries;
  errno = 0;
  while (const dirent* e = ::readdir(stream)) {
    if (e->d_name[0] == '.') continue;
    struct stat info;
    if (::fstatat(fd_, e->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISDIR(info.st_mode) || S_ISLNK(info.st_mode)) {
      entries.push_back({e->d_name, S_ISDIR(info.st_mode)});
    }
  }
  const int error = errno;
  ::closedir(stream);
  if (error != 0) throw Failure(path_, "cannot list", SystemReason(error));
  std::sort(entries.begin(), entries.end(),
            [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
  return entries;
}

std::string ConfinedDirectory::Read(const std::string& name, std::size_t limit) const {
  const std::string path = path_ + name;
  const Fd file{
      ::openat(fd_, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
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

bool ConfinedDirectory::Holds(const std::string& name) const {
  struct stat info;
  return ::fstatat(fd_, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode);
}

bool ConfinedDirectory::HoldsDirectory(const std::string& name) const {
  struct stat info;
  return ::fstatat(fd_, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace fof1plot
