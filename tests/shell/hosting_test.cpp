// The browser in the main window: where the layout places it, what it opens, and the
// reload button.

#include <windows.h>

#include "platform/process.h"
#include "shell/main_form_fixture.h"
#include "support/fake_system.h"
#include "support/raw_browser.h"

namespace {

using testing_support::BrowserValue;

std::u16string BrowserUrl(const cef::Ref<cef::ICefBrowser>& browser) { return browser->GetMainFrame()->GetUrl(); }

using Hosting = shell_testing::MainFormFixture;

TEST_F(Hosting, TheBrowserFillsTheLowerPanelWithTheServicesSignInPage) {
  cef::TChromium* chrome = form_->chrome;
  ASSERT_TRUE(chrome && chrome->Browser());
  EXPECT_EQ(chrome->Parent(), form_->Panel2);
  EXPECT_EQ(chrome->Bounds(), (ui::Rect{2, 0, 1052, 662}));
  EXPECT_EQ(chrome->Color(), 16185078);
  EXPECT_EQ(chrome->DefaultUrl(), shell_testing::ServiceHome() + u"/auth");
  EXPECT_EQ(chrome->TabOrder(), 0);
  EXPECT_TRUE(chrome->OnGetDownloadHandler()) << "bound to chromeGetDownloadHandler";
  cef::TChromiumOptions only;
  only.Include(cef::coDeveloperToolsDisabled);
  EXPECT_TRUE(chrome->Options() == only) << "exactly the developer tools disabled";
  WaitIdle();
  EXPECT_EQ(BrowserUrl(chrome->Browser()), shell_testing::ServiceHome() + u"/auth");
  // The developer tools cannot be opened.
  chrome->Browser()->ShowDevTools();
  EXPECT_EQ(BrowserValue(chrome->Browser(), "dev_tools.open"), 0);
}

TEST_F(Hosting, TheBrowserFollowsThePanelOnResizeMaximiseAndRestore) {
  cef::TChromium* chrome = form_->chrome;
  HWND browserWindow = chrome->BrowserHandle();
  auto fills = [&] {
    RECT panel{}, browser{};
    GetClientRect(form_->Panel2->Handle(), &panel);
    GetWindowRect(browserWindow, &browser);
    MapWindowPoints(nullptr, form_->Panel2->Handle(), reinterpret_cast<POINT*>(&browser), 2);
    return browser.left == 2 && browser.top == 0 && browser.right == panel.right - 2 && browser.bottom == panel.bottom - 2;
  };
  EXPECT_TRUE(fills());
  form_->SetBounds(10, 10, 900, 600);
  EXPECT_TRUE(fills());
  form_->BtnMaxClick(form_->BtnMax);
  EXPECT_TRUE(fills());
  form_->BtnMaxClick(form_->BtnMax);
  EXPECT_TRUE(fills());
}

TEST_F(Hosting, TheReloadPictureReloadsWhateverPageIsShown) {
  cef::Ref<cef::ICefBrowser> browser = form_->chrome->Browser();
  WaitIdle();
  browser->GetMainFrame()->LoadUrl(shell_testing::ServiceHome() + u"/bids/2");
  WaitIdle();
  int32_t reloads = testing_support::ProgramStandin().standin_call_count("browser.reload");
  int32_t started = BrowserValue(browser, "loads.started");
  form_->Image2Click(form_->Image2);
  EXPECT_EQ(testing_support::ProgramStandin().standin_call_count("browser.reload"), reloads + 1);
  WaitIdle();
  EXPECT_EQ(BrowserValue(browser, "loads.started"), started + 1);
  EXPECT_EQ(BrowserUrl(browser), shell_testing::ServiceHome() + u"/bids/2");
}

TEST_F(Hosting, WithoutABrowserTheReloadPictureDoesNothing) {
  ASSERT_NO_FATAL_FAILURE(RemakeFormWithoutABrowser());
  int32_t reloads = testing_support::ProgramStandin().standin_call_count("browser.reload");
  form_->Image2Click(form_->Image2);
  EXPECT_EQ(testing_support::ProgramStandin().standin_call_count("browser.reload"), reloads);
}

// The sign-in is reached only by a program started with two arguments: its own ctest
// entry runs this test alone that way, so that no other test of the program signs in.
TEST_F(Hosting, WithoutABrowserTheSignInDoesNothing) {
  if (platform::CommandLineArguments().size() != 2) GTEST_SKIP() << "needs the program started with two arguments";
  ASSERT_NO_FATAL_FAILURE(RemakeFormWithoutABrowser());  // the window's creation signs in
  form_->FormCreate(form_.get());
  EXPECT_EQ(testing_support::ProgramStandin().standin_browser_count(), 0);
}

}  // namespace
