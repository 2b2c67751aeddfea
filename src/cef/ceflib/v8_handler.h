#pragma once
// Native functions: the program's handlers that the runtime calls when a script calls a
// native function, and the wrapper over a handler that comes from the runtime.

#include <string>

#include "cef/ceflib/base_own.h"
#include "cef/ceflib/v8_value.h"

namespace cef {

class ICefv8Handler : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{F94CDC60-FDCB-422D-96D5-D2A775BD5D73}");
  using Parent = ICefBase;

  // A call of the native function name with obj as its receiver. retval and exception are
  // in-out: the call's value (null for none) and a script error text (empty for none).
  virtual bool Execute(const std::u16string& name, const Ref<ICefv8Value>& obj, const TCefv8ValueArray& arguments,
                       Ref<ICefv8Value>& retval, std::u16string& exception) = 0;
  // The same call, identified by the script context it runs in instead of a name.
  virtual bool ExecuteWithContext(const Ref<ICefv8Context>& context, const Ref<ICefv8Value>& obj,
                                  const TCefv8ValueArray& arguments, Ref<ICefv8Value>& retval,
                                  std::u16string& exception) = 0;
};
template <>
struct CefWireOf<ICefv8Handler> {
  using type = TCefv8Handler;
};

// The base of the program's native-function handlers. The base handles nothing: both
// operations answer false and leave retval and exception as they were.
class TCefv8HandlerOwn : public TCefBaseOwn, public virtual ICefv8Handler {
 public:
  TCefv8HandlerOwn();

  bool Execute(const std::u16string& name, const Ref<ICefv8Value>& obj, const TCefv8ValueArray& arguments,
               Ref<ICefv8Value>& retval, std::u16string& exception) override;
  bool ExecuteWithContext(const Ref<ICefv8Context>& context, const Ref<ICefv8Value>& obj,
                          const TCefv8ValueArray& arguments, Ref<ICefv8Value>& retval,
                          std::u16string& exception) override;

 protected:
  void* FindInterface(const Guid& iid) noexcept override;

 private:
  // Both answer -1 (all bits set) for true, as the runtime expects of native functions.
  static TCefBool CEF_CALLBACK cef_execute(TCefv8Handler* self, const TCefString* name, TCefv8Value* object,
                                           uint32_t argumentCount, TCefv8Value* const* arguments,
                                           TCefv8Value** retval, TCefString* exception);
  static TCefBool CEF_CALLBACK cef_execute_with_context(TCefv8Handler* self, TCefv8Context* context,
                                                        TCefv8Value* object, uint32_t argumentCount,
                                                        TCefv8Value* const* arguments, TCefv8Value** retval,
                                                        TCefString* exception);
};

// A handler of the runtime's, reached through a function value.
class TCefv8HandlerRef : public TCefRefOf<ICefv8Handler> {
 public:
  using TCefRefOf::TCefRefOf;
  static Ref<ICefv8Handler> UnWrap(TCefv8Handler* data);

  bool Execute(const std::u16string& name, const Ref<ICefv8Value>& obj, const TCefv8ValueArray& arguments,
               Ref<ICefv8Value>& retval, std::u16string& exception) override;
  bool ExecuteWithContext(const Ref<ICefv8Context>& context, const Ref<ICefv8Value>& obj,
                          const TCefv8ValueArray& arguments, Ref<ICefv8Value>& retval,
                          std::u16string& exception) override;
};

}  // namespace cef
