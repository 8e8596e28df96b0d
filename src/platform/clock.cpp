#include "platform/clock.h"

#include <cstdlib>
#include <ctime>

#include "platform/failure.h"

namespace fof1plot {

namespace {

std::tm ora_locale() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (now == static_cast<std::time_t>(-1) || ::localtime_r(&now, &local) == nullptr) {
    throw Failure("clock unreadable");
  }
  return local;
}

}  // namespace

std::chrono::year_month_day LocalClock::Date() {
  const std::tm local = ora_locale();
  return std::chrono::year{local.tm_year + 1900} /
         std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)} /
         std::chrono::day{static_cast<unsigned>(local.tm_mday)};
}

std::chrono::seconds LocalClock::Time() {
  const std::tm local = ora_locale();
  return std::chrono::seconds{local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec};
}

std::optional<std::string> LocalClock::TimeZone() {
  const char* tz = std::getenv("TZ");
  if (tz == nullptr) return std::nullopt;
  return tz;
}

}  // namespace fof1plot
