#include "platform/diagnostics.h"

#include <unistd.h>

#include <string>

namespace fof1plot {

void StderrDiagnostics::Report(const Failure& failure) {
  const std::string line = std::string("fof1plot: ") + failure.what() + "\n";
  // Nothing useful can be done when stderr itself fails.
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
}

}  // namespace fof1plot
