#pragma once
// Property accessors: program objects that compute the properties of a script object
// which the runtime created with them.

#include <functional>
#include <string>

#include "cef/ceflib/base_own.h"

namespace cef {

class ICefv8Value;

// The getter is called with (name, obj, out value, exception), the setter with (name, obj,
// value, exception); each answers whether it handled the property.
using TCefFastV8AccessorGetterProc = std::function<bool(const std::u16string& name, const Ref<ICefv8Value>& obj,
                                                        Ref<ICefv8Value>& value, const std::u16string& exception)>;
using TCefFastV8AccessorSetterProc =
    std::function<bool(const std::u16string& name, const Ref<ICefv8Value>& obj, const Ref<ICefv8Value>& value,
                       const std::u16string& exception)>;

class ICefV8Accessor : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{DCA6D4A2-726A-4E24-AA64-5E8C731D868A}");
  using Parent = ICefBase;

  // The exception text is the runtime's, for reading only.
  virtual bool Get(const std::u16string& name, const Ref<ICefv8Value>& obj, Ref<ICefv8Value>& value,
                   const std::u16string& exception) = 0;
  virtual bool Set(const std::u16string& name, const Ref<ICefv8Value>& obj, const Ref<ICefv8Value>& value,
                   const std::u16string& exception) = 0;
};
template <>
struct CefWireOf<ICefV8Accessor> {
  using type = TCefV8Accessor;
};

// An accessor the runtime calls for an object's properties. The base handles none: Get
// clears value and answers false, Set answers false.
class TCefV8AccessorOwn : public TCefBaseOwn, public virtual ICefV8Accessor {
 public:
  TCefV8AccessorOwn();

  bool Get(const std::u16string& name, const Ref<ICefv8Value>& obj, Ref<ICefv8Value>& value,
           const std::u16string& exception) override;
  bool Set(const std::u16string& name, const Ref<ICefv8Value>& obj, const Ref<ICefv8Value>& value,
           const std::u16string& exception) override;

 protected:
  void* FindInterface(const Guid& iid) noexcept override;

 private:
  static TCefBool CEF_CALLBACK cef_get(TCefV8Accessor* self, const TCefString* name, TCefv8Value* object,
                                       TCefv8Value** retval, TCefString* exception);
  static TCefBool CEF_CALLBACK cef_set(TCefV8Accessor* self, const TCefString* name, TCefv8Value* object,
                                       TCefv8Value* value, TCefString* exception);
};

// An accessor that calls procedures instead of being derived; either may be empty.
class TCefFastV8Accessor : public TCefV8AccessorOwn {
 public:
  TCefFastV8Accessor(TCefFastV8AccessorGetterProc getter, TCefFastV8AccessorSetterProc setter);

  bool Get(const std::u16string& name, const Ref<ICefv8Value>& obj, Ref<ICefv8Value>& value,
           const std::u16string& exception) override;
  bool Set(const std::u16string& name, const Ref<ICefv8Value>& obj, const Ref<ICefv8Value>& value,
           const std::u16string& exception) override;

 private:
  TCefFastV8AccessorGetterProc FGetter;
  TCefFastV8AccessorSetterProc FSetter;
};

}  // namespace cef
