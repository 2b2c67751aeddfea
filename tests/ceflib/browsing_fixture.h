#pragma once
// A stand-in browser made through the layer, windowless, whose made-up host name
// service.example reaches the test HTTP service.

#include <memory>
#include <string>

#include "cef/ceflib/browser.h"
#include "support/standin_control.h"
#include "support/test_service.h"

namespace browsing_testing {

class BrowsingTest : public testing_support::StandinTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Drives the runtime's work until every load and visit of the browser is done.
  void WaitIdle();
  // Sends the main frame to url and waits until the page is shown.
  void Load(const std::u16string& url);
  // A text the stand-in knows of the browser ("title", "url", ...).
  std::u16string BrowserText(const char* key);

  static std::u16string Service(const char* path);

  std::unique_ptr<testing_support::ScopedHosts> hosts_;
  cef::Ref<cef::ICefBrowser> browser_;
};

}  // namespace browsing_testing
