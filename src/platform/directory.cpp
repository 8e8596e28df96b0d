#include "platform/directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

#include "platform/failure.h"

namespace fof1plot {
namespace {

bool is_ordinary_file(int directory, const char* name) {
  struct stat info;
  return ::fstatat(directory, name, &info, 0) == 0 && S_ISREG(info.st_mode);
}

// True when a comes before b in listing order: case-insensitive, bytewise on ties.
bool precede_nella_lista(const char* a, const std::string& b) {
  const int order = ::strcasecmp(a, b.c_str());
  return order < 0 || (order == 0 && a < b);
}

bool may_be_ordinary(unsigned char type) {
  return type == DT_REG || type == DT_LNK || type == DT_UNKNOWN;
}

class FlockLock : public DirectoryLock {
 public:
  explicit FlockLock(int fd) : fd_(fd) {}
  ~FlockLock() override { ::close(fd_); }
  FlockLock(const FlockLock&) = delete;
  FlockLock& operator=(const FlockLock&) = delete;

 private:
  int fd_;
};

}  // namespace

std::string PosixDirectory::Dir(const std::string& directory,
                                const std::function<void(std::string_view)>& each_name) {
  if (!directory.empty() && directory.back() != '/') {
    throw Failure(directory, "cannot list", "the path does not end in /");
  }
  const int at = directories_->Descriptor(directory);
  const int fd = at == -1 ? -1 : ::openat(at, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  std::unique_ptr<DIR, int (*)(DIR*)> dir(fd == -1 ? nullptr : ::fdopendir(fd), ::closedir);
  if (!dir) {
    const int error = errno;
    if (fd != -1) ::close(fd);
    throw Failure(directory, "cannot list", SystemReason(error));
  }
  std::string first;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir.get());
    if (entry == nullptr) break;
    const char* name = entry->d_name;
    if (name[0] == '.' || !may_be_ordinary(entry->d_type)) continue;
    each_name(name);
    // The name decides before the file type is asked for, so a large directory costs
    // one stat per new leader rather than one per file.
    if (!first.empty() && !precede_nella_lista(name, first)) continue;
    if (entry->d_type == DT_REG || is_ordinary_file(::dirfd(dir.get()), name)) first = name;
  }
  if (errno != 0) throw Failure(directory, "cannot list", SystemReason(errno));
  return first;
}

std::optional<FileIdentity> PosixDirectory::Identity(const std::string& path) {
  const std::size_t barra = path.rfind('/');
  const std::string cartella = barra == std::string::npos ? "" : path.substr(0, barra + 1);
  const std::string nome = path.substr(cartella.size());
  const int at = directories_->Descriptor(cartella);
  struct stat info;
  if (at == -1 || ::fstatat(at, nome.c_str(), &info, nome.empty() ? AT_EMPTY_PATH : 0) != 0) {
    return std::nullopt;
  }
  const auto ns = [](const timespec& t) {
    return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
  };
  return FileIdentity{info.st_dev, info.st_ino, info.st_size, ns(info.st_mtim), ns(info.st_ctim)};
}

std::string PosixDirectory::CurDir() {
  std::unique_ptr<char, void (*)(void*)> path(::getcwd(nullptr, 0), ::free);
  if (!path) throw Failure("current directory", "cannot tell", SystemReason(errno));
  std::string text = path.get();
  if (text.back() != '/') text += '/';
  return text;
}

void PosixDirectory::MkDir(const std::string& path) {
  struct stat info;
  if (::mkdir(path.c_str(), 0777) == 0) return;
  const int error = errno;
  if (error == EEXIST && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return;
  throw Failure(path, "cannot create the directory", SystemReason(error));
}

std::unique_ptr<DirectoryLock> PosixDirectory::Lock(const std::string& directory) {
  int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) fd = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) throw Failure(directory, "cannot lock", SystemReason(errno));
  auto lock = std::make_unique<FlockLock>(fd);
  const auto limit = std::chrono::steady_clock::now() + lock_wait_;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) {
      throw Failure(directory, "cannot lock", SystemReason(errno));
    }
    if (std::chrono::steady_clock::now() >= limit) {
      throw Failure(directory, "cannot lock", "another run still holds the lock");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return lock;
}

}  // namespace fof1plot
