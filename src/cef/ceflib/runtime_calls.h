#pragma once
// How deep a thread is in the runtime: calls into it and callbacks from it in progress. A
// work call must never start inside either, because a modal loop running there (a dialog of
// ours shown from a callback, the runtime's own script dialogs or printing) would re-enter
// the runtime. Calls are counted at the one runtime-call check below, callbacks at the one
// callback guard.

#include <utility>

namespace cef {

namespace detail {
// Per thread: the runtime may call back on threads of its own.
inline thread_local int tRuntimeDepth = 0;
}  // namespace detail

class RuntimeCallScope {
 public:
  RuntimeCallScope() noexcept { ++detail::tRuntimeDepth; }
  ~RuntimeCallScope() { --detail::tRuntimeDepth; }
  RuntimeCallScope(const RuntimeCallScope&) = delete;
  RuntimeCallScope& operator=(const RuntimeCallScope&) = delete;
};

// Whether this thread is inside a call into the runtime or a callback from it.
inline bool RuntimeCallInProgress() noexcept { return detail::tRuntimeDepth > 0; }

// Calls an entry of the runtime (an export or a member of a runtime structure), counted.
template <class F, class... A>
decltype(auto) CallRuntime(F entry, A&&... args) {
  RuntimeCallScope scope;
  return entry(std::forward<A>(args)...);
}

// An export of the runtime as the checked lookup gives it: null when there is nothing to
// call, and counted when called.
template <class F>
class RuntimeEntry {
 public:
  constexpr RuntimeEntry(F entry) noexcept : entry_(entry) {}  // NOLINT: the lookup's result
  explicit operator bool() const noexcept { return entry_ != nullptr; }
  template <class... A>
  decltype(auto) operator()(A&&... args) const {
    return CallRuntime(entry_, std::forward<A>(args)...);
  }

 private:
  F entry_;
};

}  // namespace cef
