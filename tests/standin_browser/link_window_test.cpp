// The links of a browser's page as windows a person can click: one per link, titled with
// its text, below the page's text; a click or Enter follows the link as a user's click
// does, unless the page cancels it; F5 reloads; the windows follow the page and go with
// the browser.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "standin_browser/window_fixture.h"
#include "support/screen_shot.h"
#include "support/test_service.h"

namespace {

using browser_testing::PumpMessages;
using browser_testing::RuntimeRef;
using browser_testing::TestVisitor;
using browser_testing::View;
using browser_testing::WindowTest;
using testing_support::ScreenShot;

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// A marker of this run's own: the service's log outlives test runs.
const std::string& RunMarker() {
  static const std::string marker =
      std::to_string(std::chrono::system_clock::now().time_since_epoch().count() % 1000000007);
  return marker;
}

std::string Marked(const std::string& marker) { return "m=link-" + marker + "-" + RunMarker(); }

// An address of the service carrying a marker of the test's own in its query.
std::u16string ServiceUrl(const std::string& path, const std::string& marker) {
  return Wide(testing_support::TestServiceUrl(path + (path.find('?') == std::string::npos ? "?" : "&") +
                                              Marked(marker)));
}

size_t Requests(const std::string& marker) { return testing_support::TestServiceRequests(Marked(marker)).size(); }

// The service's log lines that asked for exactly this target.
size_t RequestsFor(const std::string& target) {
  std::vector<std::string> log = testing_support::TestServiceLog();
  return static_cast<size_t>(std::count_if(log.begin(), log.end(), [&](const std::string& line) {
    return line.rfind("GET\t" + target + "\t", 0) == 0;
  }));
}

// The number of anchors in a page's source; every one of the service's has an address.
size_t Anchors(const std::u16string& source) {
  size_t n = 0;
  for (size_t at = source.find(u"<a "); at != std::u16string::npos; at = source.find(u"<a ", at + 1)) ++n;
  return n;
}

RECT ScreenRect(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return r;
}

BOOL CALLBACK CollectLink(HWND child, LPARAM found) {
  wchar_t name[64] = {};
  GetClassNameW(child, name, 64);
  if (std::wstring(name) == L"StandinLink") reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
  return TRUE;
}

// The link windows inside a browser window, top to bottom.
std::vector<HWND> LinkWindows(HWND browserWindow) {
  std::vector<HWND> links;
  EnumChildWindows(browserWindow, &CollectLink, reinterpret_cast<LPARAM>(&links));
  std::sort(links.begin(), links.end(), [](HWND a, HWND b) { return ScreenRect(a).top < ScreenRect(b).top; });
  return links;
}

std::u16string TextOf(HWND window) {
  std::u16string text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
  int length = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(std::max(length, 0)));
  return text;
}

std::vector<std::u16string> Texts(const std::vector<HWND>& windows) {
  std::vector<std::u16string> texts;
  for (HWND window : windows) texts.push_back(TextOf(window));
  return texts;
}

// The link window with that text, or null.
HWND Find(const std::vector<HWND>& links, const std::u16string& text) {
  auto it = std::find_if(links.begin(), links.end(), [&](HWND link) { return TextOf(link) == text; });
  return it == links.end() ? nullptr : *it;
}

LPARAM Point(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

// A left click posted to the middle of a window, as the mouse would send it.
void Click(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  LPARAM centre = Point(client.right / 2, client.bottom / 2);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  PostMessageW(window, WM_LBUTTONUP, 0, centre);
  PumpMessages();
}

void Key(HWND window, UINT key) {
  PostMessageW(window, WM_KEYDOWN, key, 1);
  PostMessageW(window, WM_KEYUP, key, 0xC0000001);
  PumpMessages();
}

// A process's handles, closed when it goes.
struct ProcessHandles {
  PROCESS_INFORMATION info{};
  ~ProcessHandles() {
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
  }
};

// Starts xdotool (a program of the display's host, which Wine starts like its own) to move
// the display's real pointer to a screen point and click there; false when it cannot run.
// The click then arrives as messages for this thread.
bool ClickOnTheDisplay(POINT at) {
  std::wstring command = L"Z:\\usr\\bin\\xdotool mousemove " + std::to_wstring(at.x) + L" " + std::to_wstring(at.y) +
                         L" click 1";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  ProcessHandles process;
  return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process.info) != FALSE;
}

bool LinkBlue(COLORREF c) { return GetBValue(c) > 160 && GetRValue(c) < 100 && GetGValue(c) < 100; }

int BlueIn(const ScreenShot& shot) {
  int n = 0;
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x) n += LinkBlue(shot.At(x, y)) ? 1 : 0;
  return n;
}

