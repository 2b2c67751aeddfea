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

// A borrowed string argument: a view of the text, without a copy, that becomes the
// runtime's string pointer in the call it is passed to.
class CefStringArg {
 public:
  explicit CefStringArg(const std::u16string& text) noexcept : view_(CefStringView(text)) {}
  operator const TCefString*() const noexcept { return &view_; }

 private:
  TCefString view_;
};

// The base of a wrapper that implements interface I over its runtime structure: each
// operation is one call of a member of the structure plus its conversions.
template <class I>
class TCefRefOf : public TCefBaseRef, public virtual I {
 public:
  using Wire = WireOf<I>;
  explicit TCefRefOf(Wire* data) : TCefBaseRef(CefHeader(data)) {}

 protected:
  Wire* Struct() const noexcept { return TCefBaseRef::Struct<Wire>(); }

  template <class F, class... A>
  decltype(auto) Call(F Wire::*member, A... args) const {
    Wire* self = Struct();
    return CallRuntime(self->*member, self, args...);
  }
  template <class F, class... A>
  bool CallBool(F Wire::*member, A... args) const {
    return Call(member, args...) != 0;
  }
  // A string result: copied, then freed; null reads as the empty text.
  template <class F, class... A>
  std::u16string CallString(F Wire::*member, A... args) const {
    return CefStringReadUserFree(Call(member, args...));
  }

  void* FindInterface(const Guid& iid) noexcept override {
    if (void* found = base::InterfaceFor<I>(this, iid)) return found;
    return TCefBaseRef::FindInterface(iid);
  }
};

}  // namespace cef
