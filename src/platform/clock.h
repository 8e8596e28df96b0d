#pragma once

#include <chrono>

namespace fof1plot {

// Today's date.
class Clock {
 public:
  virtual ~Clock() = default;
  // The current local calendar date; throws Failure when the clock cannot be read.
  virtual std::chrono::year_month_day Date() = 0;
};

// The system clock in the local time zone.
class LocalClock : public Clock {
 public:
  std::chrono::year_month_day Date() override;
};

}  // namespace fof1plot
