#pragma once
// The runtime's calls into the program's handlers, written as tables. Each entry of a
// handler structure is Entry<operation, policies...>: one policy per runtime argument after
// the structure pointer, in the runtime's order. A policy converts its argument on the way
// in and, where the runtime expects something back through it, writes it back once the
// operation has answered. Every entry runs under the one callback guard: a failure answers
// the neutral value, writes nothing back and releases whatever the call brought.

#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include "cef/ceflib/base_own.h"
#include "cef/ceflib/guard.h"
#include "cef/ceflib/wrapper_support.h"

namespace cef::entry {

// When an out value goes back to the runtime, after the operation's answer.
enum class When { Always, OnTrue, OnFalse, OnFalseNonEmpty };

constexpr bool Writes(When when, bool answer, bool empty = false) noexcept {
  switch (when) {
    case When::Always:
      return true;
    case When::OnTrue:
      return answer;
    case When::OnFalse:
      return !answer;
    case When::OnFalseNonEmpty:
      return !answer && !empty;
  }
  return false;
}

// The runtime structure that a wrapper class takes.
template <class Wrapper>
using StructOf = typename Wrapper::Wire;

// What a wrapper class's UnWrap gives: Ref<its interface>.
template <class Wrapper>
using Unwrapped = decltype(Wrapper::UnWrap(nullptr));

// A runtime-owned copy of a text on its way into a runtime string record: made before
// anything is written, freed again unless it was handed over.
class PendingCopy {
 public:
  PendingCopy() noexcept = default;
  PendingCopy(const PendingCopy&) = delete;
  PendingCopy& operator=(const PendingCopy&) = delete;
  ~PendingCopy() {
    // A copy exists only while the runtime does.
    auto clear = CEF_API_IF_LOADED(cef_string_clear);
    if (copy_.str && clear) clear(&copy_);
  }

  void Make(const std::u16string& text) { copy_ = CefStringOwnedCopy(text); }
  // Stores the copy's three words into target as they are, without clearing target.
  void HandOver(TCefString& target) noexcept { target = std::exchange(copy_, TCefString{}); }

 private:
  TCefString copy_{};
};

// What an argument keeps: the runtime's value as it came, and the program's value that the
// operation receives and, for an in-and-out argument, may change.
template <class W, class V>
class Argument {
 public:
  using Wire = W;
  explicit Argument(W wire) noexcept : wire_(wire) {}

 protected:
  W wire_;
  V value_{};
};

// ---- Arguments the operation only reads -------------------------------------------------

// A runtime object, wrapped by Wrapper::UnWrap; null stays null.
template <class Wrapper, class S = StructOf<Wrapper>>
class Object {
 public:
  using Wire = S*;
  explicit Object(S* data) noexcept : incoming_(data) {}
  const Unwrapped<Wrapper>& In() { return value_ = incoming_.template Take<Wrapper>(); }

 private:
  IncomingRef<S> incoming_;
  Unwrapped<Wrapper> value_;
};

// A string argument, copied; null reads as the empty text.
class Text : public Argument<const TCefString*, std::u16string> {
 public:
  using Argument::Argument;
  const std::u16string& In() { return value_ = CefStringRead(wire_); }
};

// A Boolean argument: true when non-zero.
class Flag : public Argument<TCefBool, bool> {
 public:
  using Argument::Argument;
  bool In() const noexcept { return wire_ != 0; }
};

// An integer, enumeration, 64-bit length, handle or record pointer, passed unchanged.
template <class T>
class Plain : public Argument<T, T> {
 public:
  using Argument<T, T>::Argument;
  T In() const noexcept { return this->wire_; }
};

// ---- Arguments the operation may change --------------------------------------------------

// A runtime string, read before the call and set in place (the runtime copies the text).
template <When W>
class TextBack : public Argument<TCefString*, std::u16string> {
 public:
  using Argument::Argument;
  std::u16string& In() { return value_ = CefStringRead(wire_); }
  void Commit(bool answer) {
    if (Writes(W, answer, value_.empty())) CefStringAssign(wire_, value_);
  }
};

// How a runtime string that receives a new runtime-owned copy starts out for the operation.
enum class Start {
  Read,   // with the runtime's text, which is cleared when the copy replaces it
  Blank,  // empty; the runtime's record is not read and is overwritten without clearing
};

// A runtime string record that receives a new runtime-owned copy of the text.
template <Start From, When W>
class TextCopy : public Argument<TCefString*, std::u16string> {
 public:
  using Argument::Argument;
  std::u16string& In() {
    if constexpr (From == Start::Read) value_ = CefStringRead(wire_);
    return value_;
  }
  void Prepare(bool answer) {
    if (wire_ && Writes(W, answer)) copy_.Make(value_);
  }
  void Commit(bool answer) {
    if (!wire_ || !Writes(W, answer)) return;
    // Cleared only now, so that a failure leaves the runtime's text as it was.
    if constexpr (From == Start::Read) CEF_API(cef_string_clear)(wire_);
    copy_.HandOver(*wire_);
  }

