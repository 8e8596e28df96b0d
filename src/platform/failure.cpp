#include "platform/failure.h"

#include <cstring>

namespace fof1plot {
namespace {

// "path: what failed: reason", leaving out the parts that are empty.
std::string joined(const std::string& path, const std::string& what_failed,
                   const std::string& reason) {
  std::string text;
  for (const std::string* part : {&path, &what_failed, &reason}) {
    if (part->empty()) continue;
    if (!text.empty()) text += ": ";
    text += *part;
  }
  return text;
}

}  // namespace

Failure::Failure(std::string path, std::string what_failed, std::string reason)
    : std::runtime_error(joined(path, what_failed, reason)),
      path_(std::move(path)),
      what_failed_(std::move(what_failed)),
      reason_(std::move(reason)) {}

std::string SystemReason(int error) {
  char buffer[256];
  // The GNU strerror_r returns the text, in buffer or in a static string of its own.
  return ::strerror_r(error, buffer, sizeof buffer);
}

}  // namespace fof1plot
