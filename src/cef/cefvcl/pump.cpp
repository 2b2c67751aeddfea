#include "cef/cefvcl/pump.h"

#include <memory>

#include "cef/ceflib/guard.h"
#include "cef/ceflib/loader.h"
#include "cef/cefvcl/chromium.h"
#include "ui/application.h"

namespace cef {
namespace {
std::unique_ptr<TCefApplicationEvents> g_app_events;
}  // namespace

TCefApplicationEvents::TCefApplicationEvents(ui::TComponent* owner) : TComponent(owner) {
  ui::Application().AddIdleHook(this);
  ui::Application().AddMessageHook(this);
}

TCefApplicationEvents::~TCefApplicationEvents() {
  ui::Application().RemoveIdleHook(this);
  ui::Application().RemoveMessageHook(this);
}

void TCefApplicationEvents::doIdle(ui::TObject*, bool&) {
  if (ClientHandlerCount.load() > 0) CefDoMessageLoopWork();
}

void TCefApplicationEvents::doMessage(MSG&, bool&) {
  if (ClientHandlerCount.load() > 0) CefDoMessageLoopWork();
}

void CALLBACK PumpTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
  // The application's own loop took this tick and its message hook made the work call; a
  // call or callback in progress holds the modal loop that dispatches it.
  if (ui::Application().DispatchingOwn(nullptr, WM_TIMER, id) || RuntimeCallInProgress()) return;
  if (ClientHandlerCount.load() <= 0) return;
  try {
    CefDoMessageLoopWork();
  } catch (...) {
    ui::Application().HandleException();
  }
}

void ClientHandlerCreated() noexcept {
  // The test for zero and the increment are separate steps: clients are made on the main
  // thread only. The procedure serves the modal loops the application does not own.
  if (ClientHandlerCount.load() == 0) PumpTimerId = SetTimer(nullptr, 0, 10, &PumpTimerProc);
  ClientHandlerCount.fetch_add(1);
}

void ClientHandlerDestroyed() noexcept {
  ClientHandlerCount.fetch_sub(1);
  if (ClientHandlerCount.load() == 0) KillTimer(nullptr, PumpTimerId);
}

TCefApplicationEvents* CefAppEvents() noexcept { return g_app_events.get(); }

CallbackErrorReport ApplicationErrorReport() {
  return [](const std::u16string& message) { ui::Application().ReportError(message); };
}

void CefVclInitialization() {
  RegisterChromiumClass();
  g_app_events = std::make_unique<TCefApplicationEvents>(nullptr);
}

void CefVclFinalization() noexcept { g_app_events.reset(); }

}  // namespace cef
