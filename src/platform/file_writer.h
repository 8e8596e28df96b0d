#pragma once

#include <string>
#include <string_view>

namespace fof1plot {

// Writes whole files, all or nothing, as the figures are written.
class FileWriter {
 public:
  virtual ~FileWriter() = default;
  // Replaces the file at path with bytes; throws Failure, naming path and the system's
  // reason, leaving the old file as it was, when the write fails.
  virtual void Write(const std::string& path, std::string_view bytes) = 0;
  // As Write where nothing is at path yet; where something is, it is left as it was
  // and the result is false.
  virtual bool WriteNew(const std::string& path, std::string_view bytes) = 0;
};

// The local file system, through WriteFileReplacing and WriteFileUnlessPresent.
class PosixFileWriter : public FileWriter {
 public:
  void Write(const std::string& path, std::string_view bytes) override;
  bool WriteNew(const std::string& path, std::string_view bytes) override;
};

}  // namespace fof1plot
