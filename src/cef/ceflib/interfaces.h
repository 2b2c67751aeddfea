#pragma once
// The root of every bridged interface, and the string-map interface the header and
// attribute operations take.

#include <type_traits>

#include "base/interface.h"
#include "cef/ceflib/capi.h"

namespace cef {

using base::Guid;
using base::MakeGuid;
using base::Ref;

// The runtime structure that stands for a bridged interface on the wire. Each interface
// names its structure beside its declaration; wrapping, unwrapping and handing an interface
// to the runtime all go through this pairing, so a structure of the wrong kind does not
// compile.
template <class I>
struct CefWireOf;
template <class I>
using WireOf = typename CefWireOf<I>::type;

class ICefBase : public virtual base::IInterface {
 public:
  static constexpr Guid IID = MakeGuid("{1F9A7B44-DCDC-4477-9180-3ADD44BDEB7B}");
  using Parent = base::IInterface;

  // The runtime structure with one reference added for whoever receives it.
  virtual TCefBase* Wrap() noexcept = 0;
};
template <>
struct CefWireOf<ICefBase> {
  using type = TCefBase;
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

// CefWrap as the interface's own structure. A plain ICefBase, whose kind the program does
// not know, goes as the structure S that the runtime's slot names. Every structure begins
// with the header, so the header's address is the structure's.
template <class S = void, class I>
auto* CefWrapAs(const Ref<I>& object) noexcept {
  using Target = std::conditional_t<std::is_void_v<S>, WireOf<I>, S>;
  static_assert(std::is_same_v<Target, WireOf<I>> || std::is_same_v<I, ICefBase>,
                "an interface goes to the runtime as its own structure");
  return reinterpret_cast<Target*>(CefWrap(object));
}

// The header at the start of a runtime structure; null for null.
inline TCefBase* CefHeader(TCefBase* data) noexcept { return data; }
template <class S>
TCefBase* CefHeader(S* data) noexcept {
  return data ? &data->base : nullptr;
}

// Adds one reference to a runtime structure that the program keeps although it arrived
// without one; a header without add_ref is left alone. Answers data.
template <class S>
S* CefRetain(S* data) noexcept {
  TCefBase* header = CefHeader(data);
  if (header && header->add_ref) header->add_ref(header);
  return data;
}

}  // namespace cef
