#include "platform/file_writer.h"

#include "platform/whole_file.h"

namespace fof1plot {

void PosixFileWriter::Write(const std::string& path, std::string_view bytes) {
  WriteFileReplacing(path, bytes);
}

bool PosixFileWriter::WriteNew(const std::string& path, std::string_view bytes) {
  return WriteFileUnlessPresent(path, bytes);
}

}  // namespace fof1plot
