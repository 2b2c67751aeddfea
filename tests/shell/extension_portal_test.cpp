// `cef.app.go_g2b` as pages call it, reaching the portal launcher, which drives the
// Internet Explorer stand-in (registered as the COM server the launcher creates).

#include <gtest/gtest.h>

#include <objbase.h>

#include "shell/extension_portal_fixture.h"
#include "shell/ie_standin_control.h"

namespace {

using testing_support::IEStandinControl;

const auto* const environment = ::testing::AddGlobalTestEnvironment(new testing_support::IEStandinEnvironment);

using ExtensionPortalTest = extension_testing::PortalPagesTest;

TEST_F(ExtensionPortalTest, OnlyTwoTruthyArgumentsReachThePortal) {
  EXPECT_EQ(RunServicePage("cef.app.go_g2b('x', ''); cef.app.go_g2b('', 'y'); cef.app.go_g2b('x');"
                           "cef.app.go_g2b(); document.title = 'done';"),
            u"done");
  EXPECT_EQ(IEStandinControl::Get().Record(), u"") << "the launcher was not reached";

  EXPECT_EQ(RunServicePage("cef.app.go_g2b('2024', '20240101234-00'); document.title = 'done';"), u"done");
  ASSERT_EQ(IEStandinControl::Get().iestandin_entry_count(), 1) << ::testing::PrintToString(IEStandinControl::Get().Record());
  EXPECT_EQ(IEStandinControl::Get().iestandin_navigation_count(0), 1);
  EXPECT_NE(IEStandinControl::Get().Address(0).find(u"bidno=20240101234&"), std::u16string::npos) << ::testing::PrintToString(IEStandinControl::Get().Address(0));
  EXPECT_TRUE(system.shellCalls.empty());
}

TEST_F(ExtensionPortalTest, AForeignPageCannotDriveThePortal) {
  EXPECT_EQ(RunPage(extension_testing::kForeignHost,
                    "var r = cef.app.go_g2b('2024', '20240101234-00'); document.title = 'done ' + r;"),
            u"done undefined")
      << "the page sees the same as on a service page";
  EXPECT_EQ(IE().Record(), u"") << "the launcher was not reached";
}

}  // namespace
