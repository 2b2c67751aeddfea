#pragma once
// Pages of the test service with the extension registered, whose go_g2b reaches the real
// launcher and through it the Internet Explorer stand-in registered for the test program;
// each test ends with the stand-in's objects released and no misuse seen.

#include "shell/extension_pages_fixture.h"
#include "shell/ie_standin_control.h"

namespace extension_testing {

class PortalPagesTest : public ExtensionPagesTest {
 protected:
  static testing_support::IEStandinControl& IE() { return testing_support::IEStandinControl::Get(); }
  void SetUp() override {
    ExtensionPagesTest::SetUp();
    IE().iestandin_reset();
  }
  void TearDown() override {
    EXPECT_EQ(IE().iestandin_live_objects(), 0);
    EXPECT_EQ(IE().Errors(), u"");
    IE().iestandin_reset();
    ExtensionPagesTest::TearDown();
  }
};

}  // namespace extension_testing
