#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace fof1plot {

// A time a HAPI client gives as start or stop: yyyy-mm-dd or yyyy-ddd, or a year, or a
// year and month, then optionally T and hh, hh:mm, hh:mm:ss or hh:mm:ss.fff (any number
// of decimals), with or without a final Z, always UT; what is left out takes its lowest
// value. Hour 24 is the next day's midnight, second 60 a leap second's end. The records
// are whole seconds, so the time is rounded up to a second: a record is at or after it,
// or before it, exactly when it is so against the given time. None for any other text,
// and for a time from the year 10000 on.
std::optional<std::chrono::sys_seconds> leggi_tempo_hapi(std::string_view testo);

// "yyyy-mm-ddThh:mm:ssZ", the form of every time HAPI gives, as the day CSVs write it.
std::string tempo_hapi(std::chrono::sys_seconds quando);

}  // namespace fof1plot
