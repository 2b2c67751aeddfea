// A browser's window on Windows: a child of the program's window, placed and styled as
// asked, painting the page, following moves, and going with its browser or its parent.

#include <windows.h>

#include "standin_browser/window_fixture.h"
#include "support/screen_shot.h"

namespace {

using browser_testing::kChildStyle;
using browser_testing::PumpMessages;
using browser_testing::RuntimeRef;
using browser_testing::TestClient;
using browser_testing::WindowTest;
using testing_support::ScreenShot;

bool Dark(COLORREF c) { return GetRValue(c) < 96 && GetGValue(c) < 96 && GetBValue(c) < 96; }

// Dark pixels of a shot in the rectangle [left, right) x [top, bottom).
int DarkIn(const ScreenShot& shot, int left, int top, int right, int bottom) {
  int n = 0;
  for (int y = top; y < bottom && y < shot.Height(); ++y)
    for (int x = left; x < right && x < shot.Width(); ++x) n += Dark(shot.At(x, y)) ? 1 : 0;
  return n;
}

TEST_F(WindowTest, TheWindowIsAChildPlacedAndStyledAsAsked) {
  RuntimeRef<TCefBrowser> browser = CreateChild(10, 20, 300, 200);
  HWND window = WindowOf(browser.get());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(Control().standin_browser_window(browser.get()), window);
  EXPECT_EQ(GetParent(window), parent_);
  EXPECT_EQ(static_cast<uint32_t>(GetWindowLongW(window, GWL_STYLE)) & kChildStyle, kChildStyle);
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, parent_, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(r.bottom - r.top, 200);
  EXPECT_EQ(browser->get_opener_window_handle(browser.get()), nullptr);
  Close(browser);
}

TEST_F(WindowTest, ThePagesTitleIsPaintedDarkOnWhite) {
  RuntimeRef<TCefBrowser> browser = CreateChild(0, 0, 400, 300);
  ShowPage(browser.get(), u"<title>WMWMWMWM</title><body></body>");
  HWND window = WindowOf(browser.get());
  ScreenShot shot(window);
  EXPECT_EQ(shot.At(390, 290), RGB(255, 255, 255)) << "a white page";
  EXPECT_GT(DarkIn(shot, 0, 0, 200, 40), 40) << "the title in bold at the top";
  EXPECT_EQ(DarkIn(shot, 0, 120, 400, 300), 0) << "nothing below the title and the address";

  browser->set_zoom_level(browser.get(), 3.0);
  UpdateWindow(window);
  PumpMessages();
  ScreenShot zoomed(window);
  EXPECT_GT(DarkIn(zoomed, 0, 0, 400, 120), DarkIn(shot, 0, 0, 400, 120)) << "zooming in paints larger text";
  Close(browser);
}

TEST_F(WindowTest, TheWindowFollowsSetWindowPos) {
  RuntimeRef<TCefBrowser> browser = CreateChild(0, 0, 200, 100);
  HWND window = WindowOf(browser.get());
  ASSERT_TRUE(SetWindowPos(window, nullptr, 5, 6, 420, 260, SWP_NOZORDER));
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 420);
  EXPECT_EQ(client.bottom, 260);
  Close(browser);
}

TEST_F(WindowTest, AFocusMessageFocusesTheBrowser) {
  RuntimeRef<TCefBrowser> browser = CreateChild(0, 0, 200, 100);
  // As the program's browser control hands its focus on.
  PostMessageW(WindowOf(browser.get()), WM_SETFOCUS, 0, 0);
  EXPECT_EQ(Value(browser.get(), "focused"), 0);
  PumpMessages();
  EXPECT_EQ(Value(browser.get(), "focused"), 1);
  Close(browser);
}

TEST_F(WindowTest, ClosingTheBrowserDestroysItsWindow) {
  RuntimeRef<TCefBrowser> browser = CreateChild(0, 0, 200, 100);
  HWND window = WindowOf(browser.get());
  browser->close_browser(browser.get());
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(browser->get_window_handle(browser.get()), nullptr);
  browser.reset();
}

TEST_F(WindowTest, CloseAndDestroyMessagesCloseTheBrowser) {
  auto client = base::MakeRef<TestClient>();
  RuntimeRef<TCefBrowser> browser = CreateChild(0, 0, 200, 100, client->Hand());
  HWND window = WindowOf(browser.get());
  // How the program's browser control replaces its browser.
  SendMessageW(window, WM_CLOSE, 0, 0);
  SendMessageW(window, WM_DESTROY, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(Value(browser.get(), "closed"), 1);
  EXPECT_EQ(client->RefCount(), 1);
  browser.reset();

  RuntimeRef<TCefBrowser> second = CreateChild(0, 0, 200, 100);
  HWND other = WindowOf(second.get());
  SendMessageW(other, WM_DESTROY, 0, 0);
  EXPECT_EQ(Value(second.get(), "closed"), 1) << "a destroy message alone closes the browser";
  PumpMessages();
  EXPECT_FALSE(IsWindow(other)) << "and its window follows";
  second.reset();
}

TEST_F(WindowTest, TheWindowGoesWithItsParent) {
  RuntimeRef<TCefBrowser> browser = CreateChild(0, 0, 200, 100);
  HWND window = WindowOf(browser.get());
  browser->parent_window_will_close(browser.get());
  DestroyWindow(parent_);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(Value(browser.get(), "parent_window_will_close"), 1);
  EXPECT_EQ(Value(browser.get(), "closed"), 1);
  EXPECT_EQ(Control().standin_browser_count(), 0);
  browser.reset();
}

}  // namespace
