#pragma once
// Script values: the program's view of the runtime's JavaScript values, the creators of new
// values, and what the native-call paths share for moving values across in both directions.

#include <cstdint>
#include <string>
#include <vector>

#include "cef/ceflib/date_time.h"
#include "cef/ceflib/v8_accessor.h"
#include "cef/ceflib/wrapper_support.h"

namespace cef {

class ICefv8Handler;
class ICefv8Context;

// The arguments of a native function call, in order; an element may be null.
using TCefv8ValueArray = std::vector<Ref<ICefv8Value>>;

class ICefv8Value : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{52319B8D-75A8-422C-BD4B-16FA08CC7F42}");
  using Parent = ICefBase;

  virtual bool IsUndefined() = 0;
  virtual bool IsNull() = 0;
  virtual bool IsBool() = 0;
  virtual bool IsInt() = 0;
  virtual bool IsDouble() = 0;
  virtual bool IsDate() = 0;
  virtual bool IsString() = 0;
  virtual bool IsObject() = 0;
  virtual bool IsArray() = 0;
  virtual bool IsFunction() = 0;
  // A null value goes to the runtime as null.
  virtual bool IsSame(const Ref<ICefv8Value>& that) = 0;
  virtual bool GetBoolValue() = 0;
  virtual int32_t GetIntValue() = 0;
  virtual double GetDoubleValue() = 0;
  // The runtime's UTC time as a local date-time value.
  virtual TDateTime GetDateValue() = 0;
  virtual std::u16string GetStringValue() = 0;
  virtual bool HasValueByKey(const std::u16string& key) = 0;
  virtual bool HasValueByIndex(int32_t index) = 0;
  virtual bool DeleteValueByKey(const std::u16string& key) = 0;
  virtual bool DeleteValueByIndex(int32_t index) = 0;
  virtual Ref<ICefv8Value> GetValueByKey(const std::u16string& key) = 0;
  virtual Ref<ICefv8Value> GetValueByIndex(int32_t index) = 0;
  virtual bool SetValueByKey(const std::u16string& key, const Ref<ICefv8Value>& value) = 0;
  virtual bool SetValueByIndex(int32_t index, const Ref<ICefv8Value>& value) = 0;
  // The access-control and property-attribute codes are the runtime's, passed through.
  virtual bool SetValueByAccessor(const std::u16string& key, int32_t settings, int32_t attribute) = 0;
  // Appends the keys to keys, which is not cleared first; answers the runtime's own count.
  virtual int32_t GetKeys(std::vector<std::u16string>& keys) = 0;
  virtual Ref<ICefv8Value> GetUserData() = 0;
  virtual int32_t GetArrayLength() = 0;
  virtual std::u16string GetFunctionName() = 0;
  virtual Ref<ICefv8Handler> GetFunctionHandler() = 0;
  // Calls the function with obj as its receiver. retval gets the result (null for none)
  // and exception the runtime's exception text (empty for none).
  virtual bool ExecuteFunction(const Ref<ICefv8Value>& obj, const TCefv8ValueArray& arguments,
                               Ref<ICefv8Value>& retval, std::u16string& exception) = 0;
  virtual bool ExecuteFunctionWithContext(const Ref<ICefv8Context>& context, const Ref<ICefv8Value>& obj,
                                          const TCefv8ValueArray& arguments, Ref<ICefv8Value>& retval,
                                          std::u16string& exception) = 0;
};
template <>
struct CefWireOf<ICefv8Value> {
  using type = TCefv8Value;
};

class TCefv8ValueRef : public TCefRefOf<ICefv8Value> {
 public:
  using TCefRefOf::TCefRefOf;
  static Ref<ICefv8Value> UnWrap(TCefv8Value* data);

  // New values from the runtime; each answers null when the runtime makes none.
  static Ref<ICefv8Value> CreateUndefined();
  static Ref<ICefv8Value> CreateNull();
  static Ref<ICefv8Value> CreateBool(bool value);
  static Ref<ICefv8Value> CreateInt(int32_t value);
  static Ref<ICefv8Value> CreateDouble(double value);
  static Ref<ICefv8Value> CreateDate(TDateTime value);
  static Ref<ICefv8Value> CreateString(const std::u16string& str);
  static Ref<ICefv8Value> CreateObject(const Ref<ICefv8Value>& UserData);
  static Ref<ICefv8Value> CreateObjectWithAccessor(const Ref<ICefv8Value>& UserData,
                                                   const Ref<ICefV8Accessor>& Accessor);
  // An object whose properties a new TCefFastV8Accessor over getter and setter computes;
  // the accessor lives as long as the runtime's object holds it.
  static Ref<ICefv8Value> CreateObjectWithAccessorProc(const Ref<ICefv8Value>& UserData,
                                                       TCefFastV8AccessorGetterProc getter,
                                                       TCefFastV8AccessorSetterProc setter);
  static Ref<ICefv8Value> CreateArray();
  static Ref<ICefv8Value> CreateFunction(const std::u16string& name, const Ref<ICefv8Handler>& handler);

