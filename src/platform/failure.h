#pragma once

#include <stdexcept>

namespace fof1plot {

// The one failure of the platform layers: a file that does not open, a read past the
// end, a 16-bit overflow, a write that does not reach the disk. The run's error policy
// is the only place that catches it.
class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace fof1plot
