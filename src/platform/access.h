#pragma once

#include <optional>
#include <string>

namespace fof1plot {

// What the user running the program may do with a directory, as the system would
// decide it. Each answer is the system's reason why not (for example "Permission
// denied"), or none when it may; never throws.
std::optional<std::string> DirectoryProblem(const std::string& directory);
std::optional<std::string> AccessProblem(const std::string& path, bool read, bool write);
// The same for a file the user running the program must read.
std::optional<std::string> ReadProblem(const std::string& file);

// Whether another process holds the lock a run takes on a directory.
bool LockHeld(const std::string& directory);

}  // namespace fof1plot
