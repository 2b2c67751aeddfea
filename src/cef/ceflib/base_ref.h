#pragma once
// The base of the wrappers over runtime objects. A wrapper owns exactly one runtime
// reference; wrappers are not cached, so two may stand for one runtime object.

#include "cef/ceflib/interfaces.h"

namespace cef {

class TCefBaseRef : public base::RefCounted, public virtual ICefBase {
 public:
  // Takes over the reference that came with data; data must not be null.
  explicit TCefBaseRef(void* data);

  TCefBase* Wrap() noexcept override;

  // A plain ICefBase over data, taking over its reference; null for null.
  static Ref<ICefBase> UnWrap(void* data);

 protected:
  ~TCefBaseRef() override;

  void* FindInterface(const Guid& iid) noexcept override;

  template <class S>
  S* Data() const noexcept {
    return static_cast<S*>(FData);
  }

 private:
  void* FData;
};

// UnWrap for a wrapper class: a new wrapper over data as the class's interface, taking
// over the reference that came with data; null for null.
template <class Wrapper, class Interface>
Ref<Interface> UnWrapAs(void* data) {
  if (!data) return nullptr;
  return base::MakeRef<Wrapper>(data);
}

}  // namespace cef
