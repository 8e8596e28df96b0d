#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace fof1plot {

// Today's date, and the time.
class Clock {
 public:
  virtual ~Clock() = default;
  // The current local calendar date; throws Failure when the clock cannot be read.
  virtual std::chrono::year_month_day Date() = 0;
  // The current local time of day; throws Failure when the clock cannot be read.
  virtual std::chrono::seconds Time() = 0;
  // The current time; never fails.
  virtual std::chrono::system_clock::time_point Now() = 0;
  // The time zone the local date follows, as the TZ variable sets it; none when unset.
  virtual std::optional<std::string> TimeZone() = 0;
};

// The system clock in the local time zone.
class LocalClock : public Clock {
 public:
  std::chrono::year_month_day Date() override;
  std::chrono::seconds Time() override;
  std::chrono::system_clock::time_point Now() override { return std::chrono::system_clock::now(); }
  std::optional<std::string> TimeZone() override;
};

}  // namespace fof1plot
