#pragma once
// What the benchmark's floor and limit programs share: the settings and the way a
// figure-sized file is written, as fof1plot writes its GIFs.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace bench {

struct Directories {
  std::string work, data, out;
};

// Lines 2, 4 and 6 of gralvo.ini in the current directory.
inline Directories read_settings() {
  std::ifstream in("gralvo.ini");
  const auto line = [&] {
    std::string text;
    std::getline(in, text);
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
  };
  Directories d;
  line();
  d.work = line();
  line();
  d.data = line();
  line();
  d.out = line();
  return d;
}

// Temporary file, fsync, rename.
inline void write_figure(const std::string& path, const std::string& bytes) {
  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0 || ::fchmod(fd, 0644) != 0 || ::write(fd, bytes.data(), bytes.size()) < 0 ||
      ::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temporary.c_str(), path.c_str()) != 0) {
    std::perror(path.c_str());
  }
}

// As write_figure, unless the file there holds these bytes already: then nothing is
// written, as fof1plot leaves an unchanged file alone.
inline void write_if_changed(const std::string& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info;
  bool same =
      fd >= 0 && ::fstat(fd, &info) == 0 && static_cast<std::size_t>(info.st_size) == bytes.size();
  if (same) {
    std::string there(bytes.size() + 1, '\0');
    same = ::read(fd, there.data(), there.size()) == static_cast<ssize_t>(bytes.size()) &&
           std::memcmp(there.data(), bytes.data(), bytes.size()) == 0;
  }
  if (fd >= 0) ::close(fd);
  if (!same) write_figure(path, bytes);
}

// Gives the file `from` the name `to` as well, unless `to` already is that file.
inline void link_if_changed(const std::string& from, const std::string& to) {
  struct stat a, b;
  if (::stat(from.c_str(), &a) == 0 && ::stat(to.c_str(), &b) == 0 && a.st_ino == b.st_ino) return;
  ::unlink(to.c_str());
  if (::link(from.c_str(), to.c_str()) != 0) std::perror("link");
}

}  // namespace bench
