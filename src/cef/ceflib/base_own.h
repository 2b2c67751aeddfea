#pragma once
// The base of the program's objects that the runtime calls back into.

#include <cstddef>
#include <memory>
#include <mutex>

#include "cef/ceflib/interfaces.h"

namespace cef {

class TCefBaseOwn : public base::RefCounted, public virtual ICefBase {
 public:
  TCefBase* Wrap() noexcept override;

  // The object that presents `data`: its address sits in the slot just before the structure.
  static TCefBaseOwn* FromData(const void* data) noexcept {
    return static_cast<TCefBaseOwn*>(static_cast<void* const*>(data)[-1]);
  }
  template <class T>
  static T* Self(const void* data) noexcept {
    return static_cast<T*>(FromData(data));
  }

  // The structure the object presents, as the structure S that begins with the header.
  template <class S = TCefBase>
  S* Struct() const noexcept {
    return static_cast<S*>(FData);
  }

 protected:
  // Subclasses pass the size of the structure they present (sizeof the wire type) and
  // then fill the callback slots after the header.
  explicit TCefBaseOwn(size_t structSize);
  ~TCefBaseOwn() override;

  void* FindInterface(const Guid& iid) noexcept override;

  // Taken only by objects whose operations the runtime may call from several threads.
  std::recursive_mutex& CriticalSection() noexcept { return FCriticaSection; }

 private:
  void CreateData(size_t size);

  static int32_t CEF_CALLBACK cef_base_add_ref(TCefBase* self);
  static int32_t CEF_CALLBACK cef_base_release(TCefBase* self);
  static int32_t CEF_CALLBACK cef_base_get_refct(TCefBase* self);

  // One block: the back-pointer slot, then the structure.
  std::unique_ptr<void*[]> FBlock;
  void* FData = nullptr;
  std::recursive_mutex FCriticaSection;
};

}  // namespace cef
