#pragma once
// The base of the wrappers over runtime objects. A wrapper owns exactly one runtime
// reference; wrappers are not cached, so two may stand for one runtime object.

#include <type_traits>

#include "cef/ceflib/interfaces.h"

namespace cef {

class TCefBaseRef : public base::RefCounted, public virtual ICefBase {
 public:
  using Wire = TCefBase;

  // Takes over the reference that came with data; data must not be null.
  explicit TCefBaseRef(TCefBase* data);

  TCefBase* Wrap() noexcept override;

  // A plain ICefBase over data, taking over its reference; null for null.
  static Ref<ICefBase> UnWrap(TCefBase* data);

 protected:
  ~TCefBaseRef() override;

  void* FindInterface(const Guid& iid) noexcept override;

  // The runtime structure, as the structure S that begins with the header.
  template <class S = TCefBase>
  S* Struct() const noexcept {
    return reinterpret_cast<S*>(FData);
  }

 private:
  TCefBase* FData;
};

// UnWrap for a wrapper class: a new wrapper over data as the class's interface, taking
// over the reference that came with data; null for null.
template <class Wrapper, class Interface>
Ref<Interface> UnWrapAs(WireOf<Interface>* data) {
  if (!data) return nullptr;
  return base::MakeRef<Wrapper>(data);
}

// A runtime reference that arrived with a callback argument or a result: released when the
// holder goes unless a wrapper has taken it over, so that a failure before or while wrapping
// leaks nothing. Hold it before anything that can fail.
template <class S>
class IncomingRef {
 public:
  explicit IncomingRef(S* data) noexcept : data_(data) {}
  IncomingRef(const IncomingRef&) = delete;
  IncomingRef& operator=(const IncomingRef&) = delete;
  ~IncomingRef() {
    TCefBase* header = CefHeader(data_);
    if (header && header->release) header->release(header);
  }

  // Wrapper::UnWrap of the pointer; the reference is the wrapper's once it exists. A plain
  // TCefBaseRef takes any structure by its header.
  template <class Wrapper>
  auto Take() {
    auto wrapped = [this] {
      if constexpr (std::is_same_v<typename Wrapper::Wire, TCefBase>) return Wrapper::UnWrap(CefHeader(data_));
      else return Wrapper::UnWrap(data_);
    }();
    data_ = nullptr;
    return wrapped;
  }

 private:
  S* data_;
};

}  // namespace cef
