#include "shell/page_commands.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "shell/find_strip.h"
#include "ui/application.h"

namespace shell {

namespace {

struct KeyBinding {
  UINT key;
  unsigned modifiers;
  PageCommand command;
};

// Shift is allowed with plus: on many layouts "+" is the shifted key.
constexpr KeyBinding kKeyBindings[] = {
    {VK_F5, kNoModifier, PageCommand::Reload},
    {'R', kCtrl, PageCommand::Reload},
    {VK_F5, kCtrl, PageCommand::ReloadIgnoreCache},
    {VK_F5, kShift, PageCommand::ReloadIgnoreCache},
    {VK_LEFT, kAlt, PageCommand::GoBack},
    {VK_RIGHT, kAlt, PageCommand::GoForward},
    {'F', kCtrl, PageCommand::Find},
    {'P', kCtrl, PageCommand::Print},
    {VK_OEM_PLUS, kCtrl, PageCommand::ZoomIn},
    {VK_OEM_PLUS, kCtrl | kShift, PageCommand::ZoomIn},
    {VK_ADD, kCtrl, PageCommand::ZoomIn},
    {VK_OEM_MINUS, kCtrl, PageCommand::ZoomOut},
    {VK_SUBTRACT, kCtrl, PageCommand::ZoomOut},
    {'0', kCtrl, PageCommand::ZoomReset},
    {VK_NUMPAD0, kCtrl, PageCommand::ZoomReset},
};

constexpr double kZoomStep = 0.5;
constexpr double kZoomLimit = 5.0;

bool Held(int key) { return GetKeyState(key) < 0; }

// The modifiers as the system's key state has them at this moment.
unsigned HeldModifiers() {
  unsigned held = kNoModifier;
  if (Held(VK_CONTROL)) held |= kCtrl;
  if (Held(VK_SHIFT)) held |= kShift;
  if (Held(VK_MENU)) held |= kAlt;
  return held;
}

bool Within(HWND outer, HWND target) { return outer && target && (target == outer || IsChild(outer, target)); }

}  // namespace

PageCommand CommandForKey(UINT key, unsigned modifiers, bool findOpen, bool loading) {
  if (key == VK_ESCAPE && modifiers == kNoModifier) {
    if (findOpen) return PageCommand::CloseFind;
    if (loading) return PageCommand::StopLoad;
    return PageCommand::None;
  }
  for (const KeyBinding& binding : kKeyBindings)
    if (binding.key == key && binding.modifiers == modifiers) return binding.command;
  return PageCommand::None;
}

double NextZoomLevel(double current, int step) {
  if (step == 0) return 0.0;
  // Back onto the grid of steps first, so that a level set by someone else does not drift.
  double level = std::round(current / kZoomStep) * kZoomStep + step * kZoomStep;
  return std::clamp(level, -kZoomLimit, kZoomLimit);
}

TPageCommands::TPageCommands(ui::TWinControl& window, cef::TChromium& chrome, TFindStrip& findStrip)
    : window_(window), chrome_(chrome), findStrip_(findStrip) {
  chrome_.SetOnLoadStart(
      [this](ui::TObject*, const cef::Ref<cef::ICefBrowser>&, const cef::Ref<cef::ICefFrame>& frame) {
        LoadStarted(frame);
      });
  chrome_.SetOnLoadEnd([this](ui::TObject*, const cef::Ref<cef::ICefBrowser>&, const cef::Ref<cef::ICefFrame>& frame,
                              int32_t, bool&) { LoadEnded(frame); });
  // A main-frame load that fails ends as a load end would: Esc goes to the page again.
  chrome_.SetOnLoadError([this](ui::TObject*, const cef::Ref<cef::ICefBrowser>&, const cef::Ref<cef::ICefFrame>& frame,
                                int32_t, const std::u16string&, std::u16string&, bool&) { LoadEnded(frame); });
  chrome_.SetOnFindResult([this](ui::TObject*, const cef::Ref<cef::ICefBrowser>&, int32_t count, const TCefRect*,
                                 bool identifier, bool, bool, bool&) { findStrip_.FindResult(count, identifier); });
  ui::Application().AddMessageHook(this);
}

TPageCommands::~TPageCommands() {
  ui::Application().RemoveMessageHook(this);
  chrome_.SetOnLoadStart(nullptr);
  chrome_.SetOnLoadEnd(nullptr);
  chrome_.SetOnLoadError(nullptr);
  chrome_.SetOnFindResult(nullptr);
}

void TPageCommands::OnMessage(MSG& msg, bool& handled) {
  // Without a browser there is no page to command, and nothing is taken.
  if (handled || !chrome_.Browser() || !Aimed(msg.hwnd)) return;
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (msg.wParam == VK_MENU) altCommandTaken_ = false;
      handled = TakeKey(msg);
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      // The window never saw the key pressed with Alt: releasing Alt alone would open the
      // window's menu mode, which then swallows the next key or click.
      if (msg.wParam == VK_MENU) handled = std::exchange(altCommandTaken_, false);
      break;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
    case WM_XBUTTONUP:
    case WM_MOUSEWHEEL:
      handled = TakeMouse(msg);
      break;
  }
}

