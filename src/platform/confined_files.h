#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace fof1plot {

// Files that another host wrote, read without leaving their directory: no symbolic link
// is followed at any moment, neither at a directory nor at a file, each directory is
// opened once and its files relative to it, and no read goes past a limit.

// An entry of a directory that may hold a copy: its name and whether it is a directory
// itself (false for a symbolic link or anything else).
struct DirectoryEntry {
  std::string name;
  bool directory = false;
};

// An open directory of copied files.
class ConfinedDirectory {
 public:
  // Opens the directory at path, which must not be a symbolic link; throws Failure when
  // it cannot be opened.
  explicit ConfinedDirectory(const std::string& path);
  // Opens the entry `name` of `parent`, which must be a directory and not a symbolic link
  // at the moment it is opened, whatever it was when listed; throws Failure naming it.
  ConfinedDirectory(const ConfinedDirectory& parent, const std::string& name);
  ~ConfinedDirectory();
  ConfinedDirectory(const ConfinedDirectory&) = delete;
  ConfinedDirectory& operator=(const ConfinedDirectory&) = delete;

  // The path it was opened by, ending in "/", for messages.
  const std::string& path() const { return path_; }
  // The entries that are directories or symbolic links, hidden ones (a leading ".")
  // excepted, in byte order of their names; throws Failure when it cannot be listed.
  std::vector<DirectoryEntry> List() const;
  // The whole content of the ordinary file `name`; throws Failure, naming the file, when
  // it is a symbolic link, not there or not an ordinary file, or holds more than `limit`
  // bytes.
  std::string Read(const std::string& name, std::size_t limit) const;
  // Whether the ordinary file `name` is there, not a symbolic link.
  bool Holds(const std::string& name) const;
  // Whether the directory `name` is there, not a symbolic link.
  bool HoldsDirectory(const std::string& name) const;

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace fof1plot
