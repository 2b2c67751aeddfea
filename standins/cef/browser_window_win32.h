#pragma once
// What a browser's window and the link windows inside it share on Windows: GDI handles
// that clean up after themselves, the fonts a page is shown with, and the links' part of
// the window's work.

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

namespace standin {

class Browser;
struct Page;

namespace window {

HINSTANCE ModuleInstance();
// The open browser a browser window shows; null once the window let go of it.
Browser* BrowserOf(HWND browserWindow);

inline const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

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

// A window's device context outside painting, released when it goes.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

enum class Underline { No, Yes };

HFONT MakeFont(int height, int weight, Underline underline = Underline::No);

// Sizes at the browser's zoom level: steps of 20 per cent, as in the browser the runtime
// embeds.
class Zoom {
 public:
  explicit Zoom(double level) noexcept : scale_(std::clamp(std::pow(1.2, level), 0.25, 5.0)) {}
  int operator()(int size) const noexcept { return std::max(1, static_cast<int>(std::lround(size * scale_))); }

 private:
  double scale_;
};

// Pixel sizes of the page's text at zoom level 0.
inline constexpr int kTitleSize = 22;
inline constexpr int kAddressSize = 12;
inline constexpr int kBodySize = 15;

// Links are written in the body's size, underlined.
inline HFONT MakeLinkFont(const Zoom& zoom) { return MakeFont(zoom(kBodySize), FW_NORMAL, Underline::Yes); }

// ----- the links of the page, one child window each -----

// Makes the browser window's link windows match the page's links: kept while the document
// and the links' texts stay the same, else made anew (and the focus mark dropped).
void SyncLinks(HWND browserWindow, const Page& page);
// Places the link windows one per line from the top of area downwards, at the zoom.
void PlaceLinks(HWND browserWindow, const Zoom& zoom, const RECT& area);
enum class Direction { Forward, Backward };
// Moves the focus mark to the next or the previous link, round the end; false when the
// page has no links.
bool MoveLinkFocus(HWND browserWindow, Direction direction);
// Follows the link that carries the focus mark, if any.
void FollowFocusedLink(HWND browserWindow);
// The browser window is going: its links' record goes with it.
void ForgetLinks(HWND browserWindow) noexcept;
void UnregisterLinkClass() noexcept;

}  // namespace window
}  // namespace standin
