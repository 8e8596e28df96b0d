#pragma once

#include <memory>
#include <string>

namespace fof1plot {

// A text file open for sequential reading, one line at a time; closed when destroyed.
class TextFile {
 public:
  virtual ~TextFile() = default;
  // The next line without its line end (CR LF, a lone CR or a lone LF); throws Failure,
  // naming the file and the line, at the end of the file or when it cannot be read.
  virtual std::string LineInput() = 0;
};

// Opens text files for reading. Only ordinary files (or links to one) are opened.
class TextFiles {
 public:
  virtual ~TextFiles() = default;
  // Null when the file is missing, unreadable or not an ordinary file: a missing file
  // is the common case when reading a day's samples, and costs no exception.
  virtual std::unique_ptr<TextFile> TryOpen(const std::string& path) = 0;
  // As TryOpen, but throws Failure with the system's reason where TryOpen gives null.
  virtual std::unique_ptr<TextFile> Open(const std::string& path) = 0;
};

// Reads the next line of an open file; a file that is not open (null) fails like a read
// past the end.
std::string LineInput(const std::unique_ptr<TextFile>& file);

// Text files on the local file system. A file's type is checked before it is opened, so
// a FIFO, socket or device is never opened, and again on the open descriptor. Files are
// opened relative to a descriptor of their directory, kept while the same directory is
// asked for. Only the first kMaxBytes of a file are read: what lies further reads as the
// end of the file. Lines longer than kMaxLine bytes keep their first kMaxLine bytes.
class PosixTextFiles : public TextFiles {
 public:
  static constexpr std::size_t kMaxLine = std::size_t{64} * 1024;
  static constexpr std::size_t kMaxBytes = std::size_t{1024} * 1024;

  PosixTextFiles() = default;
  ~PosixTextFiles() override;
  PosixTextFiles(const PosixTextFiles&) = delete;
  PosixTextFiles& operator=(const PosixTextFiles&) = delete;

  std::unique_ptr<TextFile> TryOpen(const std::string& path) override;
  std::unique_ptr<TextFile> Open(const std::string& path) override;

 private:
  // The descriptor of a file's ordinary file, or -1 with the reason in `reason`.
  int open_ordinary(const std::string& path, std::string* reason);
  // A descriptor of the directory part of a path (up to its last "/").
  int directory_of(const std::string& directory);

  std::string open_directory_;
  int directory_fd_ = -1;
};

}  // namespace fof1plot
