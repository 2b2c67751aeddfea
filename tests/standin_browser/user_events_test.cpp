// A user's event at an element, dispatched as a click on a link makes it: the page's
// handler attributes run after the program's listeners and may cancel the link.

#include <string>

#include "standin_browser/browser_fixture.h"

namespace {

using browser_testing::BrowserTest;
using browser_testing::RuntimeRef;
using browser_testing::TempFolder;

class UserEventTest : public BrowserTest {
 protected:
  // Shows a page of the folder's own and answers its address.
  std::u16string Show(TCefFrame* frame, const std::u16string& body) {
    folder_.Write("second.html", "<title>Second</title>");
    std::u16string first = folder_.Url("first.html");
    LoadHtml(frame, body, first);
    WaitIdle();
    return first;
  }
  // Clicks the element as a user would and lets any load finish.
  void Click(TCefFrame* frame, const char16_t* id) {
    EXPECT_EQ(Control().standin_frame_dispatch_event(frame, id, u"click"), 0) << "no listener of the program's";
    WaitIdle();
  }
  std::u16string Second() const { return folder_.Url("second.html"); }

  TempFolder folder_;
};

TEST_F(UserEventTest, AHandlerAttributeCancelsALinkByPreventDefaultOrAnsweringFalse) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  std::u16string first = Show(frame.get(),
                              u"<a id='prevented' href='second.html' onclick='event.preventDefault()'>a</a>"
                              u"<a id='false' href='second.html' onClick='return false'>b</a>"
                              u"<div onclick='if (event.type === \"click\") event.preventDefault()'>"
                              u"<a id='inner' href='second.html'><b id='bold'>c</b></a></div>");
  int n = 0;
  for (const char16_t* id : {u"prevented", u"false", u"inner", u"bold"}) {
    Click(frame.get(), id);
    EXPECT_EQ(Url(frame.get()), first) << "click " << n++ << " was cancelled";
  }
  EXPECT_EQ(Value(browser.get(), "history.count"), 1);
  Close(browser);
}

TEST_F(UserEventTest, AHandlerThatDoesNotCancelLetsTheLinkGo) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  Show(frame.get(), u"<a id='titled' href='second.html' onclick='document.title = event.type; return true'>a</a>");
  Click(frame.get(), u"titled");
  EXPECT_EQ(Url(frame.get()), Second());
  EXPECT_EQ(FrameText(frame.get(), "title"), u"Second");

  int errors = Control().standin_script_count("errors");
  Show(frame.get(), u"<a id='throws' href='second.html' onclick='throw new Error(\"handler\")'>a</a>");
  Click(frame.get(), u"throws");
  EXPECT_EQ(Url(frame.get()), Second()) << "an error in the handler does not cancel the link";
  EXPECT_EQ(Control().standin_script_count("errors"), errors + 1) << "and is reported like any script error";
  Close(browser);
}

TEST_F(UserEventTest, AHandlerSeesThePageAndRunsOnlyForItsOwnType) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  std::u16string first = Show(frame.get(),
                              u"<p id='out'>none</p>"
                              u"<a id='link' href='second.html' onmouseover='return false' "
                              u"onclick='document.getElementById(\"out\").innerText = event.type; return false'>a</a>");
  EXPECT_EQ(Control().standin_frame_dispatch_event(frame.get(), u"link", u"mouseover"), 0);
  EXPECT_EQ(FrameText(frame.get(), "text").find(u"none"), 0u) << "a mouseover reaches no click handler";
  Click(frame.get(), u"link");
  EXPECT_EQ(Url(frame.get()), first);
  EXPECT_EQ(FrameText(frame.get(), "text").find(u"click"), 0u) << "the handler ran in the page's context";
  Close(browser);
}

}  // namespace
