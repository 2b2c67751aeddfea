#include "cef/ceflib/guard.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/errors.h"

namespace {

class GuardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = cef::SetCallbackErrorReport([this](const std::u16string& m) { reports.push_back(m); });
  }
  void TearDown() override { cef::SetCallbackErrorReport(previous_); }
  std::vector<std::u16string> reports;

 private:
  cef::CallbackErrorReport previous_;
};

TEST_F(GuardTest, AFailingCallbackAnswersItsNeutralValueAndIsReported) {
  EXPECT_EQ(cef::Guarded(0, []() -> int { throw platform::EOSError(2, u"The file is missing"); }), 0);
  EXPECT_EQ(cef::Guarded(-5, []() -> int { throw std::runtime_error("plain"); }), -5);
  cef::Guarded([] { throw 42; });
  EXPECT_EQ(reports, (std::vector<std::u16string>{u"System Error.  Code: 2.\r\nThe file is missing", u"plain",
                                                  u"Unknown exception"}));
}

TEST_F(GuardTest, ASucceedingCallbackAnswersItsOwnValueAndReportsNothing) {
  EXPECT_EQ(cef::Guarded(0, [] { return 1; }), 1);
  int ran = 0;
  cef::Guarded([&] { ++ran; });
  EXPECT_EQ(ran, 1);
  EXPECT_TRUE(reports.empty());
}

}  // namespace
