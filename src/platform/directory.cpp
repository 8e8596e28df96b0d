#include "platform/directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
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

// The entries of a directory, read with getdents64 from its start through a duplicate of
// a descriptor open for reading: unlike opendir, no second open of the directory and no
// stat of it, each a round trip on a network mount. Calls each(name, type); throws the
// errno of a failed read.
template <typename Each>
void leggi_voci(int descrittore, Each&& each) {
  const int fd = ::fcntl(descrittore, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) throw errno;
  const struct Chiudi {
    int fd;
    ~Chiudi() { ::close(fd); }
  } chiudi{fd};
  if (::lseek(fd, 0, SEEK_SET) != 0) throw errno;
  alignas(8) char buffer[32768];
  for (;;) {
    const long letti = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer);
    if (letti < 0 && errno == EINTR) continue;
    if (letti < 0) throw errno;
    if (letti == 0) return;
    for (long pos = 0; pos < letti;) {
      struct Voce {
        ino64_t d_ino;
        off64_t d_off;
        unsigned short d_reclen;
        unsigned char d_type;
        char d_name[1];
      };
      const auto* voce = reinterpret_cast<const Voce*>(buffer + pos);
      each(static_cast<const char*>(voce->d_name), voce->d_type);
      pos += voce->d_reclen;
    }
  }
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
  // The descriptor kept for the current directory, or one that may only be searched, is
  // not open for reading: the directory is opened for the listing then.
  const int fd = at == AT_FDCWD || (at >= 0 && (::fcntl(at, F_GETFL) & O_PATH) != 0)
                     ? ::openat(at, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                     : at;
  if (fd < 0) throw Failure(directory, "cannot list", SystemReason(errno));
  const struct Chiudi {
    int fd, at;
    ~Chiudi() {
      if (fd != at) ::close(fd);
    }
  } chiudi{fd, at};
  std::string first;
  try {
    leggi_voci(fd, [&](const char* name, unsigned char type) {
      if (name[0] == '.' || !may_be_ordinary(type)) return;
      each_name(name);
      // The name decides before the file type is asked for, so a large directory costs
      // one stat per new leader rather than one per file.
      if (!first.empty() && !precede_nella_lista(name, first)) return;
      if (type == DT_REG || is_ordinary_file(fd, name)) first = name;
    });
  } catch (int error) {
    throw Failure(directory, "cannot list", SystemReason(error));
  }
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
