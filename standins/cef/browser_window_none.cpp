// Without Windows there are no browser windows: browsers live without one.

#include "browser_window.h"

namespace standin {

void* CreateBrowserWindow(Browser&, const WindowParams&) { return nullptr; }
void DestroyBrowserWindow(void*) noexcept {}
void InvalidateBrowserWindow(void*) noexcept {}
void FocusBrowserWindow(void*) noexcept {}
void UnregisterBrowserWindowClass() noexcept {}

}  // namespace standin
