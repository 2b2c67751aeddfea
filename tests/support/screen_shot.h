#pragma once
// What the screen shows of a window, read back for tests that look at the real thing.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

class ScreenShot {
 public:
  explicit ScreenShot(HWND window);
  int Width() const { return width_; }
  int Height() const { return height_; }
  COLORREF At(int x, int y) const;
  // Saves a 24-bit BMP, for looking at a failure.
  void Save(const std::wstring& path) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

// Whether a colour is within tolerance of (r, g, b) in every channel.
bool Near(COLORREF c, int r, int g, int b, int tolerance = 4);

}  // namespace testing_support
