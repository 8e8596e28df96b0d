#include "platform/diagnostics.h"

#include <unistd.h>

#include <string>

namespace fof1plot {

namespace {

void write_line(const std::string& line) {
  // Nothing useful can be done when stderr itself fails.
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
}

}  // namespace

void StderrDiagnostics::Report(const Failure& failure) {
  write_line(std::string("fof1plot: ") + failure.what() + "\n");
}

void StderrDiagnostics::Warn(const std::string& text) {
  write_line("fof1plot: warning: " + text + "\n");
}

}  // namespace fof1plot
