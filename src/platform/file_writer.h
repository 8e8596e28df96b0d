#pragma once

#include <set>
#include <string>
#include <string_view>

#include "platform/whole_file.h"

namespace fof1plot {

// Writes whole files, all or nothing, as the figures are written.
class FileWriter {
 public:
  virtual ~FileWriter() = default;
  // Replaces the file at path with bytes, unless it holds those bytes already; throws
  // Failure, naming path and the system's reason, leaving the old file as it was, when
  // the write fails.
  virtual WriteResult Write(const std::string& path, std::string_view bytes) = 0;
  // As Write where nothing is at path yet; where something is, it is left as it was
  // and the result is false.
  virtual bool WriteNew(const std::string& path, std::string_view bytes) = 0;
  // Gives the file at `from` the name `to` as well, replacing what is there, all or
  // nothing: a hard link where the file system allows one, a copy elsewhere. Where `to`
  // already is that file, or holds the same bytes, nothing changes. Throws Failure as Write does.
  virtual void Link(const std::string& from, const std::string& to) = 0;
  // Removes from `directory` (ending in "/", or empty for the current directory) the
  // temporary names that writes killed in their last instant left, and the names among
  // `leftovers` that its listing shows; never throws.
  virtual void RemoveTemporaries(const std::string& directory,
                                 const std::set<std::string>& leftovers = {}) = 0;
};

// The local file system, through WriteFileReplacing and WriteFileUnlessPresent; a link
// goes through the process's hidden temporary name, then a rename.
class PosixFileWriter : public FileWriter {
 public:
  WriteResult Write(const std::string& path, std::string_view bytes) override;
  bool WriteNew(const std::string& path, std::string_view bytes) override;
  void Link(const std::string& from, const std::string& to) override;
  void RemoveTemporaries(const std::string& directory,
                         const std::set<std::string>& leftovers = {}) override;
};

}  // namespace fof1plot
