#include "platform/date_time.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/errors.h"

namespace {

using platform::DateTimeToSystemTime;
using platform::SystemTime;
using platform::SystemTimeToDateTime;

TEST(DateTimeTest, CountsDaysFromTheEndOf1899) {
  EXPECT_DOUBLE_EQ(SystemTimeToDateTime({1899, 12, 0, 30, 0, 0, 0, 0}), 0.0);
  EXPECT_DOUBLE_EQ(SystemTimeToDateTime({2000, 1, 0, 1, 0, 0, 0, 0}), 36526.0);
  EXPECT_DOUBLE_EQ(SystemTimeToDateTime({2000, 1, 0, 1, 18, 0, 0, 0}), 36526.75);
}

TEST(DateTimeTest, DaysBeforeTheEpochKeepAForwardTimeOfDay) {
  EXPECT_DOUBLE_EQ(SystemTimeToDateTime({1899, 12, 0, 29, 6, 0, 0, 0}), -1.25);
  SystemTime t = DateTimeToSystemTime(-1.25);
  EXPECT_EQ(t.wYear, 1899);
  EXPECT_EQ(t.wMonth, 12);
  EXPECT_EQ(t.wDay, 29);
  EXPECT_EQ(t.wHour, 6);
}

TEST(DateTimeTest, ATimeThatRoundsToMidnightBeforeTheEpochGoesToTheNextDay) {
  // 29 December 1899, 23:59:59.99999 rounds to 30 December 00:00 (a Saturday).
  SystemTime t = DateTimeToSystemTime(-1.9999999999);
  EXPECT_EQ(t.wYear, 1899);
  EXPECT_EQ(t.wMonth, 12);
  EXPECT_EQ(t.wDay, 30);
  EXPECT_EQ(t.wDayOfWeek, 6);
  EXPECT_EQ(t.wHour, 0);
  EXPECT_EQ(t.wMilliseconds, 0);
  // -0.9999999999 is 30 December, 23:59:59.99999: 31 December 00:00, a Sunday.
  t = DateTimeToSystemTime(-0.9999999999);
  EXPECT_EQ(t.wDay, 31);
  EXPECT_EQ(t.wDayOfWeek, 0);
  EXPECT_EQ(t.wHour, 0);
  // The same rounding after the epoch: 1 January 2000, 23:59:59.99999 is 2 January.
  t = DateTimeToSystemTime(36526.9999999999);
  EXPECT_EQ(t.wDay, 2);
  EXPECT_EQ(t.wDayOfWeek, 0);
}

TEST(DateTimeTest, DecodesFieldsWithDayOfWeekAndMilliseconds) {
  SystemTime t = DateTimeToSystemTime(SystemTimeToDateTime({2024, 2, 0, 29, 23, 59, 59, 999}));
  EXPECT_EQ(t.wYear, 2024);
  EXPECT_EQ(t.wMonth, 2);
  EXPECT_EQ(t.wDay, 29);
  EXPECT_EQ(t.wDayOfWeek, 4);  // a Thursday
  EXPECT_EQ(t.wHour, 23);
  EXPECT_EQ(t.wMinute, 59);
  EXPECT_EQ(t.wSecond, 59);
  EXPECT_EQ(t.wMilliseconds, 999);
  EXPECT_EQ(DateTimeToSystemTime(36526.0).wDayOfWeek, 6);  // 1 January 2000, a Saturday
}

struct Fields {
  SystemTime time;
  bool valid;
};

// The last valid value and the first invalid one of each field; an invalid row has only that
// one field out of range. Valid rows carry their day of week.
constexpr Fields kDayAndTimeBoundaries[] = {
    {{2024, 1, 1, 1, 0, 0, 0, 0}, true},
    {{2024, 0, 0, 1, 0, 0, 0, 0}, false},
    {{2024, 1, 0, 0, 0, 0, 0, 0}, false},
    {{2023, 1, 2, 31, 0, 0, 0, 0}, true},
    {{2023, 1, 0, 32, 0, 0, 0, 0}, false},
    {{2023, 4, 0, 30, 0, 0, 0, 0}, true},
    {{2023, 4, 0, 31, 0, 0, 0, 0}, false},
    {{2023, 2, 2, 28, 0, 0, 0, 0}, true},
    {{2023, 2, 0, 29, 0, 0, 0, 0}, false},
    {{2024, 2, 4, 29, 0, 0, 0, 0}, true},
    {{2024, 2, 0, 30, 0, 0, 0, 0}, false},
    {{2000, 2, 2, 29, 0, 0, 0, 0}, true},
    {{1900, 2, 0, 29, 0, 0, 0, 0}, false},
    {{2023, 12, 0, 31, 23, 59, 59, 999}, true},
    {{2023, 13, 0, 31, 23, 59, 59, 999}, false},
    {{2023, 12, 0, 31, 24, 59, 59, 999}, false},
    {{2023, 12, 0, 31, 23, 60, 59, 999}, false},
    {{2023, 12, 0, 31, 23, 59, 60, 999}, false},
    {{2023, 12, 0, 31, 23, 59, 59, 1000}, false},
};

std::string Text(const SystemTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u (day %u) %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay,
                t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
  return text;
}

TEST(DateTimeTest, ValidFieldsRoundTripAndInvalidOnesAreRefused) {
  constexpr Fields kYears[] = {
      {{1, 1, 1, 1, 0, 0, 0, 0}, true},
      {{0, 12, 0, 31, 23, 59, 59, 999}, false},
      {{9999, 12, 5, 31, 23, 59, 59, 999}, true},
      {{10000, 1, 0, 1, 0, 0, 0, 0}, false},
  };
  auto check = [](const Fields& row) {
    if (row.valid)
      EXPECT_EQ(Text(DateTimeToSystemTime(SystemTimeToDateTime(row.time))), Text(row.time));
    else
      EXPECT_THROW(SystemTimeToDateTime(row.time), platform::Exception) << Text(row.time);
  };
  for (const Fields& row : kDayAndTimeBoundaries) check(row);
  for (const Fields& row : kYears) check(row);
}

// Any time zone serves: a valid time comes back unchanged through local time and back, in
// either direction, and an invalid one is refused with the output left alone.
TEST(TimeZoneTest, ValidFieldsRoundTripAndInvalidOnesAreRefused) {
  const SystemTime kUntouched{7, 7, 7, 7, 7, 7, 7, 7};
  for (const Fields& row : kDayAndTimeBoundaries) {
    SystemTime there = kUntouched, back = kUntouched;
    if (row.valid) {
      ASSERT_TRUE(platform::UtcToLocalTime(row.time, there)) << Text(row.time);
      ASSERT_TRUE(platform::LocalTimeToUtc(there, back));
      EXPECT_EQ(Text(back), Text(row.time));
      ASSERT_TRUE(platform::LocalTimeToUtc(row.time, there)) << Text(row.time);
      ASSERT_TRUE(platform::UtcToLocalTime(there, back));
      EXPECT_EQ(Text(back), Text(row.time));
    } else {
      EXPECT_FALSE(platform::UtcToLocalTime(row.time, there)) << Text(row.time);
      EXPECT_FALSE(platform::LocalTimeToUtc(row.time, back)) << Text(row.time);
      EXPECT_EQ(Text(there), Text(kUntouched));
      EXPECT_EQ(Text(back), Text(kUntouched));
    }
  }
}

}  // namespace
