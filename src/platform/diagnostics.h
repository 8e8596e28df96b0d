#pragma once

#include <string>

#include "platform/failure.h"

namespace fof1plot {

// Where the run's failures go, so that whoever runs the program learns what failed.
class Diagnostics {
 public:
  virtual ~Diagnostics() = default;
  // Records one failure; never throws.
  virtual void Report(const Failure& failure) = 0;
  // Records a warning: something that works but is likely a mistake; never throws.
  virtual void Warn(const std::string& text) = 0;
};

// One line on stderr per failure, "fof1plot: <path>: <what failed>: <reason>", and per
// warning, "fof1plot: warning: <text>", each written in one piece so that the lines of
// runs sharing a journal do not mix.
class StderrDiagnostics : public Diagnostics {
 public:
  void Report(const Failure& failure) override;
  void Warn(const std::string& text) override;
};

}  // namespace fof1plot