// A listener of the program's that counts the events that reach it.
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

class LinkWindowTest : public WindowTest {
 protected:
  RuntimeRef<TCefBrowser> Open(const std::u16string& url, int width = 500, int height = 400) {
    RuntimeRef<TCefBrowser> browser = CreateChild(0, 0, width, height);
    RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
    LoadUrl(frame.get(), url);
    Settle(browser.get());
    return browser;
  }
  // Lets the page's loads finish and every window paint.
  void Settle(TCefBrowser* browser) {
    PumpMessages();
    WaitIdle(browser);
    UpdateWindow(parent_);
    PumpMessages();
  }
  std::u16string MainUrl(TCefBrowser* browser) { return Url(MainFrame(browser).get()); }
};

TEST_F(LinkWindowTest, EachLinkOfTheServicesPagesIsAWindowTitledWithItsText) {
  RuntimeRef<TCefBrowser> browser = Open(ServiceUrl("/bids", "list"));
  HWND window = WindowOf(browser.get());
  std::vector<HWND> links = LinkWindows(window);
  ASSERT_EQ(links.size(), Anchors(BrowserText(browser.get(), "source"))) << "one window per link";
  ASSERT_GE(links.size(), 4u);
  std::vector<std::u16string> texts = Texts(links);
  EXPECT_EQ(std::vector<std::u16string>(texts.begin(), texts.begin() + 4),
            (std::vector<std::u16string>{u"Bid 1", u"Bid 2", u"Bid 3", u"처음으로"}))
      << "in document order";
  RECT page = ScreenRect(window);
  for (size_t i = 0; i < links.size(); ++i) {
    RECT r = ScreenRect(links[i]);
    EXPECT_TRUE(IsWindowVisible(links[i]));
    EXPECT_EQ(r.left, ScreenRect(links[0]).left) << "one link a line";
    EXPECT_GT(r.bottom - r.top, 8) << "as tall as a line of text";
    EXPECT_GT(r.right - r.left, 8);
    EXPECT_GE(r.left, page.left);
    EXPECT_LE(r.bottom, page.bottom);
    if (i > 0) {
      EXPECT_GE(r.top, ScreenRect(links[i - 1]).bottom) << "below the one before";
    }
  }
  // Below the title, the address and the list's text.
  EXPECT_GT(ScreenRect(links[0]).top - page.top, 80);
  ScreenShot shot(links[0]);
  EXPECT_GT(BlueIn(shot), 10) << "painted in the links' blue";
  EXPECT_EQ(shot.At(shot.Width() - 1, 0), RGB(255, 255, 255)) << "on white";

  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  LoadUrl(frame.get(), ServiceUrl("/auth/auto/a/b", "signed-in"));
  Settle(browser.get());
  std::vector<std::u16string> signedIn = Texts(LinkWindows(window));
  ASSERT_FALSE(signedIn.empty());
  EXPECT_EQ(signedIn.front(), u"입찰 목록");
  for (HWND old : links) EXPECT_FALSE(IsWindow(old)) << "a new page replaces the link windows";

  LoadUrl(frame.get(), ServiceUrl("/frames/left", "no-links"));
  Settle(browser.get());
  EXPECT_TRUE(LinkWindows(window).empty());
  Close(browser);
}

TEST_F(LinkWindowTest, AClickOnALinkFollowsItLikeTheUsersClick) {
  RuntimeRef<TCefBrowser> browser = Open(ServiceUrl("/dom", "follow"));
  HWND window = WindowOf(browser.get());
  std::vector<HWND> links = LinkWindows(window);
  HWND second = Find(links, u"Second page");
  ASSERT_NE(second, nullptr);
  size_t before = RequestsFor("/second");

  Click(second);
  Settle(browser.get());
  EXPECT_EQ(MainUrl(browser.get()), Wide(testing_support::TestServiceUrl("/second")));
  EXPECT_EQ(RequestsFor("/second"), before + 1) << "the service was asked for the link's target";
  EXPECT_EQ(TextOf(window), MainUrl(browser.get())) << "the window shows the new address";
  for (HWND old : links) EXPECT_FALSE(IsWindow(old)) << "the new page's links replace the old";
  EXPECT_NE(Find(LinkWindows(window), u"Back"), nullptr);
  EXPECT_EQ(Value(browser.get(), "focused"), 1) << "a click gives the browser the keyboard";
  Close(browser);
}

