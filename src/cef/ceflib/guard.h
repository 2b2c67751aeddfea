#pragma once
// The one boundary between the runtime's calls into the program and the program's
// exceptions: nothing unwinds into the runtime. A failure is reported through the
// application's error report and the callback answers its neutral value. A callback in
// progress is counted, so that no work call starts inside it.

#include <exception>
#include <functional>
#include <string>
#include <utility>

#include "cef/ceflib/runtime_calls.h"

namespace cef {

using CallbackErrorReport = std::function<void(const std::u16string& message)>;

// Installs the report (the application sets its own); returns the previous one.
CallbackErrorReport SetCallbackErrorReport(CallbackErrorReport report);

// A report installed for as long as the scope lasts; the previous one goes back after it.
class CallbackErrorReportScope {
 public:
  explicit CallbackErrorReportScope(CallbackErrorReport report)
      : previous_(SetCallbackErrorReport(std::move(report))) {}
  CallbackErrorReportScope(const CallbackErrorReportScope&) = delete;
  CallbackErrorReportScope& operator=(const CallbackErrorReportScope&) = delete;
  ~CallbackErrorReportScope() { SetCallbackErrorReport(std::move(previous_)); }

 private:
  CallbackErrorReport previous_;
};

// Reports the exception in flight; call only from a catch block.
void ReportCallbackException() noexcept;

template <class R, class Body>
R Guarded(R neutral, Body&& body) noexcept {
  RuntimeCallScope inside;
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    ReportCallbackException();
    return neutral;
  }
}

template <class Body>
void Guarded(Body&& body) noexcept {
  RuntimeCallScope inside;
  try {
    std::forward<Body>(body)();
  } catch (...) {
    ReportCallbackException();
  }
}

}  // namespace cef
