#include "cef/ceflib/date_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/errors.h"

namespace {

using namespace cef;

// These tests run in a time zone of UTC+9 without daylight saving (Seoul). Windows takes
// its zone from the environment the test program starts with; POSIX sets it here.
class DateTimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef _WIN32
    setenv("TZ", "Asia/Seoul", 1);
    tzset();
#endif
    SystemTime local{};
    ASSERT_TRUE(platform::UtcToLocalTime({2000, 1, 6, 1, 0, 0, 0, 0}, local));
    ASSERT_EQ(local.wHour, 9) << "the test program must run with TZ=Asia/Seoul";
  }
};

TEST_F(DateTimeTest, RuntimeUtcBecomesLocalDateValueAndBack) {
  const TCefTime utc{2000, 1, 6, 1, 0, 0, 0, 0};
  TDateTime local = CefTimeToDateValue(utc);
  EXPECT_DOUBLE_EQ(local, 36526.0 + 9.0 / 24.0);  // 1 January 2000, 09:00
  TCefTime back = DateValueToCefTime(local);
  EXPECT_EQ(back.year, 2000);
  EXPECT_EQ(back.month, 1);
  EXPECT_EQ(back.day_of_week, 6);
  EXPECT_EQ(back.day_of_month, 1);
  EXPECT_EQ(back.hour, 0);
  EXPECT_EQ(back.minute, 0);
  EXPECT_EQ(back.second, 0);
  EXPECT_EQ(back.millisecond, 0);
}

TEST_F(DateTimeTest, MillisecondsAndDayChangesSurviveTheZoneConversion) {
  const TCefTime utc{2024, 2, 4, 29, 23, 59, 59, 999};
  SystemTime local = platform::DateTimeToSystemTime(CefTimeToDateValue(utc));
  EXPECT_EQ(local.wMonth, 3);
  EXPECT_EQ(local.wDay, 1);
  EXPECT_EQ(local.wHour, 8);
  EXPECT_EQ(local.wMilliseconds, 999);
  TCefTime back = DateValueToCefTime(CefTimeToDateValue(utc));
  EXPECT_EQ(back.day_of_month, 29);
  EXPECT_EQ(back.hour, 23);
  EXPECT_EQ(back.millisecond, 999);
}

TEST_F(DateTimeTest, FieldsAreTruncatedOneWayAndZeroExtendedTheOther) {
  SystemTime st = CefTimeToSysTime({0x12007D0, 0x10001, 0, 0x10002, 0, 0, 0, 0});
  EXPECT_EQ(st.wYear, 0x07D0);
  EXPECT_EQ(st.wMonth, 1);
  EXPECT_EQ(st.wDay, 2);
  TCefTime t = SysTimeToCefTime({0xFFFF, 12, 0, 31, 0, 0, 0, 0});
  EXPECT_EQ(t.year, 65535) << "zero-extended, not sign-extended";
}

TEST_F(DateTimeTest, AnInvalidRuntimeDateIsRefused) {
  EXPECT_THROW(CefTimeToDateValue(TCefTime{}), platform::Exception);
}

}  // namespace
