#include "platform/file_writer.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/failure.h"
#include "platform/whole_file.h"

namespace fof1plot {

WriteResult PosixFileWriter::Write(const std::string& path, std::string_view bytes) {
  return WriteFileReplacing(path, bytes);
}

bool PosixFileWriter::WriteNew(const std::string& path, std::string_view bytes) {
  return WriteFileUnlessPresent(path, bytes);
}

void PosixFileWriter::Link(const std::string& from, const std::string& to) {
  struct stat sorgente, destinazione;
  if (::stat(from.c_str(), &sorgente) != 0) throw Failure(from, "cannot read", SystemReason(errno));
  if (::lstat(to.c_str(), &destinazione) == 0 && S_ISREG(destinazione.st_mode) &&
      destinazione.st_size == sorgente.st_size &&
      ((destinazione.st_dev == sorgente.st_dev && destinazione.st_ino == sorgente.st_ino) ||
       FileHolds(to, ReadWholeFile(from)))) {
    return;
  }
  const std::string temporaneo = TemporaryName(DirectoryPart(to));
  // A killed process of the same ID may have left the name.
  const bool collegato = ::link(from.c_str(), temporaneo.c_str()) == 0 ||
                         (errno == EEXIST && ::unlink(temporaneo.c_str()) == 0 &&
                          ::link(from.c_str(), temporaneo.c_str()) == 0);
  if (!collegato) {
    if (errno != EXDEV && errno != EPERM && errno != EMLINK) {
      throw Failure(to, "cannot write", SystemReason(errno));
    }
    WriteFileReplacing(to, ReadWholeFile(from));
    return;
  }
  if (::rename(temporaneo.c_str(), to.c_str()) != 0) {
    const int errore = errno;
    ::unlink(temporaneo.c_str());
    throw Failure(to, "cannot write", SystemReason(errore));
  }
}

void PosixFileWriter::RemoveTemporaries(const std::string& directory,
                                        const std::set<std::string>& leftovers) {
  DIR* lista = ::opendir(directory.empty() ? "." : directory.c_str());
  if (lista == nullptr) return;
  std::vector<std::string> temporanei;
  while (const dirent* voce = ::readdir(lista)) {
    if (std::string_view(voce->d_name).starts_with(kTemporaryName) ||
        leftovers.count(voce->d_name) != 0) {
      temporanei.emplace_back(voce->d_name);
    }
  }
  ::closedir(lista);
  for (const std::string& nome : temporanei) ::unlink((directory + nome).c_str());
}

}  // namespace fof1plot
