#pragma once
// Reference-counted interfaces with identities, in the manner of COM: interfaces are
// abstract classes inherited virtually, so that an implementation and the interfaces it
// adds share one base; identities (GUIDs) are kept with their interfaces; casts between
// interfaces ask the object and fail to null.

#include <atomic>
#include <cassert>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "base/ref.h"

namespace base {

struct Guid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
  friend constexpr bool operator==(const Guid&, const Guid&) = default;
};

namespace detail {
constexpr uint32_t HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<uint32_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<uint32_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<uint32_t>(c - 'a' + 10);
  throw "not a hexadecimal digit";
}
constexpr uint32_t Hex(const char* s, int from, int count) {
  uint32_t v = 0;
  for (int i = 0; i < count; ++i) v = v * 16 + HexDigit(s[from + i]);
  return v;
}
}  // namespace detail

// Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; used for constants, so a malformed
// identity fails to compile.
constexpr Guid MakeGuid(const char (&s)[39]) {
  if (s[0] != '{' || s[9] != '-' || s[14] != '-' || s[19] != '-' || s[24] != '-' || s[37] != '}')
    throw "malformed GUID";
  Guid g{detail::Hex(s, 1, 8), static_cast<uint16_t>(detail::Hex(s, 10, 4)),
         static_cast<uint16_t>(detail::Hex(s, 15, 4)), {}};
  g.data4[0] = static_cast<uint8_t>(detail::Hex(s, 20, 2));
  g.data4[1] = static_cast<uint8_t>(detail::Hex(s, 22, 2));
  for (int i = 0; i < 6; ++i) g.data4[2 + i] = static_cast<uint8_t>(detail::Hex(s, 25 + 2 * i, 2));
  return g;
}

// The root of every interface: ask for another interface, add and drop references.
class IInterface {
 public:
  static constexpr Guid IID = MakeGuid("{00000000-0000-0000-C000-000000000046}");
  using Parent = void;

  // Answers the interface named by iid with one reference added, or null.
  virtual void* QueryInterface(const Guid& iid) noexcept = 0;
  virtual int32_t AddRef() noexcept = 0;
  virtual int32_t Release() noexcept = 0;

 protected:
  ~IInterface() = default;
};

// The pointer to I inside self when iid names I or one of its ancestors; no reference added.
template <class I, class Self>
void* InterfaceFor(Self* self, const Guid& iid) noexcept {
  if (iid == I::IID) return static_cast<I*>(self);
  if constexpr (!std::is_void_v<typename I::Parent>) {
    return InterfaceFor<typename I::Parent>(self, iid);
  } else {
    return nullptr;
  }
}

// The interface cast: a null reference when the object is null or lacks the interface.
template <class To, class From>
Ref<To> interface_cast(const Ref<From>& from) noexcept {
  if (!from) return nullptr;
  return Ref<To>::Adopt(static_cast<To*>(from->QueryInterface(To::IID)));
}
template <class To, class From>
Ref<To> interface_cast(From* from) noexcept {
  if (!from) return nullptr;
  return Ref<To>::Adopt(static_cast<To*>(from->QueryInterface(To::IID)));
}

// The base of every object that implements interfaces. Its count starts at 0: the first
// reference the program takes makes it 1, and the object destroys itself when the count
// returns to 0, whichever side lets go last.
class RefCounted : public virtual IInterface {
 public:
  RefCounted(const RefCounted&) = delete;
  RefCounted& operator=(const RefCounted&) = delete;

  void* QueryInterface(const Guid& iid) noexcept final {
    void* found = FindInterface(iid);
    if (found) AddRef();
    return found;
  }

  int32_t AddRef() noexcept final {
    // Taking a reference needs no ordering: whoever hands us out already holds one.
    int32_t count = refs_.fetch_add(1, std::memory_order_relaxed) + 1;
#ifndef NDEBUG
    assert(!destroying_ && "reference added during destruction");
#endif
    return count;
  }

  int32_t Release() noexcept final {
    // acq_rel: every write made through other references must be visible to the
    // thread that runs the destructor.
    int32_t count = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    assert(count >= 0 && "reference count below zero");
    if (count == 0) {
#ifndef NDEBUG
      destroying_ = true;
#endif
      delete this;
    }
    return count;
  }

  int32_t RefCount() const noexcept { return refs_.load(std::memory_order_relaxed); }

 protected:
  RefCounted() noexcept = default;
  virtual ~RefCounted() = default;

  // Subclasses that add interfaces answer for them and defer to their base for the rest.
  virtual void* FindInterface(const Guid& iid) noexcept { return InterfaceFor<IInterface>(this, iid); }

 private:
  std::atomic<int32_t> refs_{0};
#ifndef NDEBUG
  bool destroying_ = false;
#endif
};

// The one way to create a reference-counted object: it arrives with the count at 1.
template <class T, class... Args>
Ref<T> MakeRef(Args&&... args) {
  return Ref<T>::Retain(new T(std::forward<Args>(args)...));
}

}  // namespace base
