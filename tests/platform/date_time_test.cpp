#include "platform/date_time.h"

#include <gtest/gtest.h>

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

TEST(DateTimeTest, RefusesFieldsThatNameNoDate) {
  EXPECT_THROW(SystemTimeToDateTime({2023, 2, 0, 29, 0, 0, 0, 0}), platform::Exception);
  EXPECT_THROW(SystemTimeToDateTime({2023, 13, 0, 1, 0, 0, 0, 0}), platform::Exception);
  EXPECT_THROW(SystemTimeToDateTime({0, 0, 0, 0, 0, 0, 0, 0}), platform::Exception);
}

}  // namespace
