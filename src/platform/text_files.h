#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/open_directories.h"

namespace fof1plot {

// A text file open for sequential reading, one line at a time; closed when destroyed.
class TextFile {
 public:
  virtual ~TextFile() = default;
  // The next line without its line end (CR LF, a lone CR or a lone LF); throws Failure,
  // naming the file and the line, at the end of the file or when it cannot be read.
  virtual std::string LineInput() = 0;
  // True when no line is left; throws Failure, naming the file, when it cannot be read.
  virtual bool Eof() = 0;
};

// Opens text files for reading. Only ordinary files (or links to one) are opened.
class TextFiles {
 public:
  virtual ~TextFiles() = default;
  // For a file a directory listing showed as an ordinary file or a link: null when no
  // ordinary file is at path (nothing there, a link to nothing, or a link to a directory,
  // FIFO, socket or device that gives no bytes). Throws Failure with the system's reason
  // when a file is there but cannot be opened (no permission, an I/O error).
  virtual std::unique_ptr<TextFile> TryOpen(const std::string& path) = 0;
  // As TryOpen, but throws Failure with the reason where TryOpen gives null.
  virtual std::unique_ptr<TextFile> Open(const std::string& path) = 0;
};

// Reads the next line of an open file; a file that is not open (null) fails like a read
// past the end.
std::string LineInput(const std::unique_ptr<TextFile>& file);

// Every line of the file at path, opened as TryOpen opens it; none where TryOpen gives
// null. Throws Failure as TryOpen and LineInput do.
std::optional<std::vector<std::string>> TryReadLines(TextFiles& files, const std::string& path);

// The whole text of the file at path, opened with Open, each line ended by "\n"; throws
// Failure as Open and LineInput do.
std::string ReadText(TextFiles& files, const std::string& path);

// Text files on the local file system. Open checks a file's type before it opens it, so
// a FIFO, socket or device at the name of a settings, forecast or station file is never
// opened, and again on the open descriptor. TryOpen, for the samples a listing showed as
// ordinary files or links, opens without blocking and without taking a terminal and reads
// at once: only a file whose first read gives nothing or fails is asked its type, so a
// directory of samples costs no look per file, and something put at a sample's name since
// the listing is never waited on (one that gives bytes at once is read as they come). Files are
// opened relative to a descriptor of their directory, opened once a run (see
// OpenDirectories). An open or a read interrupted or told to try again is tried again a
// few times before it fails. Only the first kMaxBytes of a file are read: what lies
// further reads as the end of the file. Lines longer than kMaxLine bytes keep their
// first kMaxLine bytes.
class PosixTextFiles : public TextFiles {
 public:
  static constexpr std::size_t kMaxLine = std::size_t{64} * 1024;
  static constexpr std::size_t kMaxBytes = std::size_t{1024} * 1024;

  explicit PosixTextFiles(
      std::shared_ptr<OpenDirectories> directories = std::make_shared<OpenDirectories>())
      : directories_(std::move(directories)) {}

  std::unique_ptr<TextFile> TryOpen(const std::string& path) override;
  std::unique_ptr<TextFile> Open(const std::string& path) override;

 private:
  // The descriptor of the file at path, opened relative to its directory; with
  // `ordinary_only`, its type is looked at before and after the open. -1 with errno set
  // when it cannot be opened, and errno 0 when something other than an ordinary file is
  // there.
  int open_file(const std::string& path, bool ordinary_only);

  std::shared_ptr<OpenDirectories> directories_;
};

}  // namespace fof1plot
