// The 32 members of a value: its kind, its contents, its properties and, for functions,
// calls. Work that can reach script (getters, proxies, toString, calls) runs protected; a
// failure answers the member's neutral value.

#include <cmath>
#include <limits>

#include "script_natives.h"
#include "v8_contexts.h"
#include "v8_values.h"

namespace standin::script {
namespace {

// A question about the value that cannot reach script: test(ctx) reads the stack top.
template <class Test>
TCefBool Is(TCefv8Value* self, const char* member, Test test) {
  duk_context* ctx = PushedValue(self, member);
  if (!ctx) return 0;
  bool answer = test(ctx);
  duk_pop(ctx);
  return answer ? 1 : 0;
}

bool IsInt32(double d) {
  return std::isfinite(d) && d == std::trunc(d) && d >= std::numeric_limits<int32_t>::min() &&
         d <= std::numeric_limits<int32_t>::max();
}

// The time value of the Date at the top (the heap's own getTime, which any realm's Date
// answers and nothing else does); false when it is no Date.
bool TimeOf(duk_context* ctx, double& time) {
  duk_dup(ctx, -1);
  bool ok = Protected(ctx, 1, 1, [](duk_context* c) {
    PushStashed(c, "getTime");
    duk_dup(c, 0);
    duk_call_method(c, 0);
    return 1;
  });
  time = ok ? duk_get_number(ctx, -1) : 0.0;
  duk_pop(ctx);
  return ok;
}

bool IsDate(duk_context* ctx) {
  double time = 0;
  return duk_is_object(ctx, -1) && TimeOf(ctx, time);
}

TCefTime TimeRecord(duk_context* ctx, double time) {
  duk_time_components c{};
  duk_time_to_components(ctx, time, &c);
  return {static_cast<int32_t>(c.year),    static_cast<int32_t>(c.month) + 1, static_cast<int32_t>(c.weekday),
          static_cast<int32_t>(c.day),     static_cast<int32_t>(c.hours),     static_cast<int32_t>(c.minutes),
          static_cast<int32_t>(c.seconds), static_cast<int32_t>(c.milliseconds)};
}

// A coercion of the value at the top through body (which replaces the top with its result),
// read with read; fallback when it throws. The top is popped.
template <class Body, class Reader, class T>
T Coerced(duk_context* ctx, Body body, Reader read, T fallback) {
  bool ok = Protected(ctx, 1, 1, body);
  T answer = ok ? read(ctx) : fallback;
  duk_pop(ctx);
  return answer;
}

// A property operation on an object value: [object, ...extra] (pushed by prepare, which
// answers their count) are passed to body, which leaves one result for read(ctx, origin),
// unless it threw: then the answer is fallback. Values read come from the object's context.
template <class Prepare, class Body, class Reader, class T>
T OnObject(TCefv8Value* self, const char* member, Prepare prepare, Body body, Reader read, T fallback) {
  uint32_t origin = 0;
  duk_context* ctx = PushedValue(self, member, &origin);
  if (!ctx) return fallback;
  if (!duk_is_object(ctx, -1)) {
    duk_pop(ctx);
    return fallback;
  }
  duk_idx_t nargs = 1 + prepare(ctx);
  bool ok = Protected(ctx, nargs, 1, body);
  T answer = ok ? read(ctx, origin) : fallback;
  duk_pop(ctx);
  return answer;
}

TCefBool TrueAtTop(duk_context* ctx, uint32_t) { return duk_get_boolean(ctx, -1) ? 1 : 0; }
TCefv8Value* ValueAtTop(duk_context* ctx, uint32_t origin) { return NewValue(ctx, -1, origin); }

auto KeyPusher(const TCefString* key) {
  return [text = Read(key)](duk_context* ctx) {
    PushText(ctx, text);
    return 1;
  };
}

void InstallKindMembers(TCefv8Value& w) {
  w.is_undefined = [](TCefv8Value* self) CEF_CALLBACK {
    return Is(self, "v8value.is_undefined", [](duk_context* c) { return duk_is_undefined(c, -1) != 0; });
  };
  w.is_null = [](TCefv8Value* self) CEF_CALLBACK {
    return Is(self, "v8value.is_null", [](duk_context* c) { return duk_is_null(c, -1) != 0; });
  };
  w.is_bool = [](TCefv8Value* self) CEF_CALLBACK {
    return Is(self, "v8value.is_bool", [](duk_context* c) { return duk_is_boolean(c, -1) != 0; });
  };
  w.is_int = [](TCefv8Value* self) CEF_CALLBACK {
    return Is(self, "v8value.is_int",
              [](duk_context* c) { return duk_is_number(c, -1) && IsInt32(duk_get_number(c, -1)); });
  };
  w.is_double = [](TCefv8Value* self) CEF_CALLBACK {
    return Is(self, "v8value.is_double", [](duk_context* c) { return duk_is_number(c, -1) != 0; });
  };
  w.is_date = [](TCefv8Value* self) CEF_CALLBACK { return Is(self, "v8value.is_date", IsDate); };
  w.is_string = [](TCefv8Value* self) CEF_CALLBACK {
    return Is(self, "v8value.is_string",
              [](duk_context* c) { return duk_is_string(c, -1) && !duk_is_symbol(c, -1); });
  };
  w.is_object = [](TCefv8Value* self) CEF_CALLBACK {
    return Is(self, "v8value.is_object", [](duk_context* c) { return duk_is_object(c, -1) != 0; });
  };
  w.is_array = [](TCefv8Value* self) CEF_CALLBACK {
    return Is(self, "v8value.is_array", [](duk_context* c) { return duk_is_array(c, -1) != 0; });
  };
  w.is_function = [](TCefv8Value* self) CEF_CALLBACK {
    return Is(self, "v8value.is_function", [](duk_context* c) { return duk_is_function(c, -1) != 0; });
  };
  w.is_same = [](TCefv8Value* self, TCefv8Value* that) CEF_CALLBACK -> TCefBool {
    duk_context* ctx = PushedValue(self, "v8value.is_same");
    if (!ctx) {
      ReleaseArgument(that, "compared value");
      return 0;
    }
    bool pushed = PushArgument(ctx, that, "v8value.is_same");
    TCefBool same = pushed && duk_strict_equals(ctx, -1, -2) ? 1 : 0;
    duk_pop_2(ctx);
    return same;
  };
}

void InstallContentMembers(TCefv8Value& w) {
  w.get_bool_value = [](TCefv8Value* self) CEF_CALLBACK {
    return Is(self, "v8value.get_bool_value", [](duk_context* c) { return duk_to_boolean(c, -1) != 0; });
  };
  w.get_int_value = [](TCefv8Value* self) CEF_CALLBACK -> int32_t {
    duk_context* ctx = PushedValue(self, "v8value.get_int_value");
    if (!ctx) return 0;
    return Coerced(
        ctx, [](duk_context* c) { duk_to_int32(c, -1); return 1; },
        [](duk_context* c) { return static_cast<int32_t>(duk_get_int(c, -1)); }, int32_t{0});
  };
  w.get_double_value = [](TCefv8Value* self) CEF_CALLBACK -> double {
    duk_context* ctx = PushedValue(self, "v8value.get_double_value");
    if (!ctx) return 0.0;
    return Coerced(
        ctx, [](duk_context* c) { duk_to_number(c, -1); return 1; },
        [](duk_context* c) { return duk_get_number(c, -1); }, 0.0);
  };
  w.get_date_value = [](TCefv8Value* self) CEF_CALLBACK -> TCefTime {
    duk_context* ctx = PushedValue(self, "v8value.get_date_value");
    if (!ctx) return TCefTime{};
    double time = 0;
    bool date = duk_is_object(ctx, -1) && TimeOf(ctx, time) && std::isfinite(time);
    TCefTime record = date ? TimeRecord(ctx, time) : TCefTime{};
    duk_pop(ctx);
    return record;
  };
  w.get_string_value = [](TCefv8Value* self) CEF_CALLBACK -> TCefStringUserFree {
    duk_context* ctx = PushedValue(self, "v8value.get_string_value");
    if (!ctx) return nullptr;
    // Other kinds give what script's String() gives them.
    std::u16string text = StringOf(ctx, -1);
    duk_pop(ctx);
    return UserFree(text);
  };
}

void InstallKeyMembers(TCefv8Value& w) {
  w.has_value_bykey = [](TCefv8Value* self, const TCefString* key) CEF_CALLBACK {
    return OnObject(
        self, "v8value.has_value_bykey", KeyPusher(key),
        [](duk_context* c) { duk_push_boolean(c, duk_has_prop(c, 0)); return 1; }, TrueAtTop, TCefBool{0});
  };
  w.delete_value_bykey = [](TCefv8Value* self, const TCefString* key) CEF_CALLBACK {
    return OnObject(
        self, "v8value.delete_value_bykey", KeyPusher(key),
        [](duk_context* c) { duk_push_boolean(c, duk_del_prop(c, 0)); return 1; }, TrueAtTop, TCefBool{0});
  };
  w.get_value_bykey = [](TCefv8Value* self, const TCefString* key) CEF_CALLBACK {
    return OnObject(
        self, "v8value.get_value_bykey", KeyPusher(key),
        [](duk_context* c) { duk_get_prop(c, 0); return 1; }, ValueAtTop,
        static_cast<TCefv8Value*>(nullptr));
  };
  w.set_value_bykey = [](TCefv8Value* self, const TCefString* key, TCefv8Value* value) CEF_CALLBACK {
    TCefBool answer = OnObject(
        self, "v8value.set_value_bykey",
        [&](duk_context* ctx) {
          KeyPusher(key)(ctx);
          PushArgument(ctx, std::exchange(value, nullptr), "v8value.set_value_bykey");
          return 2;
        },
        [](duk_context* c) { duk_put_prop(c, 0); duk_push_true(c); return 1; }, TrueAtTop, TCefBool{0});
    // Not handed on: the object was no object, or the call failed before taking it.
    if (value) ReleaseArgument(value, "v8value.set_value_bykey");
    return answer;
  };
}

void InstallIndexMembers(TCefv8Value& w) {
  w.has_value_byindex = [](TCefv8Value* self, int32_t index) CEF_CALLBACK {
    if (index < 0) return TCefBool{0};
    return OnObject(
        self, "v8value.has_value_byindex",
        [index](duk_context* ctx) { duk_push_uint(ctx, static_cast<duk_uint_t>(index)); return 1; },
        [](duk_context* c) { duk_push_boolean(c, duk_has_prop(c, 0)); return 1; }, TrueAtTop, TCefBool{0});
  };
  w.delete_value_byindex = [](TCefv8Value* self, int32_t index) CEF_CALLBACK {
    if (index < 0) return TCefBool{0};
    return OnObject(
        self, "v8value.delete_value_byindex",
        [index](duk_context* ctx) { duk_push_uint(ctx, static_cast<duk_uint_t>(index)); return 1; },
        [](duk_context* c) { duk_push_boolean(c, duk_del_prop(c, 0)); return 1; }, TrueAtTop, TCefBool{0});
  };
  w.get_value_byindex = [](TCefv8Value* self, int32_t index) CEF_CALLBACK {
    if (index < 0) return static_cast<TCefv8Value*>(nullptr);
    return OnObject(
        self, "v8value.get_value_byindex",
        [index](duk_context* ctx) { duk_push_uint(ctx, static_cast<duk_uint_t>(index)); return 1; },
        [](duk_context* c) { duk_get_prop(c, 0); return 1; }, ValueAtTop, static_cast<TCefv8Value*>(nullptr));
  };
  w.set_value_byindex = [](TCefv8Value* self, int32_t index, TCefv8Value* value) CEF_CALLBACK {
    TCefBool answer = index < 0 ? 0 : OnObject(
        self, "v8value.set_value_byindex",
        [&](duk_context* ctx) {
          duk_push_uint(ctx, static_cast<duk_uint_t>(index));
          PushArgument(ctx, std::exchange(value, nullptr), "v8value.set_value_byindex");
          return 2;
        },
        [](duk_context* c) { duk_put_prop(c, 0); duk_push_true(c); return 1; }, TrueAtTop, TCefBool{0});
    if (value) ReleaseArgument(value, "v8value.set_value_byindex");
    return answer;
  };
}

}  // namespace

void InstallFunctionMembers(TCefv8Value& w);
void InstallObjectMembers(TCefv8Value& w);

void InstallValueMembers(TCefv8Value& w) {
  InstallKindMembers(w);
  InstallContentMembers(w);
  InstallKeyMembers(w);
  InstallIndexMembers(w);
  InstallObjectMembers(w);
  InstallFunctionMembers(w);
}

V8Value* LiveValue(TCefv8Value* self, const char* member) {
  if (Enter(member)) return nullptr;
  V8Value* value = Self<V8Value>(self, member);
  return value && value->alive() ? value : nullptr;
}

duk_context* PushedValue(TCefv8Value* self, const char* member, uint32_t* origin) {
  V8Value* value = LiveValue(self, member);
  duk_context* ctx = value ? ActiveThread() : nullptr;
  if (origin && value) *origin = value->origin();
  return ctx && value->Push(ctx) ? ctx : nullptr;
}

}  // namespace standin::script
