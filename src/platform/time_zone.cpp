#include "platform/time_zone.h"

namespace platform {
namespace {

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : days[month - 1];
}

}  // namespace

bool IsValidDayAndTime(const SystemTime& t) noexcept {
  return t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 && t.wDay <= DaysInMonth(t.wYear, t.wMonth) &&
         t.wHour <= 23 && t.wMinute <= 59 && t.wSecond <= 59 && t.wMilliseconds <= 999;
}

}  // namespace platform
