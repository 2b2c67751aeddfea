// The heap, its stash of kept values, the running stack, text conversion, errors and the
// records tests read.

#include "script_engine.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "runtime.h"
#include "script_natives.h"
#include "v8_contexts.h"

namespace standin::script {
namespace {

struct Run {
  ScriptContext* context;
  duk_context* thread;
};

struct Engine {
  // The heap's own thread. Duktape runs finalizers on it, so none of our scripts runs there.
  duk_context* heap = nullptr;
  // Our thread for work outside any context; it shares the heap thread's realm.
  duk_context* root = nullptr;
  bool destroying = false;
  uint64_t generation = 1;
  uint32_t next_slot = 1;
  int kept = 0;
  std::vector<Run> running;
  Records records;

  ~Engine();
};

// Set once the engine itself has gone at unload: late calls then find no heap.
bool g_engine_gone = false;

Engine& E() {
  static Engine engine;
  return engine;
}

// Reached only when the library goes without a shutdown. The heap is left as it is: its
// finalizers would reach parts of the stand-in that may have gone already.
Engine::~Engine() { g_engine_gone = true; }

void Fatal(void*, const char* message) {
  std::fprintf(stderr, "libcef stand-in: the script engine failed: %s\n", message ? message : "");
  std::abort();
}

duk_ret_t SetUpStash(duk_context* c) {
  duk_push_heap_stash(c);
  duk_push_bare_object(c);
  duk_put_prop_string(c, -2, "values");
  duk_push_bare_object(c);
  duk_put_prop_string(c, -2, "threads");
  duk_push_thread(c);
  duk_put_prop_string(c, -2, "root");
  duk_push_c_function(c, &FinalizeAttachment, 2);
  duk_put_prop_string(c, -2, "finalizer");
  duk_eval_string(c, "Object.prototype.toString");
  duk_put_prop_string(c, -2, "toString");
  duk_eval_string(c, "Date.prototype.getTime");
  duk_put_prop_string(c, -2, "getTime");
  duk_pop(c);
  return 0;
}

void PushStashObject(duk_context* ctx, const char* name) {
  duk_push_heap_stash(ctx);
  duk_get_prop_string(ctx, -1, name);
  duk_remove(ctx, -2);
}

void AppendUnit(std::string& out, char16_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void AppendCodePoint(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else if (cp <= 0x10FFFF) {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  } else {
    out.push_back(u'\xFFFD');
  }
}

}  // namespace

bool EnsureHeap() {
  Engine& e = E();
  if (e.heap) return true;
  if (g_engine_gone || e.destroying || !Initialized()) return false;
  duk_context* heap = duk_create_heap(nullptr, nullptr, nullptr, nullptr, &Fatal);
  if (!heap) return false;
  if (!Protected(heap, 0, 0, [](duk_context* c) { return SetUpStash(c); })) {
    duk_destroy_heap(heap);
    return false;
  }
  e.heap = heap;
  PushStashObject(heap, "root");
  e.root = duk_get_context(heap, -1);
  duk_pop(heap);
  return true;
}

bool HeapAlive() noexcept { return !g_engine_gone && E().heap != nullptr; }

uint64_t HeapGeneration() noexcept { return E().generation; }

void DestroyHeap() noexcept {
  Engine& e = E();
  if (!e.heap || e.destroying) return;
  e.destroying = true;
  DetachAllContexts();
  // Values the program still holds are dead from here on.
  ++e.generation;
  duk_context* heap = std::exchange(e.heap, nullptr);
  e.root = nullptr;
  e.running.clear();
  // Destruction runs the finalizers, which release what objects hold of the program's.
  duk_destroy_heap(heap);
  ReleaseAllAttachments();
  e.kept = 0;
  e.next_slot = 1;
  e.records = {};
  e.destroying = false;
}

void CollectGarbage() noexcept {
  if (!HeapAlive()) return;
  duk_context* ctx = ActiveThread();
  duk_gc(ctx, 0);
  duk_gc(ctx, 0);
}

duk_context* ActiveThread() {
  if (!EnsureHeap()) return nullptr;
  Engine& e = E();
  if (!e.running.empty()) return e.running.back().thread;
  if (ScriptContext* entered = EnteredContext(); entered && entered->thread()) return entered->thread();
  return e.root;
}

RunningScope::RunningScope(ScriptContext* context, duk_context* thread) {
  E().running.push_back({context, thread});
  if (context) context->Entering();
}

RunningScope::~RunningScope() {
  Engine& e = E();
  if (e.running.empty()) return;
  Run run = e.running.back();
  e.running.pop_back();
  if (run.context) run.context->Leaving();
}

ScriptContext* CallingContext() {
  const std::vector<Run>& running = E().running;
  for (auto it = running.rbegin(); it != running.rend(); ++it)
    if (it->context) return it->context;
  return EnteredContext();
}

uint32_t Keep(duk_context* ctx, duk_idx_t idx) {
  Engine& e = E();
  idx = duk_normalize_index(ctx, idx);
  uint32_t slot = e.next_slot++;
  if (e.next_slot == 0) e.next_slot = 1;
  PushStashObject(ctx, "values");
  duk_dup(ctx, idx);
  duk_put_prop_index(ctx, -2, slot);
  duk_pop(ctx);
  ++e.kept;
  return slot;
}

void PushKept(duk_context* ctx, uint32_t slot) {
  PushStashObject(ctx, "values");
  duk_get_prop_index(ctx, -1, slot);
  duk_remove(ctx, -2);
}

void Forget(uint32_t slot) noexcept {
  if (!HeapAlive() || E().destroying) return;
  duk_context* ctx = ActiveThread();
  // Letting go of the value may run finalizers, which release program structures.
  PushStashObject(ctx, "values");
  duk_del_prop_index(ctx, -1, slot);
  duk_pop(ctx);
  --E().kept;
}

int KeptCount() noexcept { return E().kept; }

void PushStashed(duk_context* ctx, const char* name) { PushStashObject(ctx, name); }

std::string ToEngineText(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) AppendUnit(out, c);
  return out;
}

std::u16string FromEngineText(const char* data, size_t size) {
  std::u16string out;
  out.reserve(size);
  auto byte = [&](size_t k) { return static_cast<unsigned char>(data[k]); };
  for (size_t i = 0; i < size;) {
    unsigned char lead = byte(i++);
    int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0) {
      out.push_back(u'\xFFFD');
      continue;
    }
    char32_t cp = extra == 0 ? lead : extra == 1 ? lead & 0x1F : extra == 2 ? lead & 0x0F : lead & 0x07;
    bool good = true;
    for (int k = 0; good && k < extra; ++k) {
      if (i < size && (byte(i) & 0xC0) == 0x80) cp = (cp << 6) | (byte(i++) & 0x3F);
      else good = false;
    }
    AppendCodePoint(out, good ? cp : 0xFFFD);
  }
  return out;
}

