// A browser's window on Windows: a child of the program's window, of a class of the
// library's own, painting a plain rendering of the main frame's page (white background,
// the title in bold, the address, then the visible text wrapped) scaled by the zoom level,
// with the page's links as windows of their own below the text.
// Its text is the page's address. Closing or destroying the window closes its browser.
// With the focus, Tab and Shift+Tab move a focus mark through the links, Enter follows
// the marked one and F5 reloads the page.

#include <windows.h>

#include <cwchar>

#include "browser_window.h"
#include "browser_window_win32.h"
#include "browsers.h"

namespace standin {
namespace window {

HINSTANCE ModuleInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
  return module;
}

Browser* BrowserOf(HWND window) { return reinterpret_cast<Browser*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

HFONT MakeFont(int height, int weight, Underline underline) {
  LOGFONTW font{};
  font.lfHeight = -height;
  font.lfWeight = weight;
  font.lfUnderline = underline == Underline::Yes ? TRUE : FALSE;
  // Pages are mostly Korean: a face with Hangul (installed with the test setup), and the
  // charset lets the font mapper find another one when it is missing.
  font.lfCharSet = HANGUL_CHARSET;
  wcscpy(font.lfFaceName, L"NanumGothic");
  return CreateFontIndirectW(&font);
}

}  // namespace window

namespace {

using window::BrowserOf;
using window::GdiObject;
using window::ModuleInstance;
using window::Selection;
using window::Wide;
using window::Zoom;

constexpr wchar_t kClassName[] = L"StandinBrowserWindow";
// Posted by a WM_DESTROY that someone sent without destroying the window: the window
// follows its browser. A window that really is being destroyed never receives it.
constexpr UINT kDestroyLater = WM_APP + 1;

ATOM g_class = 0;

Browser* Unlink(HWND window) {
  return reinterpret_cast<Browser*>(SetWindowLongPtrW(window, GWLP_USERDATA, 0));
}

Browser* OpenBrowserOf(HWND window) {
  Browser* browser = BrowserOf(window);
  return browser && !browser->closed() ? browser : nullptr;
}

// The page is either painted, or only measured to find where the links go.
enum class Pass { Paint, Measure };

// Lays text out at the top of area, drawing it on a painting pass, and moves the area's
// top below it.
void DrawBlock(HDC dc, RECT& area, const std::u16string& text, const GdiObject& font, COLORREF color,
               UINT flags, int gap, Pass pass) {
  if (text.empty() || area.top >= area.bottom) return;
  Selection selected(dc, font.get());
  SetTextColor(dc, color);
  RECT measured = area;
  DrawTextW(dc, Wide(text), static_cast<int>(text.size()), &measured, flags | DT_CALCRECT);
  if (pass == Pass::Paint) {
    RECT target = area;
    DrawTextW(dc, Wide(text), static_cast<int>(text.size()), &target, flags);
  }
  area.top += (measured.bottom - measured.top) + gap;
}

// The title, the address and the visible text from the top of the client area down;
// answers the area left below them, where the links go.
RECT LayOutPage(const Browser& browser, HDC dc, const RECT& client, Pass pass) {
  const Page& page = browser.main_frame().page;
  Zoom zoom(browser.zoom);
  RECT area{client.left + zoom(8), client.top + zoom(8), client.right - zoom(8), client.bottom - zoom(8)};
  SetBkMode(dc, TRANSPARENT);
  GdiObject title(window::MakeFont(zoom(window::kTitleSize), FW_BOLD));
  GdiObject address(window::MakeFont(zoom(window::kAddressSize), FW_NORMAL));
  GdiObject body(window::MakeFont(zoom(window::kBodySize), FW_NORMAL));
  constexpr UINT kLine = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
  DrawBlock(dc, area, page.title, title, RGB(0, 0, 0), kLine, zoom(4), pass);
  DrawBlock(dc, area, page.url, address, RGB(0x55, 0x55, 0x55), kLine, zoom(10), pass);
  DrawBlock(dc, area, page.text, body, RGB(0x20, 0x20, 0x20), DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL, zoom(10),
            pass);
  return area;
}

void PaintPage(Browser* browser, HDC dc, const RECT& client) {
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (browser && !browser->closed()) LayOutPage(*browser, dc, client, Pass::Paint);
}

// Puts the link windows below the page's text as it is painted now.
void PlaceLinks(HWND window, const Browser& browser) {
  RECT client;
  GetClientRect(window, &client);
  window::WindowDc dc(window);
  if (!dc.get()) return;
  RECT below = LayOutPage(browser, dc.get(), client, Pass::Measure);
  window::PlaceLinks(window, Zoom(browser.zoom), below);
}

LRESULT OnPaint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  PaintPage(BrowserOf(window), dc, client);
  EndPaint(window, &ps);
  return 0;
}

LRESULT OnPrintClient(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  PaintPage(BrowserOf(window), dc, client);
  return 0;
}

// Loads the current history entry again, as the browser's reload member does.
void Reload(Browser& browser) {
  int index = browser.history.index();
  if (const HistoryEntry* entry = browser.history.At(index))
    StartLoad(browser.main_frame(), entry->params, NavigationKind::Reload, index);
}

LRESULT OnKeyDown(HWND window, WPARAM key, LPARAM details) {
  switch (key) {
    case VK_TAB: {
      bool back = GetKeyState(VK_SHIFT) < 0;
      window::MoveLinkFocus(window, back ? window::Direction::Backward : window::Direction::Forward);
      return 0;
    }
    case VK_RETURN:
      window::FollowFocusedLink(window);
      return 0;
    case VK_F5:
      if (Browser* browser = OpenBrowserOf(window)) Reload(*browser);
      return 0;
  }
  return DefWindowProcW(window, WM_KEYDOWN, key, details);
}

LRESULT WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
      break;
    case WM_ERASEBKGND:
      return 1;  // painting fills the background itself
    case WM_PAINT:
      return OnPaint(window);
    case WM_PRINTCLIENT:
      return OnPrintClient(window, reinterpret_cast<HDC>(wParam));
    case WM_SIZE:
      if (Browser* browser = OpenBrowserOf(window)) PlaceLinks(window, *browser);
      break;
    // The program's control hands focus on by posting this message to the window.
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (Browser* browser = BrowserOf(window)) browser->focused = message == WM_SETFOCUS;
      break;
    // A click on the page gives the browser the keyboard, as in a browser.
    case WM_LBUTTONDOWN:
      if (GetFocus() != window) SetFocus(window);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTTAB;
    case WM_KEYDOWN:
      return OnKeyDown(window, wParam, lParam);
    case WM_CLOSE:
      if (Browser* browser = BrowserOf(window))
        browser->Close();  // destroys the window
      else
        DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      if (Browser* browser = Unlink(window)) browser->WindowDestroyed();
      PostMessageW(window, kDestroyLater, 0, 0);
      return 0;
    case kDestroyLater:
      DestroyWindow(window);
      return 0;
    case WM_NCDESTROY:
      window::ForgetLinks(window);
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    return WindowMessage(window, message, wParam, lParam);
  } catch (...) {
    RecordError("a browser window could not handle a message");
    return 0;
  }
}

