// A browser's window on Windows: a child of the program's window, of a class of the
// library's own, painting a plain rendering of the main frame's page (white background,
// the title in bold, the address, then the visible text wrapped) scaled by the zoom level.
// Closing or destroying the window closes its browser.

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "browser_window.h"
#include "browsers.h"

namespace standin {
namespace {

constexpr wchar_t kClassName[] = L"StandinBrowserWindow";
// Posted by a WM_DESTROY that someone sent without destroying the window: the window
// follows its browser. A window that really is being destroyed never receives it.
constexpr UINT kDestroyLater = WM_APP + 1;

ATOM g_class = 0;

HINSTANCE ModuleInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
  return module;
}

// One GDI object, deleted when it goes.
class GdiObject {
 public:
  explicit GdiObject(HGDIOBJ object) noexcept : object_(object) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() {
    if (object_) DeleteObject(object_);
  }
  HGDIOBJ get() const noexcept { return object_; }

 private:
  HGDIOBJ object_;
};

// An object selected into a device context for one scope.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

Browser* BrowserOf(HWND window) { return reinterpret_cast<Browser*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

Browser* Unlink(HWND window) {
  return reinterpret_cast<Browser*>(SetWindowLongPtrW(window, GWLP_USERDATA, 0));
}

HFONT MakeFont(int height, int weight) {
  LOGFONTW font{};
  font.lfHeight = -height;
  font.lfWeight = weight;
  font.lfCharSet = DEFAULT_CHARSET;
  wcscpy(font.lfFaceName, L"Tahoma");
  return CreateFontIndirectW(&font);
}

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// Draws text at the top of area and moves the area's top below it.
void DrawBlock(HDC dc, RECT& area, const std::u16string& text, const GdiObject& font, COLORREF color,
               UINT flags, int gap) {
  if (text.empty() || area.top >= area.bottom) return;
  Selection selected(dc, font.get());
  SetTextColor(dc, color);
  RECT measured = area;
  DrawTextW(dc, Wide(text), static_cast<int>(text.size()), &measured, flags | DT_CALCRECT);
  RECT target = area;
  DrawTextW(dc, Wide(text), static_cast<int>(text.size()), &target, flags);
  area.top += (measured.bottom - measured.top) + gap;
}

void PaintPage(Browser* browser, HDC dc, const RECT& client) {
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!browser || browser->closed()) return;
  const Page& page = browser->main_frame().page;
  // Zoom levels are steps of 20 per cent, as in the browser the runtime embeds.
  double scale = std::clamp(std::pow(1.2, browser->zoom), 0.25, 5.0);
  auto scaled = [&](int size) { return std::max(1, static_cast<int>(std::lround(size * scale))); };
  RECT area{client.left + scaled(8), client.top + scaled(8), client.right - scaled(8), client.bottom - scaled(8)};
  SetBkMode(dc, TRANSPARENT);
  GdiObject title(MakeFont(scaled(22), FW_BOLD));
  GdiObject address(MakeFont(scaled(12), FW_NORMAL));
  GdiObject body(MakeFont(scaled(15), FW_NORMAL));
  constexpr UINT kLine = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
  DrawBlock(dc, area, page.title, title, RGB(0, 0, 0), kLine, scaled(4));
  DrawBlock(dc, area, page.url, address, RGB(0x55, 0x55, 0x55), kLine, scaled(10));
  DrawBlock(dc, area, page.text, body, RGB(0x20, 0x20, 0x20), DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL, 0);
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

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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
    // The program's control hands focus on by posting this message to the window.
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (Browser* browser = BrowserOf(window)) browser->focused = message == WM_SETFOCUS;
      break;
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
  }
  return DefWindowProcW(window, message, wParam, lParam);
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
  return CreateWindowExW(params.ex_style, kClassName, Wide(params.name), params.style, params.x, params.y, params.width,
                         params.height, static_cast<HWND>(params.parent), static_cast<HMENU>(params.menu),
                         ModuleInstance(), &browser);
}

void DestroyBrowserWindow(void* handle) noexcept {
  HWND window = static_cast<HWND>(handle);
  if (!window || !IsWindow(window)) return;
  Unlink(window);
  DestroyWindow(window);
}

void InvalidateBrowserWindow(void* handle) noexcept {
  if (handle) InvalidateRect(static_cast<HWND>(handle), nullptr, TRUE);
}

void FocusBrowserWindow(void* handle) noexcept {
  if (handle && IsWindow(static_cast<HWND>(handle))) SetFocus(static_cast<HWND>(handle));
}

void UnregisterBrowserWindowClass() noexcept {
  if (g_class && UnregisterClassW(kClassName, ModuleInstance())) g_class = 0;
}

}  // namespace standin
