#pragma once
// The script engine inside the stand-in: one Duktape heap for the runtime, the threads that
// run scripts (one per script context, each with a global environment of its own), the
// values kept alive for the program, and what tests read back (console messages, dialogs,
// script errors).
//
// Duktape reports script errors with longjmp, which skips C++ destructors. So no C++ object
// with a destructor may be alive in a frame that a Duktape error can cross: work that may
// throw (a property access that can reach a getter, a conversion that can call toString, a
// call) runs inside Protected or a protected call, and native functions do their Duktape work
// before and after their C++ work, never in the middle of it.
//
// Everything here runs on the thread that pumps the runtime, as page scripts do.

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "duktape.h"
#include "standin.h"

namespace standin::script {

class ScriptContext;

// The heap: made on first need while the runtime is initialised.
bool EnsureHeap();
bool HeapAlive() noexcept;
// Changes whenever a heap goes, so that values of an old heap know they are dead.
uint64_t HeapGeneration() noexcept;
// Tears the heap down: contexts are detached, finalizers run, every program structure the
// engine held is released and the records are cleared.
void DestroyHeap() noexcept;
// A full collection, twice: the first runs finalizers, the second frees what they left.
void CollectGarbage() noexcept;

// The thread the program's calls work on now: the running script's during a call from
// script, else the entered context's, else the heap's own. Null without a heap.
duk_context* ActiveThread();

// A script run, on the running stack while it lasts: the context it belongs to (null for
// calls that belong to none) and the thread it runs on.
class RunningScope {
 public:
  RunningScope(ScriptContext* context, duk_context* thread);
  ~RunningScope();
  RunningScope(const RunningScope&) = delete;
  RunningScope& operator=(const RunningScope&) = delete;
};
// The context of the innermost running script that has one, else the last context entered
// with enter; null outside any script.
ScriptContext* CallingContext();

// Values kept for the program in the heap's stash: the value at idx is stored under a new
// slot (never 0) and stays alive until forgotten.
uint32_t Keep(duk_context* ctx, duk_idx_t idx);
void PushKept(duk_context* ctx, uint32_t slot);
void Forget(uint32_t slot) noexcept;
int KeptCount() noexcept;

// Pushes a value kept in the heap's stash under name at set-up (built-ins of the heap's own
// realm that pages cannot replace: "toString", "getTime", "finalizer").
void PushStashed(duk_context* ctx, const char* name);

// Runs body(ctx) as a protected call of a native function of its own: the top nargs values
// are its arguments, at indices 0 to nargs - 1, and body answers 1 to return the value at
// the top, 0 for undefined. With nrets 1 the result stays on the stack whatever happens
// (the error when body threw); with nrets 0 it is popped. Answers true when body returned
// without an error.
template <class Body>
bool Protected(duk_context* ctx, duk_idx_t nargs, duk_idx_t nrets, Body&& body) {
  using B = std::remove_reference_t<Body>;
  auto thunk = [](duk_context* c) -> duk_ret_t {
    B* b = static_cast<B*>(duk_get_pointer(c, -1));
    duk_pop(c);
    return (*b)(c);
  };
  duk_push_c_function(ctx, thunk, nargs + 1);
  duk_insert(ctx, -(nargs + 1));
  duk_push_pointer(ctx, &body);
  bool ok = duk_pcall(ctx, nargs + 1) == DUK_EXEC_SUCCESS;
  if (nrets == 0) duk_pop(ctx);
  return ok;
}

// Text: the engine keeps strings as CESU-8 (every UTF-16 code unit on its own), which
// carries unpaired surrogates through unchanged.
std::string ToEngineText(std::u16string_view text);
std::u16string FromEngineText(const char* data, size_t size);
void PushText(duk_context* ctx, std::u16string_view text);
// The string at idx; empty when it is no string. Never throws.
std::u16string TextAt(duk_context* ctx, duk_idx_t idx);
// The value at idx as script's String() gives it; empty when that throws.
std::u16string StringOf(duk_context* ctx, duk_idx_t idx);

// What running a script came to: its result as String() gives it, or the error's text with
// where it was thrown.
struct Outcome {
  bool ok = false;
  std::u16string text;
  std::u16string url;
  int32_t line = 0;
};
// Reads the error at the stack top (message, url and line, falling back to the script's)
// and pops it.
Outcome TakeError(duk_context* ctx, std::u16string_view url, int32_t line);

// Throws an Error with the message at the stack top. Call it as a native function's last
// act, with no C++ object alive in the calling frame.
[[noreturn]] void ThrowMessageAtTop(duk_context* ctx);

// What pages did that tests read back.
struct ConsoleMessage {
  std::u16string message;
  std::u16string url;
  int32_t line = 0;
};
struct DialogCall {
  std::string kind;  // "alert", "confirm", "prompt", "open"
  std::vector<std::u16string> arguments;
};
struct ScriptError {
  std::u16string message;
  std::u16string url;
  int32_t line = 0;
};
struct Records {
  std::vector<ConsoleMessage> console;
  std::vector<DialogCall> dialogs;
  std::vector<ScriptError> errors;
};
Records& TheRecords();
// An uncaught script error: kept for tests, never thrown across the C boundary.
void RecordScriptError(const Outcome& outcome);

}  // namespace standin::script