 private:
  PendingCopy copy_;
};

// A pointer to a runtime Boolean: read as true when non-zero, written back as 1 or 0.
template <When W>
class FlagBack : public Argument<TCefBool*, bool> {
 public:
  using Argument::Argument;
  bool& In() noexcept { return value_ = wire_ && *wire_ != 0; }
  void Commit(bool answer) noexcept {
    if (wire_ && Writes(W, answer)) *wire_ = CefBool(value_);
  }
};

// An object slot that the runtime fills before the call: its object is wrapped for the
// operation, and afterwards the slot's reference is released and, when W says so, the slot
// receives the (possibly replaced) object with one reference, or null. The wrapper holds a
// reference of its own, so that a failure leaves the slot and its reference as they were.
template <class Wrapper, When W, class S = StructOf<Wrapper>>
class ObjectBack : public Argument<S**, Unwrapped<Wrapper>> {
  using Base = Argument<S**, Unwrapped<Wrapper>>;
  using Base::value_;
  using Base::wire_;

 public:
  explicit ObjectBack(S** slot) noexcept : Base(slot), incoming_(slot ? *slot : nullptr) {}
  Unwrapped<Wrapper>& In() {
    if (incoming_) value_ = IncomingRef<S>(CefRetain(incoming_)).template Take<Wrapper>();
    return value_;
  }
  void Commit(bool answer) noexcept {
    if (!wire_) return;
    IncomingRef<S> released(incoming_);
    if (Writes(W, answer)) *wire_ = CefWrapAs<S>(value_);
  }

 private:
  S* incoming_;
};

// An object slot that the runtime does not fill: the operation starts with null, and the
// slot always receives its object with one reference, or null.
template <class I, class S>
class ObjectOut : public Argument<S**, Ref<I>> {
 public:
  using Argument<S**, Ref<I>>::Argument;
  Ref<I>& In() noexcept { return this->value_; }
  void Commit(bool) noexcept {
    if (this->wire_) *this->wire_ = CefWrapAs<S>(this->value_);
  }
};

// ---- The entry ---------------------------------------------------------------------------

template <class F>
struct OperationOf;
template <class C, class R, class... A>
struct OperationOf<R (C::*)(A...)> {
  using Owner = C;
  using Result = R;
};

// Every write-back is prepared first (what may fail: the runtime's copies) and only then
// written, so that a failure writes nothing.
template <class... Args>
void WriteBack(bool answer, Args&... args) {
  auto prepare = [answer](auto& arg) {
    if constexpr (requires { arg.Prepare(answer); }) arg.Prepare(answer);
  };
  auto commit = [answer](auto& arg) {
    if constexpr (requires { arg.Commit(answer); }) arg.Commit(answer);
  };
  (prepare(args), ...);
  (commit(args), ...);
}

// The entry for Operation, a member of a handler class whose Wire names its structure: finds
// the handler from the structure, converts the arguments, calls the operation, writes back
// and answers 1 or 0 (nothing when the operation answers nothing).
template <auto Operation, class... Args>
class EntryOf {
  using Owner = typename OperationOf<decltype(Operation)>::Owner;
  using S = typename Owner::Wire;
  static constexpr bool kAnswers = !std::is_void_v<typename OperationOf<decltype(Operation)>::Result>;
  using Answer = std::conditional_t<kAnswers, TCefBool, void>;
  // Taking the runtime's values cannot fail, so everything the call brought is held
  // before the guard begins.
  static_assert((std::is_nothrow_constructible_v<Args, typename Args::Wire> && ...));

 public:
  static Answer CEF_CALLBACK Call(S* self, typename Args::Wire... wire) noexcept {
    std::tuple<Args...> args(wire...);
    auto dispatch = [&] { return std::apply([self](Args&... arg) { return Dispatch(self, arg...); }, args); };
    if constexpr (kAnswers) {
      return Guarded(TCefBool{0}, dispatch);
    } else {
      Guarded(dispatch);
    }
  }

 private:
  static Answer Dispatch(S* self, Args&... args) {
    Owner* owner = TCefBaseOwn::Self<Owner>(self);
    if constexpr (kAnswers) {
      bool answer = (owner->*Operation)(args.In()...);
      WriteBack(answer, args...);
      return CefBool(answer);
    } else {
      (owner->*Operation)(args.In()...);
      WriteBack(false, args...);
    }
  }
};

template <auto Operation, class... Args>
inline constexpr auto Entry = &EntryOf<Operation, Args...>::Call;

}  // namespace cef::entry
