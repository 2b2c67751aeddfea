#include "cef/ceflib/guard.h"

#include <cstdio>
#include <mutex>

#include "platform/errors.h"
#include "platform/text.h"

namespace cef {
namespace {

std::mutex g_report_lock;

void ReportToStandardError(const std::u16string& message) {
  std::fprintf(stderr, "%s\n", platform::Utf16ToUtf8(message).c_str());
}

CallbackErrorReport& Report() {
  static CallbackErrorReport report = ReportToStandardError;
  return report;
}

}  // namespace

CallbackErrorReport SetCallbackErrorReport(CallbackErrorReport report) {
  std::lock_guard lock(g_report_lock);
  return std::exchange(Report(), report ? std::move(report) : ReportToStandardError);
}

void ReportCallbackException() noexcept {
  try {
    std::u16string message = platform::ExceptionMessage(std::current_exception());
    CallbackErrorReport report;
    {
      std::lock_guard lock(g_report_lock);
      report = Report();
    }
    report(message);
  } catch (...) {
    // The report itself failed; there is nowhere left to tell.
  }
}

}  // namespace cef
