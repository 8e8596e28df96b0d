#pragma once

#include <string>

namespace fof1plot {

// The directory operations of the run.
class Directory {
 public:
  virtual ~Directory() = default;
  // The full path of the process's current directory; throws Failure when unknown.
  virtual std::string CurDir() = 0;
  // The first ordinary file that a pattern names, without its directory: for a pattern
  // ending in "/" (or empty, the current directory) the directory's first ordinary
  // file, otherwise the named file itself. Empty when there is none; throws Failure when
  // the directory cannot be listed.
  virtual std::string Dir(const std::string& pattern) = 0;
  // Deletes a file; throws Failure when it cannot.
  virtual void Kill(const std::string& path) = 0;
};

// The local file system. Its listings have no order of their own, so the first file is
// the first in case-insensitive name order (bytewise on ties); hidden files (a leading
// ".") and everything that is not an ordinary file, or a link to one, are passed over.
class PosixDirectory : public Directory {
 public:
  std::string CurDir() override;
  std::string Dir(const std::string& pattern) override;
  void Kill(const std::string& path) override;
};

}  // namespace fof1plot
