#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/failure.h"

namespace fof1plot {
namespace {

bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written == 0) errno = EIO;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Gives an unnamed file a name: directly where the process may, through /proc otherwise.
bool link_unnamed_once(int fd, const std::string& name) {
  if (::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;
  if (errno == EEXIST) return false;
  const std::string proc = "/proc/self/fd/" + std::to_string(fd);
  return ::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// As link_unnamed_once, at a temporary name that a killed process of the same ID may have
// left: that one is removed first.
bool link_unnamed_temporary(int fd, const std::string& name) {
  if (link_unnamed_once(fd, name)) return true;
  return errno == EEXIST && ::unlink(name.c_str()) == 0 && link_unnamed_once(fd, name);
}

// The new content on its way to its name: an unnamed file, or the hidden temporary name.
class NewFile {
 public:
  explicit NewFile(const std::string& path)
      : path_(path), temporary_(TemporaryName(DirectoryPart(path))) {
    const std::string directory = DirectoryPart(path);
    fd_ =
        ::open(directory.empty() ? "." : directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
      ::unlink(temporary_.c_str());
      fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      named_ = fd_ >= 0;
    }
    if (fd_ < 0) fail();
  }
  ~NewFile() {
    if (fd_ >= 0) ::close(fd_);
    if (named_) ::unlink(temporary_.c_str());
  }
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  void write(std::string_view bytes) {
    if (!write_all(fd_, bytes) || ::fsync(fd_) != 0) fail();
  }

  // Takes the final name, replacing what is there.
  void replace() {
    if (!named_) {
      if (!link_unnamed_temporary(fd_, temporary_)) fail();
      named_ = true;
    }
    close();
    if (::rename(temporary_.c_str(), path_.c_str()) != 0) fail();
    named_ = false;
  }

  // Takes the final name where it is free; false when it is not.
  bool add() {
    const bool linked =
        named_ ? ::link(temporary_.c_str(), path_.c_str()) == 0 : link_unnamed_once(fd_, path_);
    if (!linked && errno != EEXIST) fail();
    close();
    return linked;
  }

 private:
  void close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail();
  }
  [[noreturn]] void fail() { throw Failure(path_, "cannot write", SystemReason(errno)); }

  std::string path_;
  std::string temporary_;
  int fd_ = -1;
  bool named_ = false;
};

}  // namespace

WriteResult WriteFileReplacing(const std::string& path, std::string_view bytes) {
  struct stat info;
  const bool present = ::lstat(path.c_str(), &info) == 0;
  if (present && FileHolds(path, bytes)) return WriteResult::kUnchanged;
  NewFile file(path);
  file.write(bytes);
  file.replace();
  return present ? WriteResult::kReplaced : WriteResult::kCreated;
}

bool FileHolds(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  bool same = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
              static_cast<std::uint64_t>(info.st_size) == bytes.size();
  std::vector<char> chunk(std::min<std::size_t>(bytes.size() + 1, std::size_t{64} * 1024));
  while (same) {
    const ssize_t got = ::read(fd, chunk.data(), chunk.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      same = got == 0 && bytes.empty();
      break;
    }
    const std::size_t n = static_cast<std::size_t>(got);
    same = n <= bytes.size() && std::memcmp(chunk.data(), bytes.data(), n) == 0;
    bytes.remove_prefix(std::min(n, bytes.size()));
  }
  ::close(fd);
  return same;
}

bool WriteFileUnlessPresent(const std::string& path, std::string_view bytes) {
  // The common case costs no write and no flush; the link below still decides a race.
  struct stat info;
  if (::lstat(path.c_str(), &info) == 0) return false;
  NewFile file(path);
  file.write(bytes);
  return file.add();
}

std::string DirectoryPart(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

std::string TemporaryName(const std::string& directory) {
  return directory + std::string(kTemporaryName) + "." + std::to_string(::getpid());
}

std::string ReadWholeFile(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) throw Failure(path, "cannot read", SystemReason(errno));
  if (!S_ISREG(info.st_mode)) throw Failure(path, "cannot read", "not an ordinary file");
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) throw Failure(path, "cannot read", SystemReason(errno));
  std::string content;
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
  const int error = errno;
  ::close(fd);
  if (!ok) throw Failure(path, "cannot read", SystemReason(error));
  return content;
}

}  // namespace fof1plot
