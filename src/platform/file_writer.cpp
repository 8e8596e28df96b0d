#include "platform/file_writer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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
  const std::string temporaneo = DirectoryPart(to) + kTemporaryName;
  ::unlink(temporaneo.c_str());
  if (::link(from.c_str(), temporaneo.c_str()) != 0) {
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

}  // namespace fof1plot
