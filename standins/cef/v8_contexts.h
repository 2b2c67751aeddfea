#pragma once
// Script contexts: one per frame and page, each a Duktape thread with a global environment
// of its own, presented to the program as TCefv8Context. The engine keeps a reference to
// every attached context; the frame detaches it when its page is replaced or it leaves its
// browser, after which the object answers empty values until the program lets go of it.
//
// Members count their calls as "v8context.<member>" and fail on request like any export.

#include <cstdint>
#include <memory>
#include <string_view>

#include "dom.h"
#include "script_engine.h"

namespace standin {

class Browser;
class Frame;

namespace script {

class ScriptContext final : public Wired<TCefv8Context, Kind::V8Context> {
 public:
  ScriptContext(Frame& frame, uint32_t id);

  uint32_t id() const noexcept { return id_; }
  bool attached() const noexcept { return frame_ != nullptr; }
  // Null once detached.
  Frame* frame() const noexcept { return frame_; }
  // The frame's open browser; null once detached or closed.
  Browser* browser() const noexcept;
  // The document of the page the context belongs to; null once detached.
  const std::shared_ptr<dom::DocumentState>& document() const noexcept { return document_; }
  // The thread that runs the context's scripts; null once detached.
  duk_context* thread() const noexcept { return attached() ? thread_ : nullptr; }

  // Makes the thread and its global environment; false when the heap cannot.
  bool Start();
  // Compiles and runs code as a program of the page; an uncaught error is recorded.
  Outcome Run(std::u16string_view code, std::u16string_view url, int32_t line);
  // Leaves the page: the frame, document and thread are let go (the thread once no script
  // of the context runs any more).
  void Detach() noexcept;

  // Called by the running stack.
  void Entering() noexcept { ++running_; }
  void Leaving() noexcept;

 protected:
  void Retire() noexcept override { Detach(); }

 private:
  void InstallMembers();
  void DropThread() noexcept;

  uint32_t id_;
  Frame* frame_;
  std::shared_ptr<dom::DocumentState> document_;
  duk_context* thread_ = nullptr;
  bool thread_kept_ = false;
  int running_ = 0;
};

// The attached context with that id; null when there is none.
ScriptContext* ContextById(uint32_t id);
// The frame's context for its current page; made (and its extensions run) on first need
// when create is true. Empty when the frame has left its browser.
ObjRef<ScriptContext> ContextOf(Frame& frame, bool create);
// The context last entered with enter and not exited; null when none is.
ScriptContext* EnteredContext();
// Contexts attached to a page now.
int AttachedContexts();
// Detaches every context and forgets the entered ones (at heap teardown).
void DetachAllContexts() noexcept;

// What every new context gets before the page's scripts: the page's environment (window,
// document, location, console and the dialogs), then every registered extension, run in
// registration order.
bool SetUpEnvironment(ScriptContext& context);
void RunExtensions(ScriptContext& context);

}  // namespace script
}  // namespace standin
