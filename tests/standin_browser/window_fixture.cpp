#include "standin_browser/window_fixture.h"

namespace browser_testing {
namespace {

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void WindowTest::SetUp() {
  WNDCLASSW c{};
  c.lpfnWndProc = &ParentProc;
  c.hInstance = GetModuleHandleW(nullptr);
  c.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  c.lpszClassName = L"StandinWindowTestParent";
  RegisterClassW(&c);
  parent_ = CreateWindowExW(0, L"StandinWindowTestParent", L"parent", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                            kParentLeft, kParentTop, 640, 480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(parent_, nullptr);
}

void WindowTest::TearDown() {
  if (IsWindow(parent_)) DestroyWindow(parent_);
  PumpMessages();
  BrowserTest::TearDown();
}

RuntimeRef<TCefBrowser> WindowTest::CreateChild(int x, int y, int width, int height, TCefClient* client) {
  TCefWindowInfo info{};
  info.Style = kChildStyle;
  info.WndParent = parent_;
  info.x = x;
  info.y = y;
  info.Width = width;
  info.Height = height;
  TCefBrowserSettings settings{};
  settings.size = sizeof settings;
  TCefString url{};
  return RuntimeRef<TCefBrowser>(Api().cef_browser_create_sync(&info, client, &url, &settings));
}

void WindowTest::ShowPage(TCefBrowser* browser, const std::u16string& html, const std::u16string& url) {
  RuntimeRef<TCefFrame> frame = MainFrame(browser);
  LoadHtml(frame.get(), html, url);
  WaitIdle(browser);
  UpdateWindow(parent_);
  PumpMessages();
}

}  // namespace browser_testing
