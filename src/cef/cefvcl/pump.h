#pragma once
// The message pump: the runtime's work function called from the application's own loop,
// once for every message the loop takes and once every time the queue runs empty, while
// at least one browser client exists; a 10 ms thread timer keeps the loop from sleeping
// longer than that. The timer's procedure gives the runtime its work calls while a modal
// loop the application does not own runs (a message box, a menu, a move), but never
// inside a call into the runtime or a callback from it.

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "cef/ceflib/guard.h"
#include "ui/component.h"
#include "ui/hooks.h"

namespace cef {

// Live browser clients of the process; the first starts the timer and the last stops it.
inline std::atomic<int32_t> ClientHandlerCount{0};
// The thread timer's identifier while ClientHandlerCount is above 0.
inline UINT_PTR PumpTimerId = 0;

// Hooks the application loop's message and idle notifications; several such components
// may coexist, each getting every notification.
class TCefApplicationEvents : public ui::TComponent, private ui::IMessageHook, private ui::IIdleHook {
 public:
  explicit TCefApplicationEvents(ui::TComponent* owner);
  ~TCefApplicationEvents() override;

  // One unit of runtime work while a client exists; Done is not touched.
  void doIdle(ui::TObject* sender, bool& done);
  // The same for a message the loop took; neither the message nor Handled is touched.
  void doMessage(MSG& msg, bool& handled);

 private:
  void OnIdle(bool& done) override { doIdle(this, done); }
  void OnMessage(MSG& msg, bool& handled) override { doMessage(msg, handled); }
};

// The timer's procedure: one work call when the tick was taken by a modal loop outside the
// runtime, none when the application's own loop took it (its hooks did the work).
void CALLBACK PumpTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time) noexcept;

// The counting of clients, for the client class's constructor and destructor: the first
// client starts the timer, the last one stops it.
void ClientHandlerCreated() noexcept;
void ClientHandlerDestroyed() noexcept;

// The report that brings a failure inside a runtime callback to the user as any other error
// of the loop: the application's error report.
CallbackErrorReport ApplicationErrorReport();

// The layer's one pump, made when the layer starts and freed before the runtime is shut
// down; null outside that time.
TCefApplicationEvents* CefAppEvents() noexcept;
void CefVclInitialization();
void CefVclFinalization() noexcept;

}  // namespace cef
