#pragma once
// What the benchmark's floor and limit programs share: the settings and the way a
// figure-sized file is written, as fof1plot writes its GIFs.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
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

}  // namespace bench
