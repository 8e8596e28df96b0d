#include "platform/diagnostics.h"

#include <unistd.h>

#include <string>

#include "platform/escapes.h"

namespace fof1plot {

namespace {

void write_line(const std::string& line) {
  // Nothing useful can be done when stderr itself fails.
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
}

}  // namespace

// Each report one line, whatever the names in it hold.
void StderrDiagnostics::Report(const Failure& failure) {
  write_line("fof1plot: " + LogLine(failure.what()) + "\n");
}

void StderrDiagnostics::Warn(const std::string& text) {
  write_line("fof1plot: warning: " + LogLine(text) + "\n");
}

}  // namespace fof1plot