TEST_F(LinkWindowTest, TheDisplaysMouseFollowsALink) {
  RuntimeRef<TCefBrowser> browser = Open(ServiceUrl("/bids", "mouse"));
  std::vector<HWND> links = LinkWindows(WindowOf(browser.get()));
  ASSERT_GE(links.size(), 2u);
  ASSERT_EQ(TextOf(links[1]), u"Bid 2");
  RECT r = ScreenRect(links[1]);
  if (!ClickOnTheDisplay(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2})) GTEST_SKIP() << "xdotool cannot run";
  std::u16string target = Wide(testing_support::TestServiceUrl("/bids/2"));
  // Wait for the click's messages and the load they start, within a limit.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (MainUrl(browser.get()) != target && std::chrono::steady_clock::now() < deadline) {
    PumpMessages();
    Api().cef_do_message_loop_work();
    Sleep(10);
  }
  Settle(browser.get());
  EXPECT_EQ(MainUrl(browser.get()), target);
  Close(browser);
}

TEST_F(LinkWindowTest, OnlyAPressAndReleaseOverTheSameLinkFollowsIt) {
  RuntimeRef<TCefBrowser> browser = CreateChild(0, 0, 500, 300);
  ShowPage(browser.get(),
           u"<a href='" + ServiceUrl("/second", "press-a") + u"'>A</a><a href='" + ServiceUrl("/second", "press-b") +
               u"'>B</a>",
           ServiceUrl("/shown", "press"));
  std::vector<HWND> links = LinkWindows(WindowOf(browser.get()));
  ASSERT_EQ(links.size(), 2u);
  PostMessageW(links[0], WM_LBUTTONUP, 0, Point(2, 2));
  PostMessageW(links[0], WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 2));
  PostMessageW(links[0], WM_LBUTTONUP, 0, Point(-5, -5));
  PostMessageW(links[0], WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 2));
  PostMessageW(links[1], WM_LBUTTONUP, 0, Point(2, 2));
  Settle(browser.get());
  EXPECT_EQ(MainUrl(browser.get()), ServiceUrl("/shown", "press"))
      << "a release alone, one outside the link, and one over another link go nowhere";
  EXPECT_EQ(Requests("press-a") + Requests("press-b"), 0u);
  Close(browser);
}

TEST_F(LinkWindowTest, ThePagesListenersRunFirstAndMayCancelTheLink) {
  RuntimeRef<TCefBrowser> browser = CreateChild(0, 0, 500, 300);
  std::u16string here = ServiceUrl("/shown", "cancel");
  ShowPage(browser.get(),
           u"<a id='prevented' href='" + ServiceUrl("/second", "cancel-prevented") +
               u"' onclick='event.preventDefault()'>Prevented</a>"
               u"<a href='" + ServiceUrl("/second", "cancel-false") + u"' onclick='return false'>False</a>"
               u"<p onclick='event.preventDefault()'><a href='" + ServiceUrl("/second", "cancel-bubbled") +
               u"'>Bubbled</a></p>"
               u"<a href='" + ServiceUrl("/second", "cancel-allowed") + u"' onclick='document.title = \"seen\"'>Allowed</a>",
           here);
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  auto listener = base::MakeRef<CountingListener>();
  auto visitor = base::MakeRef<TestVisitor>([&](TCefDomDocument* document) {
    std::u16string id = u"prevented", type = u"click";
    TCefString i = View(id), t = View(type);
    RuntimeRef<TCefDomNode> link(document->get_element_by_id(document, &i));
    ASSERT_TRUE(link);
    link->add_event_listener(link.get(), &t, listener->Hand(), 0);
  });
  frame->visit_dom(frame.get(), visitor->Hand());
  Api().cef_do_message_loop_work();

  std::vector<HWND> links = LinkWindows(WindowOf(browser.get()));
  ASSERT_EQ(Texts(links), (std::vector<std::u16string>{u"Prevented", u"False", u"Bubbled", u"Allowed"}));
  for (int i = 0; i < 3; ++i) Click(links[i]);
  Settle(browser.get());
  EXPECT_EQ(listener->events, 1) << "the program's listener saw the click";
  EXPECT_EQ(MainUrl(browser.get()), here);
  EXPECT_EQ(Requests("cancel-prevented") + Requests("cancel-false") + Requests("cancel-bubbled"), 0u);

  Click(links[3]);
  Settle(browser.get());
  EXPECT_EQ(Requests("cancel-allowed"), 1u) << "a handler that does not cancel lets the link go";
  EXPECT_EQ(MainUrl(browser.get()), ServiceUrl("/second", "cancel-allowed"));
  Close(browser);
  EXPECT_EQ(listener->RefCount(), 1) << "the page let go of the listener";
}

