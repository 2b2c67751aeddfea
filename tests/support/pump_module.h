#pragma once
// The pump's module started once for a test program, and finalised before the application
// object goes at exit, as the program's module order does: the pump's hooks live in the
// application, so removing them from a destroyed one reads freed memory.

#include <cstdlib>

#include "cef/ceflib/guard.h"
#include "cef/cefvcl/pump.h"

namespace testing_support {

inline void StartPumpModule() {
  cef::SetCallbackErrorReport(cef::ApplicationErrorReport());  // as the program does from its start
  if (cef::CefAppEvents()) return;
  // Made first, the application object is destroyed after what is registered below.
  cef::CefVclInitialization();
  static const bool finalised_at_exit = std::atexit([] { cef::CefVclFinalization(); }) == 0;
  (void)finalised_at_exit;
}

}  // namespace testing_support
