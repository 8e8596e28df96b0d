#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace fof1plot {

// Files that another host wrote, read without leaving their directory: no symbolic link
// is followed, neither at the directory nor at the file, and no read goes past a limit.

// An entry of a directory that may hold a copy: its name and whether it is a directory
// itself (false for a symbolic link or anything else).
struct DirectoryEntry {
  std::string name;
  bool directory = false;
};

// The entries of `path` that are directories or symbolic links, hidden ones (a leading
// ".") excepted, in byte order of their names; throws Failure when `path` cannot be
// listed.
std::vector<DirectoryEntry> ListCopies(const std::string& path);

// The whole content of the ordinary file `name` in the directory `directory`; throws
// Failure, naming the file, when either is a symbolic link, the file is not there or
// not an ordinary file, or it holds more than `limit` bytes.
std::string ReadConfined(const std::string& directory, const std::string& name, std::size_t limit);

// Whether the ordinary file `name` is in `directory`, neither being a symbolic link.
bool ConfinedFileExists(const std::string& directory, const std::string& name);

}  // namespace fof1plot
