#pragma once

#include <memory>
#include <string>

namespace fof1plot {

// A text file open for sequential reading, one line at a time; closed when destroyed.
class TextFile {
 public:
  virtual ~TextFile() = default;
  // The next line without its line end (CR LF, a lone CR or a lone LF); throws Failure
  // at the end of the file or when the file cannot be read.
  virtual std::string LineInput() = 0;
};

// Opens text files for reading.
class TextFiles {
 public:
  virtual ~TextFiles() = default;
  // Null when the file is missing, unreadable or not an ordinary file: a missing file
  // is the common case when looking for a day's samples, and costs no exception.
  virtual std::unique_ptr<TextFile> TryOpen(const std::string& path) = 0;
  // As TryOpen, but throws Failure where TryOpen gives null.
  std::unique_ptr<TextFile> Open(const std::string& path);
};

// Reads the next line of an open file; a file that is not open (null) fails like a read
// past the end.
std::string LineInput(const std::unique_ptr<TextFile>& file);

// Text files on the local file system. Lines longer than kMaxLine bytes keep their
// first kMaxLine bytes; nothing the program reads lies further along a line.
class PosixTextFiles : public TextFiles {
 public:
  static constexpr std::size_t kMaxLine = std::size_t{64} * 1024;
  std::unique_ptr<TextFile> TryOpen(const std::string& path) override;
};

}  // namespace fof1plot
