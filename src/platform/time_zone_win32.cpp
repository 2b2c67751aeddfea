#include <windows.h>

#include <cstring>

#include "platform/time_zone.h"

namespace platform {

static_assert(sizeof(SystemTime) == sizeof(SYSTEMTIME));

// The fields are checked here before the system sees them: its own check differs between
// Windows and Wine (Wine takes 29 February of a common year).
bool UtcToLocalTime(const SystemTime& utc, SystemTime& local) noexcept {
  if (!IsValidDayAndTime(utc)) return false;
  SYSTEMTIME in, out;
  std::memcpy(&in, &utc, sizeof in);
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &in, &out)) return false;
  std::memcpy(&local, &out, sizeof out);
  return true;
}

bool LocalTimeToUtc(const SystemTime& local, SystemTime& utc) noexcept {
  if (!IsValidDayAndTime(local)) return false;
  SYSTEMTIME in, out;
  std::memcpy(&in, &local, sizeof in);
  if (!TzSpecificLocalTimeToSystemTime(nullptr, &in, &out)) return false;
  std::memcpy(&utc, &out, sizeof out);
  return true;
}

}  // namespace platform
