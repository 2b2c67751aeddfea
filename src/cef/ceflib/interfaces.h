#pragma once
// The root of every bridged interface, and the string-map interface the header and
// attribute operations take.

#include "base/interface.h"
#include "cef/ceflib/capi.h"

namespace cef {

using base::Guid;
using base::MakeGuid;
using base::Ref;

class ICefBase : public virtual base::IInterface {
 public:
  static constexpr Guid IID = MakeGuid("{1F9A7B44-DCDC-4477-9180-3ADD44BDEB7B}");
  using Parent = base::IInterface;

  // The runtime structure with one reference added for whoever receives it.
  virtual TCefBase* Wrap() noexcept = 0;
};

// A runtime string map, supplied by callers of the header and attribute operations.
class ICefStringMap : public virtual base::IInterface {
 public:
  static constexpr Guid IID = MakeGuid("{E7C0A5D2-6B1F-4C55-9E3A-2F0B8D41C6A7}");
  using Parent = base::IInterface;

  virtual TCefStringMap GetHandle() = 0;
};

// The structure pointer to hand to the runtime for an interface of the program: one
// reference for the runtime, or null when the interface is null or not bridged.
template <class I>
TCefBase* CefWrap(const Ref<I>& object) noexcept {
  Ref<ICefBase> bridged = base::interface_cast<ICefBase>(object);
  return bridged ? bridged->Wrap() : nullptr;
}

}  // namespace cef
