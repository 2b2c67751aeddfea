#pragma once
// COM at the program's side: references are held in `base::Ref` (adopted from out-parameters
// through `put()`), and the other two resources of automation calls, variants and
// strings, have holders of their own here. A failed automation call becomes an exception.

#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>

#include <string>
#include <string_view>

#include "base/ref.h"
#include "platform/errors.h"

namespace shell {

// The interface `iid` of `object` (null `object` allowed), or null when the object does not
// have it; `result` receives the answer of QueryInterface.
template <class To, class From>
base::Ref<To> TryQueryInterface(From* object, const IID& iid, HRESULT* result = nullptr) noexcept {
  base::Ref<To> target;
  HRESULT hr = object ? object->QueryInterface(iid, reinterpret_cast<void**>(target.put())) : E_POINTER;
  // A refusing object should have written null; whatever it wrote carries no reference.
  if (FAILED(hr)) (void)target.detach();
  if (result) *result = hr;
  return target;
}

// A VARIANT that is cleared, with whatever it owns, when the holder goes.
class ComVariant {
 public:
  ComVariant() noexcept { VariantInit(&value_); }
  ComVariant(ComVariant&& other) noexcept;
  ComVariant& operator=(ComVariant&& other) noexcept;
  ComVariant(const ComVariant&) = delete;
  ComVariant& operator=(const ComVariant&) = delete;
  ~ComVariant() { VariantClear(&value_); }

  static ComVariant Int32(int32_t value) noexcept;
  // A string variant owning a copy of the text.
  static ComVariant String(std::u16string_view text);
  // The marker of an omitted optional argument: an error variant with DISP_E_PARAMNOTFOUND.
  static ComVariant Missing() noexcept;

  VARIANT* Get() noexcept { return &value_; }
  const VARIANT& Value() const noexcept { return value_; }

 private:
  VARIANT value_;
};

// A BSTR owned by the program, freed when the holder goes.
class ComBstr {
 public:
  ComBstr() = default;
  ComBstr(ComBstr&& other) noexcept : text_(other.detach()) {}
  ComBstr& operator=(ComBstr&& other) noexcept {
    if (this != &other) {
      reset();
      text_ = other.detach();
    }
    return *this;
  }
  ComBstr(const ComBstr&) = delete;
  ComBstr& operator=(const ComBstr&) = delete;
  ~ComBstr() { reset(); }

  // Takes a copy of the text; fails with E_OUTOFMEMORY.
  static ComBstr FromText(std::u16string_view text);

  // For out-parameters: the previous string is freed before the address goes out.
  BSTR* put() noexcept {
    reset();
    return &text_;
  }
  BSTR get() const noexcept { return text_; }
  // Hands the string to the caller, who must free it.
  BSTR detach() noexcept;
  void reset() noexcept;
  // The text; a null BSTR is the empty text, as automation treats it.
  std::u16string_view View() const noexcept;

 private:
  BSTR text_ = nullptr;
};

// A COM or automation call answered a failure: the platform's system error for the call's
// HRESULT, naming the call.
class EComError : public platform::EOSError {
 public:
  EComError(HRESULT result, std::u16string_view call);
  HRESULT Result() const noexcept { return static_cast<HRESULT>(ErrorCode()); }
  const std::u16string& Call() const noexcept { return call_; }

 private:
  std::u16string call_;
};

// Raises EComError when `result` is a failure; success codes (S_FALSE too) pass.
inline void CheckHResult(HRESULT result, std::u16string_view call) {
  if (FAILED(result)) throw EComError(result, call);
}

}  // namespace shell
