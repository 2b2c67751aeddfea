// The one rule every raised callback checks: it never runs on a fetch thread.

#include "client_calls.h"

namespace standin::calls {
namespace {
thread_local bool t_fetch_thread = false;
}  // namespace

void MarkFetchThread() noexcept { t_fetch_thread = true; }

void CheckThread(const char* handler) noexcept {
  if (t_fetch_thread) RecordError(std::string("a callback of the ") + handler + " was raised on a fetch thread");
}

}  // namespace standin::calls
