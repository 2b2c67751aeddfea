#pragma once
// Conversion between UTC and the local time of the current time zone.

#include <cstdint>

namespace platform {

// Laid out as the Windows SYSTEMTIME: day of week 0 is Sunday.
struct SystemTime {
  uint16_t wYear;
  uint16_t wMonth;
  uint16_t wDayOfWeek;
  uint16_t wDay;
  uint16_t wHour;
  uint16_t wMinute;
  uint16_t wSecond;
  uint16_t wMilliseconds;
};

// True when the month, the day (against the length of that month in that year, leap
// years included) and the time of day name a real moment. The year's range is left to each
// conversion, and the day of week is not looked at.
bool IsValidDayAndTime(const SystemTime& time) noexcept;

// Both answer false, leaving the output unchanged, when the platform refuses the input.
bool UtcToLocalTime(const SystemTime& utc, SystemTime& local) noexcept;
bool LocalTimeToUtc(const SystemTime& local, SystemTime& utc) noexcept;

}  // namespace platform
