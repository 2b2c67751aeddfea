#include "cef/ceflib/v8_accessor.h"

#include <utility>

#include "cef/ceflib/guard.h"
#include "cef/ceflib/v8_value.h"

namespace cef {

TCefV8AccessorOwn::TCefV8AccessorOwn() : TCefBaseOwn(sizeof(TCefV8Accessor)) {
  auto* accessor = Struct<TCefV8Accessor>();
  accessor->get = &cef_get;
  accessor->set = &cef_set;
}

bool TCefV8AccessorOwn::Get(const std::u16string&, const Ref<ICefv8Value>&, Ref<ICefv8Value>& value,
                            const std::u16string&) {
  value = nullptr;
  return false;
}

bool TCefV8AccessorOwn::Set(const std::u16string&, const Ref<ICefv8Value>&, const Ref<ICefv8Value>&,
                            const std::u16string&) {
  return false;
}

void* TCefV8AccessorOwn::FindInterface(const Guid& iid) noexcept {
  if (void* found = base::InterfaceFor<ICefV8Accessor>(this, iid)) return found;
  return TCefBaseOwn::FindInterface(iid);
}

// Accessors answer 1 for true. The runtime's exception record is read, never written.
TCefBool CEF_CALLBACK TCefV8AccessorOwn::cef_get(TCefV8Accessor* self, const TCefString* name,
                                                 TCefv8Value* object, TCefv8Value** retval, TCefString* exception) {
  IncomingRef<TCefv8Value> incoming(object);
  return Guarded(TCefBool{0}, [&] {
    Ref<ICefv8Value> obj = incoming.Take<TCefv8ValueRef>();
    Ref<ICefv8Value> value;
    bool handled = Self<TCefV8AccessorOwn>(self)->Get(CefStringRead(name), obj, value, CefStringRead(exception));
    if (retval) *retval = CefWrapAs(value);
    return CefBool(handled);
  });
}

TCefBool CEF_CALLBACK TCefV8AccessorOwn::cef_set(TCefV8Accessor* self, const TCefString* name,
                                                 TCefv8Value* object, TCefv8Value* value, TCefString* exception) {
  IncomingRef<TCefv8Value> incomingObject(object);
  IncomingRef<TCefv8Value> incomingValue(value);
  return Guarded(TCefBool{0}, [&] {
    Ref<ICefv8Value> obj = incomingObject.Take<TCefv8ValueRef>();
    Ref<ICefv8Value> assigned = incomingValue.Take<TCefv8ValueRef>();
    return CefBool(Self<TCefV8AccessorOwn>(self)->Set(CefStringRead(name), obj, assigned, CefStringRead(exception)));
  });
}

TCefFastV8Accessor::TCefFastV8Accessor(TCefFastV8AccessorGetterProc getter, TCefFastV8AccessorSetterProc setter)
    : FGetter(std::move(getter)), FSetter(std::move(setter)) {}

bool TCefFastV8Accessor::Get(const std::u16string& name, const Ref<ICefv8Value>& obj, Ref<ICefv8Value>& value,
                             const std::u16string& exception) {
  value = nullptr;
  return FGetter ? FGetter(name, obj, value, exception) : false;
}

bool TCefFastV8Accessor::Set(const std::u16string& name, const Ref<ICefv8Value>& obj, const Ref<ICefv8Value>& value,
                             const std::u16string& exception) {
  return FSetter ? FSetter(name, obj, value, exception) : false;
}

}  // namespace cef
