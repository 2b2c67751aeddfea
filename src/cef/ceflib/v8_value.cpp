#include "cef/ceflib/v8_value.h"

#include <utility>

#include "cef/ceflib/v8_context.h"
#include "cef/ceflib/v8_handler.h"

namespace cef {

using V = TCefv8Value;
using Arg = CefStringArg;

Ref<ICefv8Value> TCefv8ValueRef::UnWrap(TCefv8Value* data) { return UnWrapAs<TCefv8ValueRef, ICefv8Value>(data); }

Ref<ICefv8Value> TCefv8ValueRef::CreateUndefined() { return UnWrap(CEF_API(cef_v8value_create_undefined)()); }
Ref<ICefv8Value> TCefv8ValueRef::CreateNull() { return UnWrap(CEF_API(cef_v8value_create_null)()); }
Ref<ICefv8Value> TCefv8ValueRef::CreateBool(bool value) {
  return UnWrap(CEF_API(cef_v8value_create_bool)(CefBool(value)));
}
Ref<ICefv8Value> TCefv8ValueRef::CreateInt(int32_t value) { return UnWrap(CEF_API(cef_v8value_create_int)(value)); }
Ref<ICefv8Value> TCefv8ValueRef::CreateDouble(double value) {
  return UnWrap(CEF_API(cef_v8value_create_double)(value));
}
Ref<ICefv8Value> TCefv8ValueRef::CreateDate(TDateTime value) {
  auto create = CEF_API(cef_v8value_create_date);
  TCefTime time = DateValueToCefTime(value);
  return UnWrap(create(&time));
}
Ref<ICefv8Value> TCefv8ValueRef::CreateString(const std::u16string& str) {
  return UnWrap(CEF_API(cef_v8value_create_string)(Arg(str)));
}

// The creators below look their export up before they hand anything over, so a missing
// runtime leaves no reference behind.
Ref<ICefv8Value> TCefv8ValueRef::CreateObject(const Ref<ICefv8Value>& UserData) {
  auto create = CEF_API(cef_v8value_create_object);
  return UnWrap(create(CefWrapAs(UserData)));
}

Ref<ICefv8Value> TCefv8ValueRef::CreateObjectWithAccessor(const Ref<ICefv8Value>& UserData,
                                                          const Ref<ICefV8Accessor>& Accessor) {
  auto create = CEF_API(cef_v8value_create_object_with_accessor);
  return UnWrap(create(CefWrapAs(UserData), CefWrapAs(Accessor)));
}

// The local reference to the accessor goes on return; the runtime's object keeps its own.
Ref<ICefv8Value> TCefv8ValueRef::CreateObjectWithAccessorProc(const Ref<ICefv8Value>& UserData,
                                                              TCefFastV8AccessorGetterProc getter,
                                                              TCefFastV8AccessorSetterProc setter) {
  Ref<ICefV8Accessor> accessor = base::MakeRef<TCefFastV8Accessor>(std::move(getter), std::move(setter));
  return CreateObjectWithAccessor(UserData, accessor);
}

Ref<ICefv8Value> TCefv8ValueRef::CreateArray() { return UnWrap(CEF_API(cef_v8value_create_array)()); }

Ref<ICefv8Value> TCefv8ValueRef::CreateFunction(const std::u16string& name, const Ref<ICefv8Handler>& handler) {
  auto create = CEF_API(cef_v8value_create_function);
  return UnWrap(create(Arg(name), CefWrapAs(handler)));
}

bool TCefv8ValueRef::IsUndefined() { return CallBool(&V::is_undefined); }
bool TCefv8ValueRef::IsNull() { return CallBool(&V::is_null); }
bool TCefv8ValueRef::IsBool() { return CallBool(&V::is_bool); }
bool TCefv8ValueRef::IsInt() { return CallBool(&V::is_int); }
bool TCefv8ValueRef::IsDouble() { return CallBool(&V::is_double); }
bool TCefv8ValueRef::IsDate() { return CallBool(&V::is_date); }
bool TCefv8ValueRef::IsString() { return CallBool(&V::is_string); }
bool TCefv8ValueRef::IsObject() { return CallBool(&V::is_object); }
bool TCefv8ValueRef::IsArray() { return CallBool(&V::is_array); }
bool TCefv8ValueRef::IsFunction() { return CallBool(&V::is_function); }
bool TCefv8ValueRef::IsSame(const Ref<ICefv8Value>& that) { return CallBool(&V::is_same, CefWrapAs(that)); }
bool TCefv8ValueRef::GetBoolValue() { return CallBool(&V::get_bool_value); }
int32_t TCefv8ValueRef::GetIntValue() { return Call(&V::get_int_value); }
double TCefv8ValueRef::GetDoubleValue() { return Call(&V::get_double_value); }
TDateTime TCefv8ValueRef::GetDateValue() { return CefTimeToDateValue(Call(&V::get_date_value)); }
std::u16string TCefv8ValueRef::GetStringValue() { return CallString(&V::get_string_value); }
bool TCefv8ValueRef::HasValueByKey(const std::u16string& key) { return CallBool(&V::has_value_bykey, Arg(key)); }
bool TCefv8ValueRef::HasValueByIndex(int32_t index) { return CallBool(&V::has_value_byindex, index); }
bool TCefv8ValueRef::DeleteValueByKey(const std::u16string& key) {
  return CallBool(&V::delete_value_bykey, Arg(key));
}
bool TCefv8ValueRef::DeleteValueByIndex(int32_t index) { return CallBool(&V::delete_value_byindex, index); }
Ref<ICefv8Value> TCefv8ValueRef::GetValueByKey(const std::u16string& key) {
  return UnWrap(Call(&V::get_value_bykey, Arg(key)));
}
Ref<ICefv8Value> TCefv8ValueRef::GetValueByIndex(int32_t index) { return UnWrap(Call(&V::get_value_byindex, index)); }
bool TCefv8ValueRef::SetValueByKey(const std::u16string& key, const Ref<ICefv8Value>& value) {
  return CallBool(&V::set_value_bykey, Arg(key), CefWrapAs(value));
}
bool TCefv8ValueRef::SetValueByIndex(int32_t index, const Ref<ICefv8Value>& value) {
  return CallBool(&V::set_value_byindex, index, CefWrapAs(value));
}
bool TCefv8ValueRef::SetValueByAccessor(const std::u16string& key, int32_t settings, int32_t attribute) {
  return CallBool(&V::set_value_byaccessor, Arg(key), settings, attribute);
}

int32_t TCefv8ValueRef::GetKeys(std::vector<std::u16string>& keys) {
  int32_t answer = 0;
  CefStringListRead([&](TCefStringList list) { answer = Call(&V::get_keys, list); }, keys);
  return answer;
}

Ref<ICefv8Value> TCefv8ValueRef::GetUserData() { return UnWrap(Call(&V::get_user_data)); }
int32_t TCefv8ValueRef::GetArrayLength() { return Call(&V::get_array_length); }
std::u16string TCefv8ValueRef::GetFunctionName() { return CallString(&V::get_function_name); }
Ref<ICefv8Handler> TCefv8ValueRef::GetFunctionHandler() {
  return TCefv8HandlerRef::UnWrap(Call(&V::get_function_handler));
}

bool TCefv8ValueRef::ExecuteFunction(const Ref<ICefv8Value>& obj, const TCefv8ValueArray& arguments,
                                     Ref<ICefv8Value>& retval, std::u16string& exception) {
  CefOutgoingCall call(arguments);
  bool handled = CallBool(&V::execute_function, CefWrapAs(obj), call.Count(), call.Block(), call.ReturnSlot(),
                          call.ExceptionRecord());
  call.Finish(retval, exception);
  return handled;
}

bool TCefv8ValueRef::ExecuteFunctionWithContext(const Ref<ICefv8Context>& context, const Ref<ICefv8Value>& obj,
                                                const TCefv8ValueArray& arguments, Ref<ICefv8Value>& retval,
                                                std::u16string& exception) {
  CefOutgoingCall call(arguments);
  bool handled = CallBool(&V::execute_function_with_context, CefWrapAs(context), CefWrapAs(obj),
                          call.Count(), call.Block(), call.ReturnSlot(), call.ExceptionRecord());
  call.Finish(retval, exception);
  return handled;
}

CefIncomingArguments::~CefIncomingArguments() {
  for (uint32_t i = taken_; i < count_; ++i) IncomingRef<V> unclaimed(arguments_[i]);
}

TCefv8ValueArray CefIncomingArguments::Take() {
  TCefv8ValueArray values;
  values.reserve(count_ - taken_);
  for (; taken_ < count_; ++taken_) values.push_back(TCefv8ValueRef::UnWrap(arguments_[taken_]));
  return values;
}

// Wrapping cannot fail, and the vector is reserved first: every reference added here
// reaches the runtime.
CefOutgoingCall::CefOutgoingCall(const TCefv8ValueArray& arguments) {
  block_.reserve(arguments.size());
  for (const Ref<ICefv8Value>& argument : arguments) block_.push_back(CefWrapAs(argument));
}

// Only a failure inside Finish leaves a returned value or exception text behind.
CefOutgoingCall::~CefOutgoingCall() {
  IncomingRef<V> unclaimed(returned_);
  auto clear = CEF_API_IF_LOADED(cef_string_clear);
  if (exception_.str && clear) clear(&exception_);
}

void CefOutgoingCall::Finish(Ref<ICefv8Value>& retval, std::u16string& exception) {
  retval = IncomingRef<V>(std::exchange(returned_, nullptr)).Take<TCefv8ValueRef>();
  exception = CefStringReadAndClear(&exception_);
}

void CefV8HandOver(const Ref<ICefv8Value>& retval, const std::u16string& exception, TCefv8Value** retvalSlot,
                   TCefString* exceptionRecord) {
  TCefString copy = exceptionRecord ? CefStringOwnedCopy(exception) : TCefString{};
  if (retvalSlot) *retvalSlot = CefWrapAs(retval);
  if (exceptionRecord) *exceptionRecord = copy;
}

}  // namespace cef
