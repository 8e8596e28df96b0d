#include "platform/text_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/failure.h"

namespace fof1plot {

std::string LineInput(const std::unique_ptr<TextFile>& file) {
  if (!file) throw Failure("file not open");
  return file->LineInput();
}

std::optional<std::vector<std::string>> TryReadLines(TextFiles& files, const std::string& path) {
  const std::unique_ptr<TextFile> file = files.TryOpen(path);
  if (!file) return std::nullopt;
  std::vector<std::string> righe;
  while (!file->Eof()) righe.push_back(file->LineInput());
  return righe;
}

std::string ReadText(TextFiles& files, const std::string& path) {
  const std::unique_ptr<TextFile> file = files.Open(path);
  std::string testo;
  while (!file->Eof()) testo += file->LineInput() + "\n";
  return testo;
}

namespace {

// A system call that failed because it was interrupted or told to try again is tried
// again, a few times and after a growing pause; the last failure stands.
template <typename Call>
auto retrying(Call&& call) {
  constexpr int kAttempts = 5;
  for (int attempt = 1;; ++attempt) {
    const auto result = call();
    if (result >= 0 || (errno != EINTR && errno != EAGAIN) || attempt == kAttempts) {
      return result;
    }
    if (errno == EAGAIN) std::this_thread::sleep_for(std::chrono::milliseconds(1 << attempt));
  }
}

class PosixTextFile : public TextFile {
 public:
  PosixTextFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PosixTextFile() override { ::close(fd_); }
  PosixTextFile(const PosixTextFile&) = delete;
  PosixTextFile& operator=(const PosixTextFile&) = delete;

  std::string LineInput() override {
    if (!more()) throw Failure(path_, read_failure(), "end of file");
    std::string line;
    while (more()) {
      const char c = buffer_[begin_++];
      if (c == '\n') break;
      if (c == '\r') {
        if (more() && buffer_[begin_] == '\n') ++begin_;
        break;
      }
      if (line.size() < PosixTextFiles::kMaxLine) line += c;
    }
    ++line_number_;
    return line;
  }

  bool Eof() override { return !more(); }

  // One read, not tried again: true when it gave bytes, which the lines then start from.
  bool first_read() {
    const ssize_t got = ::read(fd_, buffer_.data(), buffer_.size());
    if (got <= 0) return false;
    end_ = consumed_ = static_cast<std::size_t>(got);
    return true;
  }

 private:
  // The line being read is the one after the last line returned.
  std::string read_failure() const {
    return "cannot read line " + std::to_string(line_number_ + 1);
  }

  // True while bytes remain, refilling the buffer from the file when it runs dry; the
  // file ends for the reader after its first kMaxBytes.
  bool more() {
    if (begin_ < end_) return true;
    if (at_end_) return false;
    const std::size_t wanted = std::min(buffer_.size(), PosixTextFiles::kMaxBytes - consumed_);
    ssize_t got = 0;
    if (wanted > 0) got = retrying([&] { return ::read(fd_, buffer_.data(), wanted); });
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

// Nothing is at the path: no file, a link to nothing, or a directory part missing.
bool nothing_there(int error) { return error == ENOENT || error == ENOTDIR; }

}  // namespace

int PosixTextFiles::open_file(const std::string& path, bool ordinary_only) {
  const auto slash = path.rfind('/');
  const std::size_t name_start = slash == std::string::npos ? 0 : slash + 1;
  const int directory = directories_->Descriptor(path.substr(0, name_start));
  const char* name = path.c_str() + name_start;
  if (directory == -1) return -1;
  struct stat info;
  if (ordinary_only) {
    if (::fstatat(directory, name, &info, 0) != 0) return -1;
    errno = 0;
    if (!S_ISREG(info.st_mode)) return -1;
  }
  const int fd = retrying(
      [&] { return ::openat(directory, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC); });
  if (fd < 0 || !ordinary_only) return fd;
  // Something other than an ordinary file put there since the first look.
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    errno = 0;
    return -1;
  }
  return fd;
}

std::unique_ptr<TextFile> PosixTextFiles::TryOpen(const std::string& path) {
  const int fd = open_file(path, false);
  if (fd < 0) {
    if (errno == 0 || nothing_there(errno)) return nullptr;
    throw Failure(path, "cannot open", SystemReason(errno));
  }
  auto file = std::make_unique<PosixTextFile>(fd, path);
  // An empty file, or one whose read failed, is read again by its lines, which then end
  // or fail with the reason.
  struct stat info;
  if (file->first_read() || (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))) return file;
  return nullptr;
}

std::unique_ptr<TextFile> PosixTextFiles::Open(const std::string& path) {
  const int fd = open_file(path, true);
  if (fd < 0) throw Failure(path, "cannot open", errno != 0 ? SystemReason(errno) : kNotOrdinary);
  return std::make_unique<PosixTextFile>(fd, path);
}

}  // namespace fof1plot
