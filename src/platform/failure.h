#pragma once

#include <stdexcept>
#include <string>

namespace fof1plot {

// The one failure of the platform layers: a file that does not open, a read past the
// end, a 16-bit overflow, a write that does not reach the disk. It names the file (or
// directory) concerned, what failed and the system's reason, each of which may be empty.
// The run's error policy is the only place that catches it.
class Failure : public std::runtime_error {
 public:
  explicit Failure(const std::string& what_failed) : Failure({}, what_failed, {}) {}
  Failure(std::string path, std::string what_failed, std::string reason);

  const std::string& path() const { return path_; }
  const std::string& what_failed() const { return what_failed_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string path_;
  std::string what_failed_;
  std::string reason_;
};

// The system's text for an errno value ("No such file or directory").
std::string SystemReason(int error);

}  // namespace fof1plot
