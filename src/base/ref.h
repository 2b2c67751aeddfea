#pragma once
// One intrusive smart pointer for every reference-counted object of the program:
// our own interfaces, the runtime wrappers, and COM interfaces alike. Anything with
// AddRef() and Release() can be held.

#include <cstddef>
#include <utility>

namespace base {

template <class T>
class Ref {
 public:
  Ref() noexcept = default;
  Ref(std::nullptr_t) noexcept {}
  Ref(const Ref& other) noexcept : p_(other.p_) { if (p_) p_->AddRef(); }
  Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  template <class U>
  Ref(const Ref<U>& other) noexcept : p_(other.get()) { if (p_) p_->AddRef(); }
  template <class U>
  Ref(Ref<U>&& other) noexcept : p_(other.detach()) {}
  ~Ref() { if (p_) p_->Release(); }

  Ref& operator=(Ref other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  Ref& operator=(std::nullptr_t) noexcept {
    reset();
    return *this;
  }

  // Takes one more reference to p: for pointers that arrive without one.
  static Ref Retain(T* p) noexcept {
    if (p) p->AddRef();
    return Ref(p, Adopting{});
  }
  // Takes over the reference that p carries: for pointers that arrive with one.
  static Ref Adopt(T* p) noexcept { return Ref(p, Adopting{}); }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

  void reset() noexcept {
    if (T* old = std::exchange(p_, nullptr)) old->Release();
  }
  // Hands the reference out to the caller, who must release it.
  [[nodiscard]] T* detach() noexcept { return std::exchange(p_, nullptr); }
  // Takes over a reference, releasing the one held before.
  void attach(T* p) noexcept {
    if (T* old = std::exchange(p_, p)) old->Release();
  }
  // For out-parameters: the previous value is released before the address goes out.
  T** put() noexcept {
    reset();
    return &p_;
  }

  friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.p_ == b.p_; }
  friend bool operator==(const Ref& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

 private:
  struct Adopting {};
  Ref(T* p, Adopting) noexcept : p_(p) {}
  T* p_ = nullptr;
};

}  // namespace base