  bool IsUndefined() override;
  bool IsNull() override;
  bool IsBool() override;
  bool IsInt() override;
  bool IsDouble() override;
  bool IsDate() override;
  bool IsString() override;
  bool IsObject() override;
  bool IsArray() override;
  bool IsFunction() override;
  bool IsSame(const Ref<ICefv8Value>& that) override;
  bool GetBoolValue() override;
  int32_t GetIntValue() override;
  double GetDoubleValue() override;
  TDateTime GetDateValue() override;
  std::u16string GetStringValue() override;
  bool HasValueByKey(const std::u16string& key) override;
  bool HasValueByIndex(int32_t index) override;
  bool DeleteValueByKey(const std::u16string& key) override;
  bool DeleteValueByIndex(int32_t index) override;
  Ref<ICefv8Value> GetValueByKey(const std::u16string& key) override;
  Ref<ICefv8Value> GetValueByIndex(int32_t index) override;
  bool SetValueByKey(const std::u16string& key, const Ref<ICefv8Value>& value) override;
  bool SetValueByIndex(int32_t index, const Ref<ICefv8Value>& value) override;
  bool SetValueByAccessor(const std::u16string& key, int32_t settings, int32_t attribute) override;
  int32_t GetKeys(std::vector<std::u16string>& keys) override;
  Ref<ICefv8Value> GetUserData() override;
  int32_t GetArrayLength() override;
  std::u16string GetFunctionName() override;
  Ref<ICefv8Handler> GetFunctionHandler() override;
  bool ExecuteFunction(const Ref<ICefv8Value>& obj, const TCefv8ValueArray& arguments, Ref<ICefv8Value>& retval,
                       std::u16string& exception) override;
  bool ExecuteFunctionWithContext(const Ref<ICefv8Context>& context, const Ref<ICefv8Value>& obj,
                                  const TCefv8ValueArray& arguments, Ref<ICefv8Value>& retval,
                                  std::u16string& exception) override;
};

// The argument values of a native call, each with the reference it brought; those not
// yet wrapped are released when the owner goes.
class CefIncomingArguments {
 public:
  CefIncomingArguments(uint32_t count, TCefv8Value* const* arguments) noexcept
      : count_(arguments ? count : 0), arguments_(arguments) {}
  CefIncomingArguments(const CefIncomingArguments&) = delete;
  CefIncomingArguments& operator=(const CefIncomingArguments&) = delete;
  ~CefIncomingArguments();

  // Wraps every argument in order; a null pointer gives a null element.
  TCefv8ValueArray Take();

 private:
  uint32_t count_;
  uint32_t taken_ = 0;
  TCefv8Value* const* arguments_;
};

// A call into a runtime function or handler: the argument pointers (one reference each
// for the runtime, null for null elements), the return-value pointer and the exception
// record. The block and the record are the call's own and are freed on every way out.
class CefOutgoingCall {
 public:
  explicit CefOutgoingCall(const TCefv8ValueArray& arguments);
  CefOutgoingCall(const CefOutgoingCall&) = delete;
  CefOutgoingCall& operator=(const CefOutgoingCall&) = delete;
  ~CefOutgoingCall();

  uint32_t Count() const noexcept { return static_cast<uint32_t>(block_.size()); }
  // Null for an empty list.
  TCefv8Value* const* Block() const noexcept { return block_.empty() ? nullptr : block_.data(); }
  TCefv8Value** ReturnSlot() noexcept { return &returned_; }
  TCefString* ExceptionRecord() noexcept { return &exception_; }

  // After the call: the returned value (taking over its reference) and the exception text,
  // the record cleared.
  void Finish(Ref<ICefv8Value>& retval, std::u16string& exception);

 private:
  std::vector<TCefv8Value*> block_;
  TCefv8Value* returned_ = nullptr;
  TCefString exception_{};
};

// One native-call result for the runtime: the return-value pointer with one reference (or
// null) and a runtime-owned copy of the exception text (all zero when empty). Both are
// prepared first and written only together, so a failure writes nothing.
void CefV8HandOver(const Ref<ICefv8Value>& retval, const std::u16string& exception, TCefv8Value** retvalSlot,
                   TCefString* exceptionRecord);

}  // namespace cef
