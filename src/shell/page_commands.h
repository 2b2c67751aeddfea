#pragma once
// The page commands a person reaches from the keyboard and the mouse: reload, stop, back
// and forward, find, print and zoom. Keys are taken in the application's message hook,
// before the window with the focus sees them; every other key reaches the page.

#include <windows.h>

#include "cef/cefvcl/chromium.h"
#include "ui/hooks.h"

namespace shell {

class TFindStrip;

enum class PageCommand {
  None,
  Reload,
  ReloadIgnoreCache,
  StopLoad,
  CloseFind,
  GoBack,
  GoForward,
  Find,
  Print,
  ZoomIn,
  ZoomOut,
  ZoomReset,
};

// The modifier keys held, as a set.
enum KeyModifier : unsigned { kNoModifier = 0, kCtrl = 1, kShift = 2, kAlt = 4 };

// What a key press means on the page, or None: Esc only while the find strip is open or a
// page loads.
PageCommand CommandForKey(UINT key, unsigned modifiers, bool findOpen, bool loading);

// The zoom level after one step in (+1), out (-1) or back to neutral (0): steps of 0.5,
// kept within -5 and +5.
double NextZoomLevel(double current, int step);

class TPageCommands : public ui::IMessageHook {
 public:
  // Listens to the application's messages for window and what it holds.
  TPageCommands(ui::TWinControl& window, cef::TChromium& chrome, TFindStrip& findStrip);
  ~TPageCommands();
  TPageCommands(const TPageCommands&) = delete;
  TPageCommands& operator=(const TPageCommands&) = delete;

  void OnMessage(MSG& msg, bool& handled) override;
  // Runs one command; nothing without a browser.
  void Run(PageCommand command);

  // The main frame's load start and end (or its error): Esc stops a load only in between.
  void LoadStarted(const cef::Ref<cef::ICefFrame>& frame);
  void LoadEnded(const cef::Ref<cef::ICefFrame>& frame);

 private:
  bool Aimed(HWND target);
  bool OverPage(HWND target);
  bool TakeKey(const MSG& msg);
  bool TakeMouse(const MSG& msg);
  void Zoom(int step);

  ui::TWinControl& window_;
  cef::TChromium& chrome_;
  TFindStrip& findStrip_;
  bool loading_ = false;
  bool altCommandTaken_ = false;  // since Alt went down, a command has taken a key pressed with it
  int wheelRest_ = 0;  // wheel movement short of one notch, carried to the next message
};

}  // namespace shell
