#include "ceflib/browsing_fixture.h"

#include "cef/ceflib/browser_settings.h"
#include "platform/text.h"
#include "support/raw_browser.h"

namespace browsing_testing {

using namespace cef;


void BrowsingTest::SetUp() {
  testing_support::ProgramStandin();
  StandinTest::SetUp();
  hosts_ = std::make_unique<testing_support::ScopedHosts>("service.example=127.0.0.1:" +
                                                          std::to_string(testing_support::TestServicePort()));
  // The settings the main window gives its own browser.
  TCefWindowInfo info{};
  TCefBrowserSettings settings{};
  settings.size = sizeof settings;
  TChromiumFontOptions fonts;
  std::u16string encoding, styleSheet;
  CefFillBrowserSettings(settings, TChromiumOptions{coDeveloperToolsDisabled}, fonts, encoding, styleSheet);
  browser_ = CefBrowserCreateSync(&info, nullptr, u"", &settings);
  ASSERT_TRUE(browser_);
}

void BrowsingTest::TearDown() {
  if (browser_) browser_->CloseBrowser();
  browser_ = nullptr;
  hosts_.reset();
  StandinTest::TearDown();
}

void BrowsingTest::WaitIdle() {
  int32_t idle = testing_support::WithRawBrowser(
      browser_, [](TCefBrowser* b) { return testing_support::ProgramStandin().standin_wait_idle(b, 20000); });
  ASSERT_EQ(idle, 1) << "the browser did not finish its work";
}

void BrowsingTest::Load(const std::u16string& url) {
  Ref<ICefFrame> frame = browser_->GetMainFrame();
  ASSERT_TRUE(frame);
  frame->LoadUrl(url);
  WaitIdle();
}

std::u16string BrowsingTest::BrowserText(const char* key) { return testing_support::BrowserText(browser_, key); }

std::u16string BrowsingTest::Service(const char* path) {
  return u"http://service.example" + platform::Utf8ToUtf16(path);
}

}  // namespace browsing_testing
