#include "platform/text_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "platform/failure.h"

namespace fof1plot {

std::unique_ptr<TextFile> TextFiles::Open(const std::string& path) {
  std::unique_ptr<TextFile> file = TryOpen(path);
  if (!file) throw Failure("cannot open " + path);
  return file;
}

std::string LineInput(const std::unique_ptr<TextFile>& file) {
  if (!file) throw Failure("file not open");
  return file->LineInput();
}

namespace {

class PosixTextFile : public TextFile {
 public:
  explicit PosixTextFile(int fd) : fd_(fd) {}
  ~PosixTextFile() override { ::close(fd_); }
  PosixTextFile(const PosixTextFile&) = delete;
  PosixTextFile& operator=(const PosixTextFile&) = delete;

  std::string LineInput() override {
    if (!more()) throw Failure("read past end of file");
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
  // True while bytes remain, refilling the buffer from the file when it runs dry.
  bool more() {
    if (begin_ < end_) return true;
    if (at_end_) return false;
    ssize_t got;
    do {
      got = ::read(fd_, buffer_.data(), buffer_.size());
    } while (got < 0 && errno == EINTR);
    if (got < 0) throw Failure("read error");
    begin_ = 0;
    end_ = static_cast<std::size_t>(got);
    at_end_ = got == 0;
    return !at_end_;
  }

  int fd_;
  std::array<char, 4096> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool at_end_ = false;
};

}  // namespace

std::unique_ptr<TextFile> PosixTextFiles::TryOpen(const std::string& path) {
  // Non-blocking, so that a FIFO left in a data directory cannot stall the run; only
  // ordinary files are read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixTextFile>(fd);
}

}  // namespace fof1plot
