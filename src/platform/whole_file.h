#pragma once

#include <string>
#include <string_view>

namespace fof1plot {

// How the names a write gives its bytes before they take the final name begin: hidden,
// in the final name's directory, each existing only for the moment between the two.
inline constexpr std::string_view kTemporaryName = ".fof1plot.tmp";

// The temporary name of this process's writes in `directory` (which ends in "/", or is
// empty for the current directory): kTemporaryName and the process ID, so that any number
// of writers in one directory never take each other's file.
std::string TemporaryName(const std::string& directory);

// What a write did to the file at its path.
enum class WriteResult { kCreated, kReplaced, kUnchanged };

// Replaces the file at path with bytes, all or nothing, unless it is an ordinary file that
// holds exactly those bytes already: that one is left untouched, with its inode and time,
// so that a run that changed nothing costs no flush and leaves web caches valid. Otherwise the
// bytes go to an unnamed file in the same directory (O_TMPFILE, or TemporaryName where the file
// system has no unnamed files), which is flushed to disk and then takes the name. A reader never
// sees half a file, a failed write leaves the old file as it was, and a symbolic link at path is
// replaced, not followed. The new file gets the mode of an ordinary new file (0666 less the umask).
// Throws Failure, naming path and the system's reason, leaving no temporary file, when any step
// fails.
WriteResult WriteFileReplacing(const std::string& path, std::string_view bytes);

// As WriteFileReplacing where nothing is at path yet; where something is, it is left as
// it was and the result is false.
bool WriteFileUnlessPresent(const std::string& path, std::string_view bytes);

// Whether path is an ordinary file, not a symbolic link, that holds exactly bytes; false
// too where it cannot be read.
bool FileHolds(const std::string& path, std::string_view bytes);

// The directory part of a path, up to and with its last "/"; empty for a bare name.
std::string DirectoryPart(const std::string& path);

// The whole content of an ordinary file; throws Failure when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace fof1plot