bool EnsureClass() {
  if (g_class) return true;
  WNDCLASSEXW c{};
  c.cbSize = sizeof c;
  c.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  c.lpfnWndProc = &WindowProc;
  c.hInstance = ModuleInstance();
  c.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  c.lpszClassName = kClassName;
  g_class = RegisterClassExW(&c);
  return g_class != 0;
}

}  // namespace

void* CreateBrowserWindow(Browser& browser, const WindowParams& params) {
  if (!params.parent) return nullptr;
  if (!EnsureClass()) {
    RecordError("the browser window class cannot be registered");
    return nullptr;
  }
  // The page's painting must not cover its link windows, whatever style was asked for.
  return CreateWindowExW(params.ex_style, kClassName, Wide(params.name), params.style | WS_CLIPCHILDREN, params.x,
                         params.y, params.width, params.height, static_cast<HWND>(params.parent),
                         static_cast<HMENU>(params.menu), ModuleInstance(), &browser);
}

void DestroyBrowserWindow(void* handle) noexcept {
  HWND window = static_cast<HWND>(handle);
  if (!window || !IsWindow(window)) return;
  Unlink(window);
  DestroyWindow(window);
}

void InvalidateBrowserWindow(void* handle) noexcept {
  if (!handle) return;
  HWND window = static_cast<HWND>(handle);
  InvalidateRect(window, nullptr, TRUE);
  Browser* browser = OpenBrowserOf(window);
  if (!browser) return;
  // The window's text is the address shown, exactly as loaded: other processes (tests of
  // the whole program) read it as a user reads the address bar.
  SetWindowTextW(window, Wide(browser->main_frame().page.url));
  try {
    window::SyncLinks(window, browser->main_frame().page);
    PlaceLinks(window, *browser);
  } catch (...) {
    RecordError("the page's links could not be shown");
  }
}

void FocusBrowserWindow(void* handle) noexcept {
  if (handle && IsWindow(static_cast<HWND>(handle))) SetFocus(static_cast<HWND>(handle));
}

void UnregisterBrowserWindowClass() noexcept {
  window::UnregisterLinkClass();
  if (g_class && UnregisterClassW(kClassName, ModuleInstance())) g_class = 0;
}

}  // namespace standin
