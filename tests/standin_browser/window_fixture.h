#pragma once
// What the tests of the browsers' windows share: a visible top-level parent window at a
// known place on the display, child browsers made inside it, and pumping the thread's
// messages.

#include <windows.h>

#include <string>

#include "standin_browser/browser_fixture.h"

namespace browser_testing {

// Child, visible, clip children and siblings, tab stop: as the program's control asks.
inline constexpr uint32_t kChildStyle = 0x56010000;
// Where the parent window sits on the screen.
inline constexpr int kParentLeft = 40;
inline constexpr int kParentTop = 40;

// Dispatches every message waiting for the thread.
void PumpMessages();

class WindowTest : public BrowserTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  RuntimeRef<TCefBrowser> CreateChild(int x, int y, int width, int height, TCefClient* client = nullptr);
  static HWND WindowOf(TCefBrowser* browser) { return static_cast<HWND>(browser->get_window_handle(browser)); }
  // Loads html into the browser's main frame under an address and waits until it shows.
  void ShowPage(TCefBrowser* browser, const std::u16string& html,
                const std::u16string& url = u"http://pages.example/shown");

  HWND parent_ = nullptr;
};

}  // namespace browser_testing
