#include <ctime>

#include "platform/time_zone.h"

namespace platform {
namespace {

std::tm ToTm(const SystemTime& t) {
  std::tm tm{};
  tm.tm_year = t.wYear - 1900;
  tm.tm_mon = t.wMonth - 1;
  tm.tm_mday = t.wDay;
  tm.tm_hour = t.wHour;
  tm.tm_min = t.wMinute;
  tm.tm_sec = t.wSecond;
  tm.tm_isdst = -1;
  return tm;
}

SystemTime FromTm(const std::tm& tm, uint16_t milliseconds) {
  return {static_cast<uint16_t>(tm.tm_year + 1900), static_cast<uint16_t>(tm.tm_mon + 1),
          static_cast<uint16_t>(tm.tm_wday),        static_cast<uint16_t>(tm.tm_mday),
          static_cast<uint16_t>(tm.tm_hour),        static_cast<uint16_t>(tm.tm_min),
          static_cast<uint16_t>(tm.tm_sec),         milliseconds};
}

}  // namespace

bool UtcToLocalTime(const SystemTime& utc, SystemTime& local) noexcept {
  if (!IsValidDayAndTime(utc)) return false;
  std::tm in = ToTm(utc);
  std::time_t seconds = timegm(&in);
  std::tm out{};
  if (!localtime_r(&seconds, &out)) return false;
  local = FromTm(out, utc.wMilliseconds);
  return true;
}

bool LocalTimeToUtc(const SystemTime& local, SystemTime& utc) noexcept {
  if (!IsValidDayAndTime(local)) return false;
  std::tm in = ToTm(local);
  std::time_t seconds = std::mktime(&in);
  std::tm out{};
  if (!gmtime_r(&seconds, &out)) return false;
  utc = FromTm(out, local.wMilliseconds);
  return true;
}

}  // namespace platform
