// The links of a browser's page as windows a person can click: one child window of the
// browser window per <a href> of the main frame's document, in document order, each
// titled with the link's visible text and painted as a link (blue, underlined, on white,
// with a hand cursor). Tests in other processes find them by their class and text.
//
// A click (the button released over the link it went down on) or Enter on the link that
// carries the focus mark follows it as a user's click does: the element's listeners first,
// then the default action unless they cancelled it. A link window only knows its index
// among the document's links; the element is looked up again at click time, and nothing
// happens when the document is no longer the one the window was made for.

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "browser_window_win32.h"
#include "browsers.h"
#include "html.h"
#include "page_actions.h"

namespace standin::window {
namespace {

constexpr wchar_t kLinkClass[] = L"StandinLink";
// Room around a link's text for the focus mark.
constexpr int kPadding = 2;
constexpr int kLineGap = 4;
constexpr COLORREF kLinkColor = RGB(0, 0, 0xEE);

ATOM g_link_class = 0;

// The link windows of one browser window.
struct LinkSet {
  std::weak_ptr<dom::DocumentState> document;
  std::vector<std::u16string> texts;
  std::vector<HWND> windows;
  int focused = -1;  // the link with the focus mark
  int pressed = -1;  // the link the left button went down on
  Zoom zoom{0.0};
};

// Every browser window's links. Windows live on the thread that pumps the runtime, as the
// page's objects do, so no lock is needed.
std::map<HWND, LinkSet>& Sets() {
  static std::map<HWND, LinkSet> sets;
  return sets;
}

LinkSet* SetOf(HWND browserWindow) {
  auto it = Sets().find(browserWindow);
  return it == Sets().end() ? nullptr : &it->second;
}

int IndexOf(HWND link) { return static_cast<int>(GetWindowLongPtrW(link, GWLP_USERDATA)); }

std::vector<html::Node*> Links(const html::Node& root) {
  std::vector<html::Node*> links;
  for (html::Node* anchor : html::ElementsByTag(root, u"a"))
    if (anchor->Attribute(u"href")) links.push_back(anchor);
  return links;
}

bool Blank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\xA0'; }

// The link's visible text on one line, trimmed; its address when it shows no text, so
// that every link can be clicked.
std::u16string LinkText(const html::Node& anchor) {
  std::u16string text;
  for (char16_t c : html::InnerText(anchor)) {
    if (!Blank(c)) text.push_back(c);
    else if (!text.empty() && text.back() != u' ') text.push_back(u' ');
  }
  if (!text.empty() && text.back() == u' ') text.pop_back();
  return text.empty() ? *anchor.Attribute(u"href") : text;
}

std::vector<std::u16string> LinkTexts(const Page& page) {
  std::vector<std::u16string> texts;
  if (!page.document || !page.document->root) return texts;
  for (const html::Node* anchor : Links(*page.document->root)) texts.push_back(LinkText(*anchor));
  return texts;
}

void DestroyLinkWindows(LinkSet& set) noexcept {
  // Taken out first: destroying a window may call back into the set.
  std::vector<HWND> windows = std::move(set.windows);
  set.windows.clear();
  for (HWND link : windows) DestroyWindow(link);
}

void Repaint(const LinkSet& set, int index) {
  if (index >= 0 && static_cast<size_t>(index) < set.windows.size()) InvalidateRect(set.windows[index], nullptr, TRUE);
}

// Follows the browser window's link at index as a user's click does.
void FollowLink(HWND browserWindow, int index) {
  Browser* browser = BrowserOf(browserWindow);
  LinkSet* set = SetOf(browserWindow);
  if (!browser || browser->closed() || !set || index < 0) return;
  ObjRef<Browser> keepBrowser = ObjRef<Browser>::Retain(browser);
  ObjRef<Frame> frame = ObjRef<Frame>::Retain(&browser->main_frame());
  std::shared_ptr<dom::DocumentState> state = frame->page.document;
  if (!state || !state->root || state != set->document.lock()) return;
  std::vector<html::Node*> links = Links(*state->root);
  if (static_cast<size_t>(index) >= links.size()) return;
  // The listeners may close the browser or replace the page, and with them this window.
  DispatchUserEvent(*frame.get(), *links[index], u"click");
}

void PaintLink(HWND link, HDC dc) {
  RECT client;
  GetClientRect(link, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HWND browserWindow = GetParent(link);
  const LinkSet* set = SetOf(browserWindow);
  if (!set) return;
  int index = IndexOf(link);
  GdiObject font(MakeLinkFont(set->zoom));
  Selection selected(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kLinkColor);
  std::u16string text = static_cast<size_t>(index) < set->texts.size() ? set->texts[index] : std::u16string();
  RECT inner = client;
  InflateRect(&inner, -kPadding, -kPadding);
  DrawTextW(dc, Wide(text), static_cast<int>(text.size()), &inner,
            DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_VCENTER | DT_LEFT);
  if (index == set->focused) DrawFocusRect(dc, &client);
}

LRESULT OnLinkPaint(HWND link) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(link, &ps);
  PaintLink(link, dc);
  EndPaint(link, &ps);
  return 0;
}

// The button goes down on a link: the browser takes the focus, as a page does when it is
// clicked, and the link the focus mark.
LRESULT OnButtonDown(HWND link) {
  HWND browserWindow = GetParent(link);
  LinkSet* set = SetOf(browserWindow);
  if (!set) return 0;
  int previous = std::exchange(set->focused, IndexOf(link));
  set->pressed = set->focused;
  Repaint(*set, previous);
  Repaint(*set, set->focused);
  SetCapture(link);
  if (GetFocus() != browserWindow) SetFocus(browserWindow);
  return 0;
}

LRESULT OnButtonUp(HWND link, POINT at) {
  HWND browserWindow = GetParent(link);
  LinkSet* set = SetOf(browserWindow);
  int index = IndexOf(link);
  bool pressedHere = set && set->pressed == index;
  if (set) set->pressed = -1;
  if (GetCapture() == link) ReleaseCapture();
  RECT client;
  GetClientRect(link, &client);
  if (pressedHere && PtInRect(&client, at)) FollowLink(browserWindow, index);
  return 0;
}

LRESULT LinkMessage(HWND link, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painting fills the background itself
    case WM_PAINT:
      return OnLinkPaint(link);
    case WM_PRINTCLIENT:
      PaintLink(link, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      return OnButtonDown(link);
    case WM_LBUTTONUP:
      return OnButtonUp(link, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
  }
  return DefWindowProcW(link, message, wParam, lParam);
}

LRESULT CALLBACK LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    return LinkMessage(link, message, wParam, lParam);
  } catch (...) {
    RecordError("a link window could not handle a message");
    return 0;
  }
}

bool EnsureLinkClass() {
  if (g_link_class) return true;
  WNDCLASSEXW c{};
  c.cbSize = sizeof c;
  c.style = CS_HREDRAW | CS_VREDRAW;
  c.lpfnWndProc = &LinkProc;
  c.hInstance = ModuleInstance();
  c.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
  c.lpszClassName = kLinkClass;
  g_link_class = RegisterClassExW(&c);
  return g_link_class != 0;
}

void MakeLinkWindows(HWND browserWindow, LinkSet& set) {
  if (!set.texts.empty() && !EnsureLinkClass()) {
    RecordError("the link window class cannot be registered");
    return;
  }
  for (size_t i = 0; i < set.texts.size(); ++i) {
    HWND link = CreateWindowExW(0, kLinkClass, Wide(set.texts[i]), WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, browserWindow,
                                nullptr, ModuleInstance(), nullptr);
    if (!link) {
      RecordError("a link window cannot be made");
      return;
    }
    SetWindowLongPtrW(link, GWLP_USERDATA, static_cast<LONG_PTR>(i));
    set.windows.push_back(link);
  }
}

}  // namespace

