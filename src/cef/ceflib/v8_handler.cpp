#include "cef/ceflib/v8_handler.h"

#include "cef/ceflib/guard.h"
#include "cef/ceflib/v8_context.h"

namespace cef {
namespace {

// Native functions answer all bits set for true.
constexpr TCefBool kNativeTrue = -1;
constexpr TCefBool kNativeFalse = 0;

// One native call from the runtime: the arguments and the receiver are wrapped, dispatch
// makes the call, and its value and exception text go back to the runtime. A failure is
// reported, writes nothing back and answers false; the references the call brought are
// released either way.
template <class Dispatch>
TCefBool NativeCall(TCefv8Value* object, uint32_t argumentCount, TCefv8Value* const* arguments,
                    TCefv8Value** retval, TCefString* exception, Dispatch&& dispatch) {
  CefIncomingArguments incoming(argumentCount, arguments);
  IncomingRef<TCefv8Value> receiver(object);
  return Guarded(kNativeFalse, [&] {
    TCefv8ValueArray values = incoming.Take();
    Ref<ICefv8Value> obj = receiver.Take<TCefv8ValueRef>();
    Ref<ICefv8Value> result;
    std::u16string error;
    bool handled = dispatch(obj, values, result, error);
    CefV8HandOver(result, error, retval, exception);
    return handled ? kNativeTrue : kNativeFalse;
  });
}

}  // namespace

TCefv8HandlerOwn::TCefv8HandlerOwn() : TCefBaseOwn(sizeof(TCefv8Handler)) {
  auto* handler = Struct<TCefv8Handler>();
  handler->execute = &cef_execute;
  handler->execute_with_context = &cef_execute_with_context;
}

bool TCefv8HandlerOwn::Execute(const std::u16string&, const Ref<ICefv8Value>&, const TCefv8ValueArray&,
                               Ref<ICefv8Value>&, std::u16string&) {
  return false;
}

bool TCefv8HandlerOwn::ExecuteWithContext(const Ref<ICefv8Context>&, const Ref<ICefv8Value>&,
                                          const TCefv8ValueArray&, Ref<ICefv8Value>&, std::u16string&) {
  return false;
}

void* TCefv8HandlerOwn::FindInterface(const Guid& iid) noexcept {
  if (void* found = base::InterfaceFor<ICefv8Handler>(this, iid)) return found;
  return TCefBaseOwn::FindInterface(iid);
}

TCefBool CEF_CALLBACK TCefv8HandlerOwn::cef_execute(TCefv8Handler* self, const TCefString* name,
                                                    TCefv8Value* object, uint32_t argumentCount,
                                                    TCefv8Value* const* arguments, TCefv8Value** retval,
                                                    TCefString* exception) {
  return NativeCall(object, argumentCount, arguments, retval, exception,
                    [&](const Ref<ICefv8Value>& obj, const TCefv8ValueArray& values, Ref<ICefv8Value>& result,
                        std::u16string& error) {
                      return Self<TCefv8HandlerOwn>(self)->Execute(CefStringRead(name), obj, values, result, error);
                    });
}

TCefBool CEF_CALLBACK TCefv8HandlerOwn::cef_execute_with_context(TCefv8Handler* self, TCefv8Context* context,
                                                                 TCefv8Value* object, uint32_t argumentCount,
                                                                 TCefv8Value* const* arguments,
                                                                 TCefv8Value** retval, TCefString* exception) {
  IncomingRef<TCefv8Context> incoming(context);
  return NativeCall(object, argumentCount, arguments, retval, exception,
                    [&](const Ref<ICefv8Value>& obj, const TCefv8ValueArray& values, Ref<ICefv8Value>& result,
                        std::u16string& error) {
                      Ref<ICefv8Context> wrapped = incoming.Take<TCefv8ContextRef>();
                      return Self<TCefv8HandlerOwn>(self)->ExecuteWithContext(wrapped, obj, values, result, error);
                    });
}

using H = TCefv8Handler;

Ref<ICefv8Handler> TCefv8HandlerRef::UnWrap(TCefv8Handler* data) { return UnWrapAs<TCefv8HandlerRef, ICefv8Handler>(data); }

bool TCefv8HandlerRef::Execute(const std::u16string& name, const Ref<ICefv8Value>& obj,
                               const TCefv8ValueArray& arguments, Ref<ICefv8Value>& retval,
                               std::u16string& exception) {
  CefOutgoingCall call(arguments);
  bool handled = CallBool(&H::execute, CefStringArg(name), CefWrapAs(obj), call.Count(), call.Block(),
                          call.ReturnSlot(), call.ExceptionRecord());
  call.Finish(retval, exception);
  return handled;
}

bool TCefv8HandlerRef::ExecuteWithContext(const Ref<ICefv8Context>& context, const Ref<ICefv8Value>& obj,
                                          const TCefv8ValueArray& arguments, Ref<ICefv8Value>& retval,
                                          std::u16string& exception) {
  CefOutgoingCall call(arguments);
  bool handled = CallBool(&H::execute_with_context, CefWrapAs(context), CefWrapAs(obj),
                          call.Count(), call.Block(), call.ReturnSlot(), call.ExceptionRecord());
  call.Finish(retval, exception);
  return handled;
}

}  // namespace cef
