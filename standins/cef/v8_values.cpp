// Value objects and the creator exports of values. A value made outside any script belongs
// to the realm of the context entered with enter, else to the heap's own.

#include "v8_values.h"

#include "script_natives.h"
#include "v8_contexts.h"

namespace standin::script {

V8Value::V8Value(uint32_t slot, uint32_t origin) : slot_(slot), origin_(origin), generation_(HeapGeneration()) {
  InstallValueMembers(wire_);
}

bool V8Value::Push(duk_context* ctx) const {
  if (!alive()) return false;
  PushKept(ctx, slot_);
  return true;
}

void V8Value::Retire() noexcept {
  if (alive()) Forget(slot_);
}

TCefv8Value* NewValue(duk_context* ctx, duk_idx_t idx, uint32_t origin) {
  if (!ctx || !HeapAlive()) return nullptr;
  return Create<V8Value>(Keep(ctx, idx), origin)->wire();
}

TCefv8Value* NewValue(duk_context* ctx, duk_idx_t idx) {
  ScriptContext* calling = CallingContext();
  return NewValue(ctx, idx, calling ? calling->id() : 0);
}

bool PushProgramValue(duk_context* ctx, TCefv8Value* value, const char* member) {
  if (!value) return false;
  V8Value* v = Self<V8Value>(value, member);
  if (v && v->Push(ctx)) return true;
  if (v) RecordError(std::string(member) + ": a value of a heap that has gone");
  return false;
}

bool PushArgument(duk_context* ctx, TCefv8Value* value, const char* member) {
  bool pushed = PushProgramValue(ctx, value, member);
  if (!pushed) duk_push_undefined(ctx);
  ReleaseArgument(value, member);
  return pushed;
}

}  // namespace standin::script

using namespace standin;
using namespace standin::script;

namespace {

// Makes a value on the active thread with push (which leaves one value and answers whether
// it made it) and hands it to the program with one reference.
template <class Push>
TCefv8Value* Make(const char* exportName, Push push) {
  if (Enter(exportName)) return nullptr;
  duk_context* ctx = ActiveThread();
  if (!ctx) return nullptr;
  TCefv8Value* value = push(ctx) ? NewValue(ctx, -1) : nullptr;
  duk_pop(ctx);
  return value;
}

// Milliseconds since 1970 of a UTC time record.
double TimeValue(duk_context* ctx, const TCefTime& t) {
  duk_time_components c{};
  c.year = t.year;
  c.month = t.month - 1;
  c.day = t.day_of_month;
  c.hours = t.hour;
  c.minutes = t.minute;
  c.seconds = t.second;
  c.milliseconds = t.millisecond;
  return duk_components_to_time(ctx, &c);
}

// An object, with the program's user data and accessor attached when given.
bool PushObject(duk_context* ctx, Held userData, Held accessor) {
  duk_push_object(ctx);
  if (userData || accessor) Attach(ctx, -1, {{}, {}, std::move(accessor), std::move(userData)});
  return true;
}

}  // namespace

TCefv8Value* cef_v8value_create_undefined() {
  return Make("cef_v8value_create_undefined", [](duk_context* ctx) {
    duk_push_undefined(ctx);
    return true;
  });
}

TCefv8Value* cef_v8value_create_null() {
  return Make("cef_v8value_create_null", [](duk_context* ctx) {
    duk_push_null(ctx);
    return true;
  });
}

TCefv8Value* cef_v8value_create_bool(TCefBool value) {
  return Make("cef_v8value_create_bool", [value](duk_context* ctx) {
    duk_push_boolean(ctx, value != 0);
    return true;
  });
}

TCefv8Value* cef_v8value_create_int(int32_t value) {
  return Make("cef_v8value_create_int", [value](duk_context* ctx) {
    duk_push_int(ctx, value);
    return true;
  });
}

TCefv8Value* cef_v8value_create_double(double value) {
  return Make("cef_v8value_create_double", [value](duk_context* ctx) {
    duk_push_number(ctx, value);
    return true;
  });
}

TCefv8Value* cef_v8value_create_date(const TCefTime* date) {
  if (!date) {
    Enter("cef_v8value_create_date");
    return nullptr;
  }
  TCefTime utc = *date;
  return Make("cef_v8value_create_date", [utc](duk_context* ctx) {
    // The realm's own Date, so that the page sees an instance of it.
    duk_push_number(ctx, TimeValue(ctx, utc));
    return Protected(ctx, 1, 1, [](duk_context* c) {
      duk_get_global_string(c, "Date");
      duk_dup(c, 0);
      duk_new(c, 1);
      return 1;
    });
  });
}

TCefv8Value* cef_v8value_create_string(const TCefString* value) {
  std::u16string text = Read(value);
  return Make("cef_v8value_create_string", [&text](duk_context* ctx) {
    PushText(ctx, text);
    return true;
  });
}

TCefv8Value* cef_v8value_create_object(TCefv8Value* user_data) {
  Held data(user_data, "user data");
  return Make("cef_v8value_create_object",
              [&](duk_context* ctx) { return PushObject(ctx, std::move(data), {}); });
}

TCefv8Value* cef_v8value_create_object_with_accessor(TCefv8Value* user_data, TCefV8Accessor* accessor) {
  Held data(user_data, "user data");
  Held held(accessor, "accessor");
  return Make("cef_v8value_create_object_with_accessor",
              [&](duk_context* ctx) { return PushObject(ctx, std::move(data), std::move(held)); });
}

TCefv8Value* cef_v8value_create_array() {
  return Make("cef_v8value_create_array", [](duk_context* ctx) {
    duk_push_array(ctx);
    return true;
  });
}

TCefv8Value* cef_v8value_create_function(const TCefString* name, TCefv8Handler* handler) {
  Held held(handler, "function handler");
  std::u16string text = Read(name);
  return Make("cef_v8value_create_function", [&](duk_context* ctx) {
    PushHandlerFunction(ctx, std::move(text), std::move(held));
    return true;
  });
}
