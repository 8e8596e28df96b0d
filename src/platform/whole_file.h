#pragma once

#include <string>
#include <string_view>

namespace fof1plot {

// Whether a file must be on the disk before it takes its name: figures must, a file
// that lives only for a moment need not.
enum class Flush { kToDisk, kNone };

// Replaces the file at path with bytes, all or nothing: the bytes go to a temporary
// file beside it, which is flushed to disk (unless told otherwise) and renamed over the
// old name. A reader never sees half a file, a failed write leaves the old file as it
// was, and a symbolic link at path is replaced, not followed. The new file gets the
// mode of an ordinary new file (0666 less the umask). Throws Failure, leaving no
// temporary file, when any step fails.
void WriteFileReplacing(const std::string& path, std::string_view bytes,
                        Flush flush = Flush::kToDisk);

// The whole content of a file; throws Failure when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace fof1plot
