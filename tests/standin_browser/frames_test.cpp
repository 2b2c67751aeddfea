// Frames: named sub-frames from a page's iframes, frames that outlive their page, DOM
// visits, and events dispatched into a frame's page.

#include "standin_browser/browser_fixture.h"

namespace {

using browser_testing::BrowserTest;
using browser_testing::RuntimeRef;
using browser_testing::TempFolder;
using browser_testing::TestVisitor;
using browser_testing::View;

RuntimeRef<TCefFrame> FrameNamed(TCefBrowser* browser, const std::u16string& name) {
  TCefString n = View(name);
  return RuntimeRef<TCefFrame>(browser->get_frame(browser, &n));
}

class FramesTest : public BrowserTest {
 protected:
  // A main page with two named frames and one without a name, loaded and idle.
  void LoadFramedPage() {
    folder_.Write("left.html", "<title>Left</title><body>menu</body>");
    std::filesystem::create_directories(folder_.Path("sub"));
    folder_.Write("sub/right.html", "<title>Right</title><body>bid detail</body>");
    std::u16string main = folder_.Write(
        "main.html",
        "<title>Main</title><iframe name=\"left\" src=\"left.html\"></iframe>"
        "<iframe name=\"right\" src=\"sub/right.html\"></iframe><iframe src=\"left.html\"></iframe>");
    browser_ = CreateBrowser(main);
    WaitIdle(browser_.get());
  }

  TempFolder folder_;
  RuntimeRef<TCefBrowser> browser_;
};

TEST_F(FramesTest, NamedIframesBecomeFramesLoadingTheirResolvedSources) {
  LoadFramedPage();
  EXPECT_EQ(FrameNames(browser_.get()), (std::vector<std::u16string>{u"left", u"right"}));
  EXPECT_EQ(FrameNames(browser_.get(), {u"earlier"}), (std::vector<std::u16string>{u"earlier", u"left", u"right"}))
      << "names are appended to what the list holds";

  RuntimeRef<TCefFrame> right = FrameNamed(browser_.get(), u"right");
  ASSERT_TRUE(right);
  EXPECT_EQ(Url(right.get()), folder_.Url("sub/right.html"));
  EXPECT_EQ(Take(right->get_name(right.get())), u"right");
  EXPECT_EQ(right->is_main(right.get()), 0);
  EXPECT_NE(Take(right->get_text(right.get())).find(u"bid detail"), std::u16string::npos);
  RuntimeRef<TCefBrowser> owner(right->get_browser(right.get()));
  EXPECT_EQ(owner.get(), browser_.get());
  EXPECT_EQ(BrowserText(browser_.get(), "title"), u"Main") << "a sub-frame's page leaves the main title alone";
  EXPECT_EQ(Value(browser_.get(), "history.count"), 1) << "sub-frame loads make no history";
  owner.reset();
  Close(browser_);
}

TEST_F(FramesTest, FocusMovesBetweenFrames) {
  LoadFramedPage();
  RuntimeRef<TCefFrame> left = FrameNamed(browser_.get(), u"left");
  RuntimeRef<TCefFrame> main = MainFrame(browser_.get());
  EXPECT_EQ(left->is_focused(left.get()), 0);
  ASSERT_EQ(Control().standin_focus_frame(left.get()), 1);
  RuntimeRef<TCefFrame> focused(browser_->get_focused_frame(browser_.get()));
  EXPECT_EQ(focused.get(), left.get());
  EXPECT_EQ(left->is_focused(left.get()), 1);
  EXPECT_EQ(main->is_focused(main.get()), 0);
  Close(browser_);
}

TEST_F(FramesTest, FramesOfAReplacedPageStayValidButEmpty) {
  LoadFramedPage();
  RuntimeRef<TCefFrame> left = FrameNamed(browser_.get(), u"left");
  RuntimeRef<TCefFrame> main = MainFrame(browser_.get());
  LoadHtml(main.get(), u"<title>Plain</title>", u"http://pages.example/plain");
  WaitIdle(browser_.get());
  EXPECT_TRUE(FrameNames(browser_.get()).empty());
  EXPECT_FALSE(FrameNamed(browser_.get(), u"left"));
  EXPECT_EQ(Url(left.get()), u"");
  EXPECT_EQ(Take(left->get_text(left.get())), u"");
  EXPECT_EQ(left->get_browser(left.get()), nullptr);
  EXPECT_EQ(left->is_focused(left.get()), 0);
  LoadUrl(left.get(), folder_.Url("left.html"));
  EXPECT_EQ(Value(browser_.get(), "loads.pending"), 0) << "a detached frame loads nothing";
  EXPECT_EQ(Control().standin_live_objects("Frame"), 2) << "the main frame and the one the test holds";
  left.reset();
  EXPECT_EQ(Control().standin_live_objects("Frame"), 1);
  Close(browser_);
}

TEST_F(BrowserTest, AVisitorIsCalledOnceOnTheNextWorkCallAndReleased) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  LoadHtml(frame.get(), u"<title>Visited</title><p id='x'>x</p>", u"http://pages.example/visited");
  WaitIdle(browser.get());
  std::u16string title;
  auto visitor = base::MakeRef<TestVisitor>([&](TCefDomDocument* document) {
    ASSERT_NE(document, nullptr);
    title = Take(document->get_title(document));
  });
  frame->visit_dom(frame.get(), visitor->Hand());
  EXPECT_EQ(visitor->visits, 0) << "visits wait for the work call";
  EXPECT_EQ(visitor->RefCount(), 2);
  Api().cef_do_message_loop_work();
  EXPECT_EQ(visitor->visits, 1);
  EXPECT_EQ(title, u"Visited");
  EXPECT_EQ(visitor->RefCount(), 1) << "the runtime let go of the visitor";
  Api().cef_do_message_loop_work();
  EXPECT_EQ(visitor->visits, 1);
  Close(browser);
}