void PushText(duk_context* ctx, std::u16string_view text) {
  std::string bytes = ToEngineText(text);
  duk_push_lstring(ctx, bytes.data(), bytes.size());
}

std::u16string TextAt(duk_context* ctx, duk_idx_t idx) {
  if (!duk_is_string(ctx, idx) || duk_is_symbol(ctx, idx)) return {};
  duk_size_t size = 0;
  const char* data = duk_get_lstring(ctx, idx, &size);
  return data ? FromEngineText(data, size) : std::u16string();
}

std::u16string StringOf(duk_context* ctx, duk_idx_t idx) {
  duk_dup(ctx, idx);
  bool ok = Protected(ctx, 1, 1, [](duk_context* c) {
    duk_to_string(c, -1);
    return 1;
  });
  std::u16string text = ok ? TextAt(ctx, -1) : std::u16string();
  duk_pop(ctx);
  return text;
}

namespace {
// [error] -> [text, fileName, lineNumber]; the error's own properties may be getters.
duk_ret_t DescribeError(duk_context* c) {
  duk_push_array(c);
  duk_dup(c, 0);
  duk_safe_to_string(c, -1);
  duk_put_prop_index(c, 1, 0);
  if (duk_is_object(c, 0)) {
    duk_get_prop_string(c, 0, "fileName");
    duk_put_prop_index(c, 1, 1);
    duk_get_prop_string(c, 0, "lineNumber");
    duk_put_prop_index(c, 1, 2);
  }
  return 1;
}
}  // namespace

Outcome TakeError(duk_context* ctx, std::u16string_view url, int32_t line) {
  Outcome outcome{false, u"Error", std::u16string(url), line};
  if (Protected(ctx, 1, 1, [](duk_context* c) { return DescribeError(c); })) {
    duk_get_prop_index(ctx, -1, 0);
    outcome.text = TextAt(ctx, -1);
    duk_get_prop_index(ctx, -2, 1);
    if (duk_is_string(ctx, -1) && duk_get_length(ctx, -1) > 0) outcome.url = TextAt(ctx, -1);
    duk_get_prop_index(ctx, -3, 2);
    if (duk_is_number(ctx, -1)) outcome.line = duk_get_int(ctx, -1);
    duk_pop_3(ctx);
  }
  duk_pop(ctx);
  return outcome;
}

void ThrowMessageAtTop(duk_context* ctx) {
  // No C file and line: the error blames the script that made the call.
  duk_push_error_object_raw(ctx, DUK_ERR_ERROR, nullptr, 0, "%s", duk_get_string(ctx, -1));
  duk_throw(ctx);
  std::abort();  // duk_throw does not return
}

Records& TheRecords() { return E().records; }

void RecordScriptError(const Outcome& outcome) {
  E().records.errors.push_back({outcome.text, outcome.url, outcome.line});
}

}  // namespace standin::script
