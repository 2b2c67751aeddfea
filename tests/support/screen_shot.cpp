#include "support/screen_shot.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace testing_support {

ScreenShot::ScreenShot(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  pixels_.assign(static_cast<size_t>(width_) * height_, 0);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width_, height_, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  std::copy_n(static_cast<const uint32_t*>(bits), pixels_.size(), pixels_.begin());
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

COLORREF ScreenShot::At(int x, int y) const {
  uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void ScreenShot::Save(const std::wstring& path) const {
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  int rowBytes = (width_ * 3 + 3) & ~3;
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(54 + rowBytes * height_), 0, 0, 54};
  BITMAPINFOHEADER info{sizeof info, width_, height_, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  std::vector<char> row(static_cast<size_t>(rowBytes), 0);
  for (int y = height_ - 1; y >= 0; --y) {
    for (int x = 0; x < width_; ++x) {
      uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x];
      row[static_cast<size_t>(x) * 3] = static_cast<char>(p & 0xFF);
      row[static_cast<size_t>(x) * 3 + 1] = static_cast<char>((p >> 8) & 0xFF);
      row[static_cast<size_t>(x) * 3 + 2] = static_cast<char>((p >> 16) & 0xFF);
    }
    out.write(row.data(), rowBytes);
  }
}

bool Near(COLORREF c, int r, int g, int b, int tolerance) {
  return std::abs(GetRValue(c) - r) <= tolerance && std::abs(GetGValue(c) - g) <= tolerance &&
         std::abs(GetBValue(c) - b) <= tolerance;
}

}  // namespace testing_support
