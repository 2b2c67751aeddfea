#pragma once
// A browser's window: on Windows a real child window of the program's that paints a plain
// rendering of the page; elsewhere none, and every function does nothing.

#include <cstdint>
#include <string>

namespace standin {

class Browser;

// What the program asked for in its window information record.
struct WindowParams {
  uint32_t ex_style = 0;
  uint32_t style = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  void* parent = nullptr;
  void* menu = nullptr;
  bool rendering_disabled = false;
  std::u16string name;
};

// Creates the browser's window when the parameters name a parent; answers its handle or null.
void* CreateBrowserWindow(Browser& browser, const WindowParams& params);
// Destroys a window made by CreateBrowserWindow; it no longer reaches its browser.
void DestroyBrowserWindow(void* window) noexcept;
// Asks for a repaint: the page, its title or the zoom changed.
void InvalidateBrowserWindow(void* window) noexcept;
void FocusBrowserWindow(void* window) noexcept;
// Lets go of the window class once no browser window is left (at shutdown).
void UnregisterBrowserWindowClass() noexcept;

}  // namespace standin