void SyncLinks(HWND browserWindow, const Page& page) {
  LinkSet& set = Sets()[browserWindow];
  std::vector<std::u16string> texts = LinkTexts(page);
  if (set.document.lock() == page.document && set.texts == texts && set.windows.size() == texts.size()) return;
  DestroyLinkWindows(set);
  set.document = page.document;
  set.texts = std::move(texts);
  set.focused = -1;
  set.pressed = -1;
  MakeLinkWindows(browserWindow, set);
}

void PlaceLinks(HWND browserWindow, const Zoom& zoom, const RECT& area) {
  LinkSet* set = SetOf(browserWindow);
  if (!set || set->windows.empty()) return;
  set->zoom = zoom;
  WindowDc dc(browserWindow);
  GdiObject font(MakeLinkFont(zoom));
  Selection selected(dc.get(), font.get());
  int y = area.top;
  int widest = std::max(0, static_cast<int>(area.right - area.left));
  for (size_t i = 0; i < set->windows.size(); ++i) {
    const std::u16string& text = set->texts[i];
    RECT extent{0, 0, 0, 0};
    DrawTextW(dc.get(), Wide(text), static_cast<int>(text.size()), &extent, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    int width = std::min(static_cast<int>(extent.right) + 2 * kPadding, widest);
    int height = static_cast<int>(extent.bottom) + 2 * kPadding;
    // The text, not the window, lines up with the page's text.
    SetWindowPos(set->windows[i], nullptr, area.left - kPadding, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // The size may stay while the zoom changed the font.
    InvalidateRect(set->windows[i], nullptr, TRUE);
    y += height + zoom(kLineGap);
  }
}

bool MoveLinkFocus(HWND browserWindow, Direction direction) {
  LinkSet* set = SetOf(browserWindow);
  if (!set || set->windows.empty()) return false;
  int count = static_cast<int>(set->windows.size());
  int previous = set->focused;
  if (direction == Direction::Forward) set->focused = (previous + 1) % count;
  else set->focused = previous <= 0 ? count - 1 : previous - 1;
  Repaint(*set, previous);
  Repaint(*set, set->focused);
  return true;
}

void FollowFocusedLink(HWND browserWindow) {
  if (LinkSet* set = SetOf(browserWindow)) FollowLink(browserWindow, set->focused);
}

void ForgetLinks(HWND browserWindow) noexcept { Sets().erase(browserWindow); }

void UnregisterLinkClass() noexcept {
  if (g_link_class && UnregisterClassW(kLinkClass, ModuleInstance())) g_link_class = 0;
}

}  // namespace standin::window
