#pragma once
// What the wrappers over runtime objects share: typed calls of a structure's members,
// the conversions of arguments and results, and checked calls of the runtime's exports.

#include <string>

#include "cef/ceflib/base_ref.h"
#include "cef/ceflib/loader.h"
#include "cef/ceflib/strings.h"

namespace cef {

// A Boolean argument for the runtime: 0 or 1.
inline TCefBool CefBool(bool value) noexcept { return value ? 1 : 0; }

// The structure pointer for an interface argument, with one reference for the runtime;
// null when the interface is null or not bridged.
template <class S, class I>
S* CefWrapAs(const Ref<I>& object) noexcept {
  return reinterpret_cast<S*>(CefWrap(object));
}

// A borrowed string argument: a view of the text, without a copy, that becomes the
// runtime's string pointer in the call it is passed to.
class CefStringArg {
 public:
  explicit CefStringArg(const std::u16string& text) noexcept : view_(CefStringView(text)) {}
  operator const TCefString*() const noexcept { return &view_; }

 private:
  TCefString view_;
};

[[noreturn]] void RaiseRuntimeMissing(const char* exportName);

// An export of the program's runtime; raises ECefException when the runtime is not loaded
// and initialised, since an unresolved entry would jump to address 0.
template <class F>
F CefEntry(F entry, const char* exportName) {
  if (!entry || !CefRuntime().Initialized()) RaiseRuntimeMissing(exportName);
  return entry;
}
#define CEF_API(name) ::cef::CefEntry(::cef::CefApi().name, #name)

// The base of a wrapper that implements interface I over the runtime structure S: each
// operation is one call of a member of S plus its conversions.
template <class S, class I>
class TCefRefOf : public TCefBaseRef, public virtual I {
 public:
  explicit TCefRefOf(void* data) : TCefBaseRef(data) {}

 protected:
  S* Struct() const noexcept { return Data<S>(); }

  template <class F, class... A>
  decltype(auto) Call(F S::*member, A... args) const {
    S* self = Struct();
    return (self->*member)(self, args...);
  }
  template <class F, class... A>
  bool CallBool(F S::*member, A... args) const {
    return Call(member, args...) != 0;
  }
  // A string result: copied, then freed; null reads as the empty text.
  template <class F, class... A>
  std::u16string CallString(F S::*member, A... args) const {
    return CefStringReadUserFree(Call(member, args...));
  }

  void* FindInterface(const Guid& iid) noexcept override {
    if (void* found = base::InterfaceFor<I>(this, iid)) return found;
    return TCefBaseRef::FindInterface(iid);
  }
};

}  // namespace cef
