#pragma once
// One holder per kind of GDI resource, declared once: whatever a painting function creates,
// selects or begins is undone when the scope ends, also when the painting throws.

#include <windows.h>

#include <utility>

namespace ui {

// An owned handle released by Close(handle) when the holder goes. Move-only.
template <class Handle, auto Close>
class UniqueGdi {
 public:
  UniqueGdi() noexcept = default;
  explicit UniqueGdi(Handle handle) noexcept : handle_(handle) {}
  UniqueGdi(UniqueGdi&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueGdi& operator=(UniqueGdi&& other) noexcept {
    reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  UniqueGdi(const UniqueGdi&) = delete;
  UniqueGdi& operator=(const UniqueGdi&) = delete;
  ~UniqueGdi() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }
  void reset(Handle handle = nullptr) noexcept {
    if (Handle old = std::exchange(handle_, handle)) Close(old);
  }
  [[nodiscard]] Handle detach() noexcept { return std::exchange(handle_, nullptr); }

 private:
  Handle handle_ = nullptr;
};

namespace gdi_detail {
inline void DeleteGdiObject(HGDIOBJ object) noexcept { DeleteObject(object); }
inline void DeleteMemoryDc(HDC dc) noexcept { DeleteDC(dc); }
inline void DestroyIconHandle(HICON icon) noexcept { DestroyIcon(icon); }
}  // namespace gdi_detail

using UniquePen = UniqueGdi<HPEN, gdi_detail::DeleteGdiObject>;
using UniqueBrush = UniqueGdi<HBRUSH, gdi_detail::DeleteGdiObject>;
using UniqueFont = UniqueGdi<HFONT, gdi_detail::DeleteGdiObject>;
using UniqueBitmap = UniqueGdi<HBITMAP, gdi_detail::DeleteGdiObject>;
using UniqueRegion = UniqueGdi<HRGN, gdi_detail::DeleteGdiObject>;
// A device context of our own (CreateCompatibleDC): deleted, never released.
using UniqueMemoryDc = UniqueGdi<HDC, gdi_detail::DeleteMemoryDc>;
using UniqueIcon = UniqueGdi<HICON, gdi_detail::DestroyIconHandle>;

// A window's device context (GetDC / GetWindowDC): released to the window it came from.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context; the previous one goes back when the scope ends.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;
  ~SelectScope() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// BeginPaint/EndPaint: the window's update region is validated even when painting throws.
class PaintScope {
 public:
  explicit PaintScope(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &ps_)) {}
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(window_, &ps_); }
  HDC dc() const noexcept { return dc_; }
  const RECT& area() const noexcept { return ps_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

}  // namespace ui
