#include "platform/date_time.h"

#include <cmath>

#include "platform/errors.h"
#include "platform/text.h"

namespace platform {
namespace {

constexpr double kMillisecondsPerDay = 86400000.0;
// Days from 1 March of year 0 (proleptic Gregorian) to 30 December 1899.
constexpr long long kOleEpoch = 693899;

// Days since 1 March of year 0 for a civil date (Howard Hinnant's algorithm).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  long long era = (y >= 0 ? y : y - 399) / 400;
  auto yoe = static_cast<unsigned>(y - era * 400);
  unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe);
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
  long long era = (z >= 0 ? z : z - 146096) / 146097;
  auto doe = static_cast<unsigned>(z - era * 146097);
  unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (month <= 2));
}

}  // namespace

TDateTime SystemTimeToDateTime(const SystemTime& t) {
  if (t.wYear < 1 || t.wYear > 9999 || !IsValidDayAndTime(t)) {
    throw Exception(u"Invalid date-time: " + IntToText(t.wYear) + u"-" + IntToText(t.wMonth) + u"-" +
                    IntToText(t.wDay) + u" " + IntToText(t.wHour) + u":" + IntToText(t.wMinute) + u":" +
                    IntToText(t.wSecond) + u"." + IntToText(t.wMilliseconds));
  }
  double days = static_cast<double>(DaysFromCivil(t.wYear, t.wMonth, t.wDay) - kOleEpoch);
  double time = (((t.wHour * 60.0 + t.wMinute) * 60.0 + t.wSecond) * 1000.0 + t.wMilliseconds) / kMillisecondsPerDay;
  return days < 0 ? days - time : days + time;
}

SystemTime DateTimeToSystemTime(TDateTime value) {
  double whole = std::trunc(value);
  auto ms = static_cast<long long>(std::llround(std::fabs(value - whole) * kMillisecondsPerDay));
  auto days = static_cast<long long>(whole);
  // Rounded up to the next midnight: the fraction counts forward from midnight on either
  // side of the epoch, so the next midnight is always one calendar day later.
  if (ms >= static_cast<long long>(kMillisecondsPerDay)) {
    ms -= static_cast<long long>(kMillisecondsPerDay);
    days += 1;
  }
  long long serial = days + kOleEpoch;
  int year, month, day;
  CivilFromDays(serial, year, month, day);
  // 1 March of year 0 was a Wednesday.
  auto weekday = static_cast<uint16_t>(((serial % 7) + 7 + 3) % 7);
  return {static_cast<uint16_t>(year), static_cast<uint16_t>(month), weekday, static_cast<uint16_t>(day),
          static_cast<uint16_t>(ms / 3600000), static_cast<uint16_t>(ms / 60000 % 60),
          static_cast<uint16_t>(ms / 1000 % 60), static_cast<uint16_t>(ms % 1000)};
}

}  // namespace platform
