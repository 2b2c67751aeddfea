#pragma once
// Raising the program's callbacks. The handler of a kind is asked of the browser's client
// each time one is needed and released after the call. Object arguments are handed with one
// reference each, and only once a handler is known to take them, so that a client without
// the handler costs nothing and leaks nothing. Strings are borrowed for the call; strings
// the program fills are the stand-in's own records (OutString).

#include <concepts>
#include <string>
#include <type_traits>
#include <utility>

#include "browsers.h"
#include "cef/ceflib/capi_handlers.h"

namespace standin::calls {

// The client's getter of each handler kind, and the kind's name for the accounts.
template <class H>
struct HandlerKind;
#define STANDIN_HANDLER_KIND(H, getter_member, text)                         \
  template <>                                                                \
  struct HandlerKind<H> {                                                    \
    static constexpr auto getter = &TCefClient::getter_member;               \
    static constexpr const char* name = text;                                \
  };
STANDIN_HANDLER_KIND(TCefLifeSpanHandler, get_life_span_handler, "life span handler")
STANDIN_HANDLER_KIND(TCefLoadHandler, get_load_handler, "load handler")
STANDIN_HANDLER_KIND(TCefRequestHandler, get_request_handler, "request handler")
STANDIN_HANDLER_KIND(TCefDisplayHandler, get_display_handler, "display handler")
STANDIN_HANDLER_KIND(TCefFocusHandler, get_focus_handler, "focus handler")
STANDIN_HANDLER_KIND(TCefKeyboardHandler, get_keyboard_handler, "keyboard handler")
STANDIN_HANDLER_KIND(TCefMenuHandler, get_menu_handler, "menu handler")
STANDIN_HANDLER_KIND(TCefPrintHandler, get_print_handler, "print handler")
STANDIN_HANDLER_KIND(TCefFindHandler, get_find_handler, "find handler")
STANDIN_HANDLER_KIND(TCefJsDialogHandler, get_jsdialog_handler, "JS dialog handler")
STANDIN_HANDLER_KIND(TCefJsBindingHandler, get_jsbinding_handler, "JS binding handler")
STANDIN_HANDLER_KIND(TCefRenderHandler, get_render_handler, "render handler")
STANDIN_HANDLER_KIND(TCefDragHandler, get_drag_handler, "drag handler")
#undef STANDIN_HANDLER_KIND

// True when the program's structure is large enough to have the member and has it set: a
// structure of an older or smaller layout simply lacks the callback.
template <class S, class F>
bool HasMember(const S* s, F S::*member) {
  auto offset = static_cast<size_t>(reinterpret_cast<const char*>(&(s->*member)) - reinterpret_cast<const char*>(s));
  return s->base.size >= offset + sizeof(F) && s->*member != nullptr;
}

// The handler of kind H from the browser's client, holding the reference the getter gave;
// empty when there is no client or it has no such handler.
template <class H>
Held GetHandler(Browser& browser) {
  auto* client = browser.client.as<TCefClient>();
  constexpr auto getter = HandlerKind<H>::getter;
  if (!client || !HasMember(client, getter)) return {};
  return Held((client->*getter)(client), HandlerKind<H>::name);
}

// Records an error when a callback is about to be raised on a fetch thread: callbacks
// belong to the thread of the work function or of the program's own call.
void CheckThread(const char* handler) noexcept;
// Marks the calling thread as a fetch thread.
void MarkFetchThread() noexcept;

// Argument conversions, applied only once the handler is known: stand-in objects are
// handed with a new reference, deferred arguments are produced, everything else (numbers,
// strings and records by pointer, slots) passes as it is.
template <class T>
  requires std::is_scalar_v<std::remove_cvref_t<T>>
T Pass(T value) noexcept {
  return value;
}
inline TCefBrowser* Pass(Browser& browser) noexcept { return browser.Hand<TCefBrowser>(); }
inline TCefFrame* Pass(Frame& frame) noexcept { return frame.Hand<TCefFrame>(); }
template <class T>
auto* Pass(const ObjRef<T>& object) noexcept {
  return object.Hand();
}
template <class F>
  requires std::invocable<F&>
auto Pass(F& produce) {
  return produce();
}

// What raising a callback came to: whether a handler took it, and its answer.
template <class R>
struct Outcome {
  bool raised = false;
  R answer{};
};
template <>
struct Outcome<void> {
  bool raised = false;
};

template <class H, class F>
H* HandlerOf(F H::*);

// Raises the callback Member (a member of a handler structure) on the browser's client:
// the browser goes first, then the arguments through Pass.
template <auto Member, class... A>
auto Raise(Browser& browser, A&&... args) {
  using H = std::remove_pointer_t<decltype(HandlerOf(Member))>;
  using R = decltype((std::declval<H&>().*Member)(nullptr, nullptr, Pass(std::declval<A&>())...));
  Outcome<R> outcome;
  CheckThread(HandlerKind<H>::name);
  Held held = GetHandler<H>(browser);
  H* handler = held.as<H>();
  if (!handler || !HasMember(handler, Member)) return outcome;
  outcome.raised = true;
  if constexpr (std::is_void_v<R>)
    (handler->*Member)(handler, Pass(browser), Pass(args)...);
  else
    outcome.answer = (handler->*Member)(handler, Pass(browser), Pass(args)...);
  return outcome;
}

// A string the program reads or fills: the stand-in's own record, with the stand-in's
// characters (or zeroed, when the program is to produce the text). Whatever characters it
// holds at the end are freed through their dtor.
class OutString {
 public:
  OutString() noexcept = default;
  explicit OutString(std::u16string_view initial) { Assign(&record_, initial); }
  OutString(const OutString&) = delete;
  OutString& operator=(const OutString&) = delete;
  ~OutString() { Assign(&record_, {}); }

  TCefString* get() noexcept { return &record_; }
  std::u16string Text() const { return Read(&record_); }

 private:
  TCefString record_{};
};

// A borrowed string over a text the caller keeps for the call.
inline TCefString View(const std::u16string& text) noexcept {
  return {const_cast<char16_t*>(text.data()), static_cast<uint32_t>(text.size()), nullptr};
}

}  // namespace standin::calls
