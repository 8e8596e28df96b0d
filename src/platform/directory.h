#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/open_directories.h"

namespace fof1plot {

// A lock held on a directory until the object goes.
class DirectoryLock {
 public:
  virtual ~DirectoryLock() = default;
};

// What tells one state of a file or directory from another: its device and inode, its
// size, and the times of its last change of content and of status, in nanoseconds. A
// file written or replaced, or a directory that gained or lost a name, has another.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modified_ns = 0;
  std::int64_t changed_ns = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The directory operations of the run.
class Directory {
 public:
  virtual ~Directory() = default;
  // Lists a directory (a path ending in "/", or empty for the current directory) once:
  // hands the name of every entry that may be an ordinary file to `each_name`, in the
  // listing's order, and returns the first ordinary file's name, empty when there is
  // none. Throws Failure when the directory cannot be listed.
  virtual std::string Dir(const std::string& directory,
                          const std::function<void(std::string_view)>& each_name) = 0;
  // The identity of the file at path (following a link), or of a directory given as a
  // path ending in "/"; none when nothing is there or it cannot be looked at.
  virtual std::optional<FileIdentity> Identity(const std::string& path) = 0;
  // The path of the current directory, ending in "/"; throws Failure when it cannot be
  // told (it was deleted, or lies too deep).
  virtual std::string CurDir() = 0;
  // Creates a directory with mode 0777 less the umask, unless one is there; throws
  // Failure when it cannot.
  virtual void MkDir(const std::string& path) = 0;
  // An exclusive lock on a directory, waiting while another process holds it; throws
  // Failure when the wait reaches its limit or no lock can be taken.
  virtual std::unique_ptr<DirectoryLock> Lock(const std::string& directory) = 0;
};

// The local file system. Its listings have no order of their own, so the first file is
// the first in case-insensitive name order (bytewise on ties); hidden files (a leading
// ".") and everything that is not an ordinary file, or a link to one, are passed over.
// A directory is listed through the descriptor OpenDirectories keeps for it, the same
// the text files are opened from. A lock is flock(2) on the directory, or on the current
// directory when that one cannot be opened; a run waits for it at most `lock_wait`.
class PosixDirectory : public Directory {
 public:
  explicit PosixDirectory(
      std::chrono::milliseconds lock_wait = std::chrono::minutes(10),
      std::shared_ptr<OpenDirectories> directories = std::make_shared<OpenDirectories>())
      : lock_wait_(lock_wait), directories_(std::move(directories)) {}
  std::string Dir(const std::string& directory,
                  const std::function<void(std::string_view)>& each_name) override;
  // One stat, relative to the descriptor OpenDirectories keeps for the directory.
  std::optional<FileIdentity> Identity(const std::string& path) override;
  std::string CurDir() override;
  void MkDir(const std::string& path) override;
  std::unique_ptr<DirectoryLock> Lock(const std::string& directory) override;

 private:
  std::chrono::milliseconds lock_wait_;
  std::shared_ptr<OpenDirectories> directories_;
};

}  // namespace fof1plot
