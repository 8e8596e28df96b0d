#include "platform/text_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "platform/failure.h"

namespace fof1plot {

std::string LineInput(const std::unique_ptr<TextFile>& file) {
  if (!file) throw Failure("file not open");
  return file->LineInput();
}

namespace {

class PosixTextFile : public TextFile {
 public:
  PosixTextFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PosixTextFile() override { ::close(fd_); }
  PosixTextFile(const PosixTextFile&) = delete;
  PosixTextFile& operator=(const PosixTextFile&) = delete;

  std::string LineInput() override {
    ++line_number_;
    if (!more()) throw Failure(path_, read_failure(), "end of file");
    std::string line;
    while (more()) {
      const char c = buffer_[begin_++];
      if (c == '\n') return line;
      if (c == '\r') {
        if (more() && buffer_[begin_] == '\n') ++begin_;
        return line;
      }
      if (line.size() < PosixTextFiles::kMaxLine) line += c;
    }
    return line;
  }

 private:
  std::string read_failure() const { return "cannot read line " + std::to_string(line_number_); }

  // True while bytes remain, refilling the buffer from the file when it runs dry; the
  // file ends for the reader after its first kMaxBytes.
  bool more() {
    if (begin_ < end_) return true;
    if (at_end_) return false;
    const std::size_t wanted = std::min(buffer_.size(), PosixTextFiles::kMaxBytes - consumed_);
    ssize_t got = 0;
    if (wanted > 0) {
      do {
        got = ::read(fd_, buffer_.data(), wanted);
      } while (got < 0 && errno == EINTR);
    }
    if (got < 0) throw Failure(path_, read_failure(), SystemReason(errno));
    begin_ = 0;
    end_ = static_cast<std::size_t>(got);
    consumed_ += end_;
    at_end_ = got == 0;
    return !at_end_;
  }

  int fd_;
  std::string path_;
  std::array<char, 4096> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  std::size_t consumed_ = 0;
  int line_number_ = 0;
  bool at_end_ = false;
};

constexpr const char* kNotOrdinary = "not an ordinary file";

}  // namespace

PosixTextFiles::~PosixTextFiles() {
  if (directory_fd_ >= 0) ::close(directory_fd_);
}

int PosixTextFiles::directory_of(const std::string& directory) {
  if (directory.empty()) return AT_FDCWD;
  if (directory_fd_ >= 0 && directory == open_directory_) return directory_fd_;
  if (directory_fd_ >= 0) ::close(directory_fd_);
  directory_fd_ = ::open(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  open_directory_ = directory_fd_ >= 0 ? directory : std::string();
  return directory_fd_;
}

int PosixTextFiles::open_ordinary(const std::string& path, std::string* reason) {
  // The reason is put in words only when the caller wants it; 0 stands for a file that
  // is not an ordinary one.
  const auto refuse = [reason](int error) {
    if (reason != nullptr) *reason = error != 0 ? SystemReason(error) : kNotOrdinary;
    return -1;
  };
  const auto slash = path.rfind('/');
  const std::size_t name_start = slash == std::string::npos ? 0 : slash + 1;
  const int directory = directory_of(path.substr(0, name_start));
  const char* name = path.c_str() + name_start;
  struct stat info;
  if (directory == -1 || ::fstatat(directory, name, &info, 0) != 0) return refuse(errno);
  if (!S_ISREG(info.st_mode)) return refuse(0);
  const int fd = ::openat(directory, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return refuse(errno);
  // Replaced by something else between the two looks.
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return refuse(0);
  }
  return fd;
}

std::unique_ptr<TextFile> PosixTextFiles::TryOpen(const std::string& path) {
  const int fd = open_ordinary(path, nullptr);
  if (fd < 0) return nullptr;
  return std::make_unique<PosixTextFile>(fd, path);
}

std::unique_ptr<TextFile> PosixTextFiles::Open(const std::string& path) {
  std::string reason;
  const int fd = open_ordinary(path, &reason);
  if (fd < 0) throw Failure(path, "cannot open", reason);
  return std::make_unique<PosixTextFile>(fd, path);
}

}  // namespace fof1plot