// A listener that counts the events it handles.
class CountingListener : public cef::TCefBaseOwn {
 public:
  CountingListener() : TCefBaseOwn(sizeof(TCefDomEventListener)) {
    Struct<TCefDomEventListener>()->handle_event = [](TCefDomEventListener* self, TCefDomEvent* event) CEF_CALLBACK {
      ++Self<CountingListener>(self)->events;
      if (event) event->base.release(&event->base);
    };
  }
  TCefDomEventListener* Hand() { return reinterpret_cast<TCefDomEventListener*>(Wrap()); }
  int events = 0;
};

TEST_F(BrowserTest, AnEventDispatchedInAFrameReachesTheListenerOfItsPage) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  LoadHtml(frame.get(), u"<body><button id='go'>Go</button></body>", u"http://pages.example/button");
  WaitIdle(browser.get());
  auto listener = base::MakeRef<CountingListener>();
  auto visitor = base::MakeRef<TestVisitor>([&](TCefDomDocument* document) {
    std::u16string id = u"go", type = u"click";
    TCefString i = View(id), t = View(type);
    RuntimeRef<TCefDomNode> button(document->get_element_by_id(document, &i));
    ASSERT_TRUE(button);
    button->add_event_listener(button.get(), &t, listener->Hand(), 0);
  });
  frame->visit_dom(frame.get(), visitor->Hand());
  Api().cef_do_message_loop_work();
  ASSERT_EQ(listener->RefCount(), 2) << "the page holds the listener";

  EXPECT_EQ(Control().standin_frame_dispatch_event(frame.get(), u"go", u"click"), 1);
  EXPECT_EQ(listener->events, 1);
  EXPECT_EQ(Control().standin_frame_dispatch_event(frame.get(), u"absent", u"click"), -1);

  LoadHtml(frame.get(), u"<p>next</p>", u"http://pages.example/next");
  WaitIdle(browser.get());
  EXPECT_EQ(listener->RefCount(), 1) << "leaving the page released its listeners";
  Close(browser);
}

}  // namespace