TEST_F(LinkWindowTest, TabMarksTheLinksInTurnAndEnterFollowsTheMarkedOne) {
  RuntimeRef<TCefBrowser> browser = CreateChild(0, 0, 500, 300);
  std::u16string here = ServiceUrl("/shown", "keys");
  ShowPage(browser.get(),
           u"<p>Links:</p><a href='" + ServiceUrl("/second", "keys-1") + u"'>One</a> <a href='" +
               ServiceUrl("/second", "keys-2") + u"'>Two</a> <a href='" + ServiceUrl("/second", "keys-3") +
               u"'>Three</a>",
           here);
  HWND window = WindowOf(browser.get());
  Key(window, VK_RETURN);
  Settle(browser.get());
  EXPECT_EQ(MainUrl(browser.get()), here) << "Enter without a marked link does nothing";

  std::vector<HWND> links = LinkWindows(window);
  ASSERT_EQ(links.size(), 3u);
  ScreenShot unmarked(links[1]);
  // Round the end: the fourth Tab comes back to the first link, the fifth marks the second.
  for (int i = 0; i < 5; ++i) Key(window, VK_TAB);
  UpdateWindow(links[1]);
  ScreenShot marked(links[1]);
  int changed = 0;
  for (int x = 0; x < marked.Width(); ++x) changed += marked.At(x, 0) != unmarked.At(x, 0) ? 1 : 0;
  EXPECT_GT(changed, 0) << "the marked link shows a focus rectangle";

  Key(window, VK_RETURN);
  Settle(browser.get());
  EXPECT_EQ(Requests("keys-2"), 1u);
  EXPECT_EQ(Requests("keys-1") + Requests("keys-3"), 0u);
  EXPECT_EQ(MainUrl(browser.get()), ServiceUrl("/second", "keys-2"));
  Close(browser);
}

TEST_F(LinkWindowTest, F5ReloadsThePage) {
  RuntimeRef<TCefBrowser> browser = Open(ServiceUrl("/second", "reload"));
  ASSERT_EQ(Requests("reload"), 1u);
  Key(WindowOf(browser.get()), VK_F5);
  Settle(browser.get());
  EXPECT_EQ(Requests("reload"), 2u);
  EXPECT_EQ(Value(browser.get(), "history.count"), 1) << "a reload makes no new history entry";
  Close(browser);
}

TEST_F(LinkWindowTest, LinksFollowScriptsZoomAndSize) {
  RuntimeRef<TCefBrowser> browser = CreateChild(0, 0, 500, 300);
  ShowPage(browser.get(),
           u"<a id='changing' href='/x'>Before</a> <a href='/y'></a>"
           u"<script>document.getElementById('changing').innerText = 'After';</script>");
  HWND window = WindowOf(browser.get());
  std::vector<HWND> links = LinkWindows(window);
  EXPECT_EQ(Texts(links), (std::vector<std::u16string>{u"After", u"/y"}))
      << "a script's change shows, and a link without text shows its address";
  ASSERT_EQ(links.size(), 2u);
  RECT small = ScreenRect(links[1]);

  browser->set_zoom_level(browser.get(), 2.0);
  PumpMessages();
  RECT zoomed = ScreenRect(LinkWindows(window)[1]);
  EXPECT_GT(zoomed.top, small.top) << "larger text above pushes the links down";
  EXPECT_GT(zoomed.bottom - zoomed.top, small.bottom - small.top) << "and the links grow with it";

  // Narrower: the page's text wraps onto more lines.
  ShowPage(browser.get(), u"<p>" + std::u16string(40, u'w') + u" " + std::u16string(40, u'w') +
                              u"</p><a href='/z'>Below</a>");
  RECT wide = ScreenRect(LinkWindows(window)[0]);
  SetWindowPos(window, nullptr, 0, 0, 250, 300, SWP_NOZORDER | SWP_NOMOVE);
  PumpMessages();
  EXPECT_GT(ScreenRect(LinkWindows(window)[0]).top, wide.top);
  Close(browser);
}

TEST_F(LinkWindowTest, TheLinksGoWithTheBrowser) {
  RuntimeRef<TCefBrowser> browser = Open(ServiceUrl("/bids", "close"));
  std::vector<HWND> links = LinkWindows(WindowOf(browser.get()));
  ASSERT_GE(links.size(), 4u);
  browser->close_browser(browser.get());
  for (HWND link : links) EXPECT_FALSE(IsWindow(link));
  browser.reset();

  // With the parent too.
  RuntimeRef<TCefBrowser> second = Open(ServiceUrl("/dom", "close-parent"));
  std::vector<HWND> more = LinkWindows(WindowOf(second.get()));
  ASSERT_FALSE(more.empty());
  DestroyWindow(parent_);
  for (HWND link : more) EXPECT_FALSE(IsWindow(link));
  EXPECT_EQ(Value(second.get(), "closed"), 1);
  second.reset();
}

}  // namespace
