#include "ui/application.h"

#include <objbase.h>

#include <utility>

#include "platform/errors.h"
#include "platform/text.h"
#include "ui/form.h"
#include "ui/system.h"

namespace ui {

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
  DestroyForms();
  if (handle_) DestroyWindow(handle_);
}

TApplication& Application() {
  static TApplication application;
  return application;
}

void TApplication::Initialize() {
  Handle();
  if (comInitialized_) return;
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  comInitialized_ = SUCCEEDED(hr);
}

void TApplication::UninitializeCom() noexcept {
  if (comInitialized_) CoUninitialize();
  comInitialized_ = false;
}

void TApplication::SetTitle(const std::u16string& title) {
  title_ = title;
  if (handle_) SetWindowTextW(handle_, platform::AsWide(title_));
}

HWND TApplication::Handle() {
  if (handle_) return handle_;
  static const wchar_t kClass[] = L"TApplication";
  WNDCLASSEXW wc{};
  if (!GetClassInfoExW(GetModuleHandleW(nullptr), kClass, &wc)) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
  }
  handle_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClass, platform::AsWide(title_), WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
  return handle_;
}

void TApplication::DestroyForms() noexcept {
  // Forms are the application's components: the main form was created first, so it goes last.
  mainForm_ = nullptr;
  DestroyComponents();
}

bool TApplication::ProcessTurn(WhenIdle whenIdle) {
  MSG msg;
  if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      return false;
    }
    try {
      bool handled = false;
      messageHooks_.ForEach([&](IMessageHook& hook) { hook.OnMessage(msg, handled); });
      if (!handled) {
        TranslateMessage(&msg);
        struct Dispatching {
          const MSG*& slot;
          const MSG* outer;
          Dispatching(const MSG*& s, const MSG* m) : slot(s), outer(std::exchange(s, m)) {}
          ~Dispatching() { slot = outer; }
        } dispatching(dispatching_, &msg);
        DispatchMessageW(&msg);
      }
    } catch (...) {
      HandleException();
    }
    return true;
  }
  bool done = true;
  try {
    idleHooks_.ForEach([&](IIdleHook& hook) { hook.OnIdle(done); });
  } catch (...) {
    HandleException();
  }
  if (done && whenIdle == WhenIdle::Wait) WaitMessage();
  return true;
}

bool TApplication::DispatchingOwn(HWND window, UINT message, WPARAM wParam) const noexcept {
  return dispatching_ && dispatching_->hwnd == window && dispatching_->message == message &&
         dispatching_->wParam == wParam;
}

void TApplication::Run() {
  while (!terminated_ && ProcessTurn(WhenIdle::Wait)) {
  }
}

void TApplication::Terminate() {
  PostQuitMessage(0);
}

void TApplication::HandleException() noexcept {
  try {
    ReportError(platform::ExceptionMessage(std::current_exception()));
  } catch (...) {
    // The report itself failed; nothing is left to tell the user with.
  }
}

void TApplication::ReportError(const std::u16string& message) {
  if (OnException) OnException(message);
  else ShowException(message);
}

void TApplication::ShowException(const std::u16string& message) {
  HWND owner = mainForm_ && mainForm_->HandleAllocated() ? mainForm_->Handle() : nullptr;
  System().ShowMessageBox(owner, message, title_, MB_OK | MB_ICONSTOP);
}

}  // namespace ui
