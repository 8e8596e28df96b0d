#include "platform/directory.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "platform/failure.h"

namespace fof1plot {
namespace {

bool is_ordinary_file(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// True when a comes before b in listing order: case-insensitive, bytewise on ties.
bool precede_nella_lista(const std::string& a, const std::string& b) {
  const int order = ::strcasecmp(a.c_str(), b.c_str());
  return order < 0 || (order == 0 && a < b);
}

bool may_be_ordinary(unsigned char type) {
  return type == DT_REG || type == DT_LNK || type == DT_UNKNOWN;
}

std::string first_ordinary_file(const std::string& directory) {
  const std::string listed = directory.empty() ? "." : directory;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(listed.c_str()), ::closedir);
  if (!dir) throw Failure("cannot list " + listed);
  std::string first;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    // The name decides before the file type is asked for, so a large directory costs
    // one stat per new leader rather than one per file.
    if (name[0] == '.' || !may_be_ordinary(entry->d_type)) continue;
    if (!first.empty() && !precede_nella_lista(name, first)) continue;
    if (entry->d_type == DT_REG || is_ordinary_file(listed + "/" + name)) first = name;
  }
  return first;
}

}  // namespace

std::string PosixDirectory::CurDir() {
  std::unique_ptr<char, void (*)(void*)> path(::getcwd(nullptr, 0), ::free);
  if (!path) throw Failure("current directory unknown");
  return path.get();
}

std::string PosixDirectory::Dir(const std::string& pattern) {
  const auto slash = pattern.rfind('/');
  std::string name = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  if (name.empty()) return first_ordinary_file(pattern);
  if (name[0] == '.' || !is_ordinary_file(pattern)) return {};
  return name;
}

void PosixDirectory::Kill(const std::string& path) {
  if (::unlink(path.c_str()) != 0) throw Failure("cannot delete " + path);
}

}  // namespace fof1plot
