// Script contexts: their making, running code in them, their members, the contexts entered
// with enter, and the current and entered context exports.

#include "v8_contexts.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include "browser_events.h"
#include "browsers.h"
#include "v8_values.h"

namespace standin::script {
namespace {

// A script's first line may be given as far down as this; the code is moved down to it.
constexpr int32_t kMaxFirstLine = 100000;

struct Contexts {
  uint32_t next_id = 0;
  // The engine's reference to every attached context, by id and by frame.
  std::map<uint32_t, ObjRef<ScriptContext>> attached;
  std::unordered_map<const Frame*, uint32_t> by_frame;
  // Contexts entered with enter and not yet exited, innermost last.
  std::vector<ObjRef<ScriptContext>> entered;
};

Contexts& C() {
  static Contexts contexts;
  return contexts;
}

void PushThreads(duk_context* ctx) {
  PushStashed(ctx, "threads");
}

// The context behind a member call; null when the call is to fail or it is no context.
ScriptContext* Live(TCefv8Context* self, const char* member) {
  if (Enter(member)) return nullptr;
  return Self<ScriptContext>(self, member);
}

}  // namespace

ScriptContext::ScriptContext(Frame& frame, uint32_t id)
    : id_(id), frame_(&frame), document_(frame.page.document) {
  InstallMembers();
}

Browser* ScriptContext::browser() const noexcept {
  Browser* b = frame_ ? frame_->browser() : nullptr;
  return b && !b->closed() ? b : nullptr;
}

bool ScriptContext::Start() {
  duk_context* base = ActiveThread();
  if (!base) return false;
  // A thread of its own with a fresh global environment: the page's realm.
  duk_push_thread_new_globalenv(base);
  thread_ = duk_get_context(base, -1);
  PushThreads(base);
  duk_dup(base, -2);
  duk_put_prop_index(base, -2, id_);
  duk_pop_2(base);
  thread_kept_ = true;
  return SetUpEnvironment(*this);
}

Outcome ScriptContext::Run(std::u16string_view code, std::u16string_view url, int32_t line) {
  duk_context* thread = this->thread();
  if (!thread) return {false, u"Error: the page has gone", std::u16string(url), line};
  // Lines count from the page's own: the code is moved down to its first line.
  std::string source(static_cast<size_t>(std::clamp(line, 1, kMaxFirstLine) - 1), '\n');
  source += ToEngineText(code);
  std::string file = ToEngineText(url);
  Outcome outcome;
  {
    RunningScope scope(this, thread);
    duk_push_lstring(thread, file.data(), file.size());
    if (duk_pcompile_lstring_filename(thread, 0, source.data(), source.size()) != 0 || duk_pcall(thread, 0) != 0) {
      outcome = TakeError(thread, url, line);
    } else {
      outcome = {true, StringOf(thread, -1), std::u16string(url), line};
      duk_pop(thread);
    }
  }
  if (!outcome.ok) RecordScriptError(outcome);
  return outcome;
}

void ScriptContext::Detach() noexcept {
  if (!frame_) return;
  Contexts& c = C();
  c.by_frame.erase(std::exchange(frame_, nullptr));
  document_.reset();
  // The engine's reference may be the last: it goes after everything else.
  ObjRef<ScriptContext> self;
  if (auto it = c.attached.find(id_); it != c.attached.end()) {
    self = std::move(it->second);
    c.attached.erase(it);
  }
  if (running_ == 0) DropThread();
  CollectGarbage();
}

void ScriptContext::Leaving() noexcept {
  if (--running_ == 0 && !attached()) {
    DropThread();
    CollectGarbage();
  }
}

void ScriptContext::DropThread() noexcept {
  thread_ = nullptr;
  if (!std::exchange(thread_kept_, false) || !HeapAlive()) return;
  duk_context* ctx = ActiveThread();
  PushThreads(ctx);
  duk_del_prop_index(ctx, -1, id_);
  duk_pop(ctx);
}

void ScriptContext::InstallMembers() {
  wire_.get_browser = [](TCefv8Context* self) CEF_CALLBACK -> TCefBrowser* {
    ScriptContext* c = Live(self, "v8context.get_browser");
    Browser* b = c ? c->browser() : nullptr;
    return b ? b->Hand<TCefBrowser>() : nullptr;
  };
  wire_.get_frame = [](TCefv8Context* self) CEF_CALLBACK -> TCefFrame* {
    ScriptContext* c = Live(self, "v8context.get_frame");
    return c && c->browser() ? c->frame()->Hand<TCefFrame>() : nullptr;
  };
  wire_.get_global = [](TCefv8Context* self) CEF_CALLBACK -> TCefv8Value* {
    ScriptContext* c = Live(self, "v8context.get_global");
    duk_context* thread = c ? c->thread() : nullptr;
    if (!thread) return nullptr;
    duk_push_global_object(thread);
    TCefv8Value* global = NewValue(thread, -1, c->id());
    duk_pop(thread);
    return global;
  };
  wire_.enter = [](TCefv8Context* self) CEF_CALLBACK -> TCefBool {
    ScriptContext* c = Live(self, "v8context.enter");
    if (!c || !c->attached()) return 0;
    C().entered.push_back(ObjRef<ScriptContext>::Retain(c));
    return 1;
  };
  wire_.exit = [](TCefv8Context* self) CEF_CALLBACK -> TCefBool {
    ScriptContext* c = Live(self, "v8context.exit");
    std::vector<ObjRef<ScriptContext>>& entered = C().entered;
    if (!c || entered.empty() || entered.back().get() != c) return 0;
    ObjRef<ScriptContext> left = std::move(entered.back());
    entered.pop_back();
    return 1;
  };
}

ScriptContext* ContextById(uint32_t id) {
  auto it = C().attached.find(id);
  return it == C().attached.end() ? nullptr : it->second.get();
}

ObjRef<ScriptContext> ContextOf(Frame& frame, bool create) {
  Contexts& c = C();
  if (auto it = c.by_frame.find(&frame); it != c.by_frame.end()) return c.attached[it->second];
  Browser* browser = frame.browser();
  if (!create || !browser || browser->closed() || !EnsureHeap()) return {};
  uint32_t id = ++c.next_id;
  auto context = ObjRef<ScriptContext>::Adopt(Create<ScriptContext>(frame, id));
  c.attached[id] = context;
  c.by_frame[&frame] = id;
  if (!context->Start()) {
    context->Detach();
    return {};
  }
  RunExtensions(*context.get());
  if (Browser* open = context->browser()) events::ScriptContextCreated(*open, frame, *context.get());
  return context->attached() ? context : ObjRef<ScriptContext>();
}

ScriptContext* EnteredContext() {
  const std::vector<ObjRef<ScriptContext>>& entered = C().entered;
  return entered.empty() ? nullptr : entered.back().get();
}

int AttachedContexts() { return static_cast<int>(C().attached.size()); }

void DetachAllContexts() noexcept {
  Contexts& c = C();
  std::vector<ObjRef<ScriptContext>> entered = std::exchange(c.entered, {});
  std::vector<ObjRef<ScriptContext>> attached;
  for (auto& [id, context] : c.attached) attached.push_back(context);
  for (ObjRef<ScriptContext>& context : attached) context->Detach();
}

}  // namespace standin::script

using namespace standin;
using namespace standin::script;

TCefv8Context* cef_v8context_get_current_context() {
  if (Enter("cef_v8context_get_current_context")) return nullptr;
  ScriptContext* context = CallingContext();
  return context ? context->Hand<TCefv8Context>() : nullptr;
}

TCefv8Context* cef_v8context_get_entered_context() {
  if (Enter("cef_v8context_get_entered_context")) return nullptr;
  ScriptContext* context = CallingContext();
  return context ? context->Hand<TCefv8Context>() : nullptr;
}
