#pragma once
// Turns the application's own loop (its message and idle hooks, and so the runtime's
// pump) until a condition holds, with a time limit so that a hang fails instead.

#include <windows.h>

#include <chrono>
#include <functional>

#include "ui/application.h"

namespace testing_support {

// Takes every message already queued (but not a quit request), without waiting for more.
inline void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) ui::Application().ProcessTurn(ui::WhenIdle::Return);
}

inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 15000) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    ui::Application().ProcessTurn(ui::WhenIdle::Return);
  }
  return true;
}

inline void PumpFor(int milliseconds) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  PumpUntil([&] { return std::chrono::steady_clock::now() >= end; }, milliseconds + 1000);
}

}  // namespace testing_support
