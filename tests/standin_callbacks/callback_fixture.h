#pragma once
// What the callback tests share: a fresh runtime per test, a test client whose references
// must all come back, and addresses of the test service marked for the test's own requests.

#include <string>
#include <vector>

#include "standin_browser/browser_fixture.h"
#include "standin_callbacks/test_client.h"

namespace callback_testing {

using browser_testing::RuntimeRef;
using browser_testing::View;

class CallbackTest : public browser_testing::BrowserTest {
 protected:
  // Closes every browser (with the client's answers cleared, so that none holds a close
  // back), then checks that the runtime released all it was given of the client.
  void TearDown() override;

  // A browser without a window, on the test client, loading url.
  RuntimeRef<TCefBrowser> Open(const std::u16string& url = u"") { return CreateBrowser(url, client_.Hand()); }
  // Loads url into the browser's main frame and waits until nothing is pending.
  void Navigate(TCefBrowser* browser, const std::u16string& url);
  // One work call.
  void Work() const { Api().cef_do_message_loop_work(); }

  // Runs code in the main frame's page: its result as String() gives it.
  std::u16string Run(TCefBrowser* browser, const std::u16string& code) const;

  TestClient client_{Api()};
};

// A test with one browser open on an empty page and its main frame at hand.
class OpenBrowserTest : public CallbackTest {
 protected:
  void SetUp() override {
    CallbackTest::SetUp();
    browser_ = Open();
    frame_ = MainFrame(browser_.get());
  }
  void TearDown() override {
    client_.ForgetAnswers();
    frame_.reset();
    Close(browser_);
    CallbackTest::TearDown();
  }
  TCefBase* FrameArg() const { return reinterpret_cast<TCefBase*>(frame_.get()); }

  RuntimeRef<TCefBrowser> browser_;
  RuntimeRef<TCefFrame> frame_;
};

// The text of a runtime string (empty for a null one).
inline std::u16string Text(const TCefString& s) { return s.str ? std::u16string(s.str, s.length) : std::u16string(); }
std::u16string Wide(const std::string& text);
std::string Narrow(const std::u16string& text);
// An address of the test service carrying a marker of the test's own in its query.
std::u16string ServiceUrl(const std::string& path, const std::string& marker);
// The service's log lines of the test's own requests.
std::vector<std::string> Requests(const std::string& marker);
bool EndsWith(const std::u16string& text, std::u16string_view tail);
bool Contains(const std::u16string& text, std::u16string_view part);

}  // namespace callback_testing