bool TPageCommands::Aimed(HWND target) { return window_.HandleAllocated() && Within(window_.Handle(), target); }

bool TPageCommands::OverPage(HWND target) {
  return chrome_.HandleAllocated() && Within(chrome_.Handle(), target);
}

bool TPageCommands::TakeKey(const MSG& msg) {
  unsigned modifiers = HeldModifiers();
  if (modifiers == kNoModifier || modifiers == kShift)
    if (findStrip_.TakeKey(msg, modifiers == kShift)) return true;
  PageCommand command =
      CommandForKey(static_cast<UINT>(msg.wParam), modifiers, findStrip_.IsOpen(), loading_);
  if (command == PageCommand::None) return false;
  if (modifiers & kAlt) altCommandTaken_ = true;
  Run(command);
  return true;
}

bool TPageCommands::TakeMouse(const MSG& msg) {
  if (msg.message == WM_MOUSEWHEEL) {
    POINT at{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    if (!Held(VK_CONTROL) || !OverPage(WindowFromPoint(at))) return false;
    wheelRest_ += GET_WHEEL_DELTA_WPARAM(msg.wParam);
    for (; wheelRest_ >= WHEEL_DELTA; wheelRest_ -= WHEEL_DELTA) Zoom(1);
    for (; wheelRest_ <= -WHEEL_DELTA; wheelRest_ += WHEEL_DELTA) Zoom(-1);
    return true;
  }
  if (!OverPage(msg.hwnd)) return false;
  // The press runs the command; its release is taken too, so that nothing else acts on it.
  // A quick second press arrives as a double-click (the windows' classes ask for them).
  if (msg.message == WM_XBUTTONDOWN || msg.message == WM_XBUTTONDBLCLK)
    Run(GET_XBUTTON_WPARAM(msg.wParam) == XBUTTON1 ? PageCommand::GoBack : PageCommand::GoForward);
  return true;
}

void TPageCommands::Run(PageCommand command) {
  cef::Ref<cef::ICefBrowser> browser = chrome_.Browser();
  if (!browser) return;
  switch (command) {
    case PageCommand::None: break;
    case PageCommand::Reload: browser->Reload(); break;
    case PageCommand::ReloadIgnoreCache: browser->ReloadIgnoreCache(); break;
    case PageCommand::StopLoad:
      // A stopped load may end in an error rather than a load end: Esc goes to the page again.
      loading_ = false;
      browser->StopLoad();
      break;
    case PageCommand::CloseFind: findStrip_.Close(); break;
    case PageCommand::GoBack:
      if (browser->CanGoBack()) browser->GoBack();
      break;
    case PageCommand::GoForward:
      if (browser->CanGoForward()) browser->GoForward();
      break;
    case PageCommand::Find: findStrip_.Open(); break;
    case PageCommand::Print:
      if (cef::Ref<cef::ICefFrame> frame = browser->GetMainFrame()) frame->Print();
      break;
    case PageCommand::ZoomIn: Zoom(1); break;
    case PageCommand::ZoomOut: Zoom(-1); break;
    case PageCommand::ZoomReset: Zoom(0); break;
  }
}

void TPageCommands::Zoom(int step) {
  if (cef::Ref<cef::ICefBrowser> browser = chrome_.Browser())
    browser->SetZoomLevel(NextZoomLevel(browser->GetZoomLevel(), step));
}

void TPageCommands::LoadStarted(const cef::Ref<cef::ICefFrame>& frame) {
  if (!frame || frame->IsMain()) loading_ = true;
}

void TPageCommands::LoadEnded(const cef::Ref<cef::ICefFrame>& frame) {
  if (!frame || frame->IsMain()) loading_ = false;
}

}  // namespace shell
