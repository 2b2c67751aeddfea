// The members of object and function values: accessors, keys, user data, array length,
// and calling a function from the program.

#include <utility>
#include <vector>

#include "script_natives.h"
#include "v8_contexts.h"
#include "v8_values.h"

namespace standin::script {
namespace {

V8Value* Live(TCefv8Value* self, const char* member) { return LiveValue(self, member); }

// [object] -> [array of its own enumerable keys]
duk_ret_t OwnKeys(duk_context* c) {
  duk_push_array(c);
  duk_enum(c, 0, DUK_ENUM_OWN_PROPERTIES_ONLY);
  for (duk_uarridx_t i = 0; duk_next(c, -1, 0); ++i) duk_put_prop_index(c, 1, i);
  duk_pop(c);
  return 1;
}

int32_t AppendKeys(TCefv8Value* self, TCefStringList keys) {
  duk_context* ctx = PushedValue(self, "v8value.get_keys");
  if (!ctx) return 0;
  if (!duk_is_object(ctx, -1)) {
    duk_pop(ctx);
    return 0;
  }
  if (!Protected(ctx, 1, 1, [](duk_context* c) { return OwnKeys(c); })) {
    duk_pop(ctx);
    return 0;
  }
  for (duk_size_t i = 0, n = duk_get_length(ctx, -1); i < n; ++i) {
    duk_get_prop_index(ctx, -1, static_cast<duk_uarridx_t>(i));
    ListAppend(keys, TextAt(ctx, -1));
    duk_pop(ctx);
  }
  duk_pop(ctx);
  return 1;
}

// Everything a call needs, taken over from the program's arguments.
struct Call {
  ScriptContext* context = nullptr;  // the context named by the program, if any
  bool named_context = false;
  TCefv8Value* object = nullptr;
  uint32_t count = 0;
  TCefv8Value* const* arguments = nullptr;

  // The references that came with the receiver and the arguments, when they are not used.
  void ReleaseAll() {
    ReleaseArgument(std::exchange(object, nullptr), "receiver");
    for (uint32_t i = 0; i < count; ++i) ReleaseArgument(arguments[i], "argument");
    count = 0;
  }
};

// Pushes [function, this, arguments...] on thread, taking over every reference of the call.
void PushCall(duk_context* thread, V8Value& function, Call& call) {
  function.Push(thread);
  if (call.object)
    PushArgument(thread, std::exchange(call.object, nullptr), "v8value.execute_function");
  else
    duk_push_global_object(thread);
  for (uint32_t i = 0; i < call.count; ++i) PushArgument(thread, call.arguments[i], "v8value.execute_function");
  call.count = 0;
}

// The context a call runs in: the one the program named, else the calling (or entered)
// context, else the one the function came from; null for none.
ScriptContext* ContextForCall(const V8Value& function, const Call& call) {
  if (call.named_context) return call.context;
  if (ScriptContext* calling = CallingContext()) return calling;
  return ContextById(function.origin());
}

// Calls the function: this is the receiver or, for none, the global of the context the call
// runs in. Answers 1 when the call did not throw.
TCefBool Execute(V8Value* function, Call call, TCefv8Value** retval, TCefString* exception) {
  if (retval) *retval = nullptr;
  if (call.named_context && (!call.context || !call.context->thread())) function = nullptr;
  ScriptContext* context = function ? ContextForCall(*function, call) : nullptr;
  // Within a script (or an entered context) the call runs on that thread; else on its own.
  bool own = call.named_context || (context && !CallingContext());
  duk_context* thread = !function ? nullptr : own ? context->thread() : ActiveThread();
  if (!thread || !duk_check_stack(thread, static_cast<duk_idx_t>(call.count) + 8)) {
    call.ReleaseAll();
    return 0;
  }
  duk_idx_t base = duk_get_top(thread);
  PushCall(thread, *function, call);
  duk_idx_t argc = duk_get_top(thread) - base - 2;
  if (!duk_is_function(thread, base)) {
    duk_set_top(thread, base);
    return 0;
  }
  RunningScope scope(context, thread);
  if (duk_pcall_method(thread, argc) != DUK_EXEC_SUCCESS) {
    Outcome error = TakeError(thread, u"", 0);
    if (exception) Assign(exception, error.text);
    return 0;
  }
  if (retval) *retval = NewValue(thread, -1, context ? context->id() : 0);
  duk_pop(thread);
  return 1;
}

void InstallAccessMembers(TCefv8Value& w) {
  w.set_value_byaccessor = [](TCefv8Value* self, const TCefString* key, int32_t, int32_t attribute) CEF_CALLBACK {
    // The access-control settings have no meaning for a single-realm page; they are accepted.
    duk_context* ctx = PushedValue(self, "v8value.set_value_byaccessor");
    if (!ctx) return TCefBool{0};
    TCefBool done = DefineAccessorProperty(ctx, -1, Read(key), attribute) ? 1 : 0;
    duk_pop(ctx);
    return done;
  };
  w.get_keys = [](TCefv8Value* self, TCefStringList keys) CEF_CALLBACK { return AppendKeys(self, keys); };
  w.get_user_data = [](TCefv8Value* self) CEF_CALLBACK -> TCefv8Value* {
    duk_context* ctx = PushedValue(self, "v8value.get_user_data");
    if (!ctx) return nullptr;
    Attachment* attachment = AttachmentOf(ctx, -1, false);
    duk_pop(ctx);
    return attachment ? attachment->user_data.Hand<TCefv8Value>() : nullptr;
  };
  w.get_array_length = [](TCefv8Value* self) CEF_CALLBACK -> int32_t {
    duk_context* ctx = PushedValue(self, "v8value.get_array_length");
    if (!ctx) return 0;
    int32_t length = duk_is_array(ctx, -1) ? static_cast<int32_t>(duk_get_length(ctx, -1)) : 0;
    duk_pop(ctx);
    return length;
  };
}

void InstallCallMembers(TCefv8Value& w) {
  w.execute_function = [](TCefv8Value* self, TCefv8Value* object, uint32_t count, TCefv8Value* const* arguments,
                          TCefv8Value** retval, TCefString* exception) CEF_CALLBACK {
    Call call{nullptr, false, object, arguments ? count : 0, arguments};
    return Execute(Live(self, "v8value.execute_function"), call, retval, exception);
  };
  w.execute_function_with_context = [](TCefv8Value* self, TCefv8Context* context, TCefv8Value* object,
                                       uint32_t count, TCefv8Value* const* arguments, TCefv8Value** retval,
                                       TCefString* exception) CEF_CALLBACK {
    // The context came with a reference, held for the length of the call. Without one the
    // call runs as execute_function does.
    ScriptContext* named = context ? Self<ScriptContext>(context, "v8value.execute_function_with_context") : nullptr;
    ObjRef<ScriptContext> hold = ObjRef<ScriptContext>::Adopt(named);
    if (context && !named) ReleaseArgument(context, "context");
    Call call{named, context != nullptr, object, arguments ? count : 0, arguments};
    return Execute(Live(self, "v8value.execute_function_with_context"), call, retval, exception);
  };
}

}  // namespace

void InstallObjectMembers(TCefv8Value& w) { InstallAccessMembers(w); }

void InstallFunctionMembers(TCefv8Value& w) {
  InstallCallMembers(w);
  w.get_function_name = [](TCefv8Value* self) CEF_CALLBACK -> TCefStringUserFree {
    duk_context* ctx = PushedValue(self, "v8value.get_function_name");
    if (!ctx) return nullptr;
    std::u16string name;
    if (Attachment* attachment = AttachmentOf(ctx, -1, false); attachment && attachment->handler) {
      name = attachment->name;
    } else if (duk_is_function(ctx, -1)) {
      duk_dup(ctx, -1);
      if (Protected(ctx, 1, 1, [](duk_context* c) { duk_get_prop_string(c, 0, "name"); return 1; }))
        name = TextAt(ctx, -1);
      duk_pop(ctx);
    }
    duk_pop(ctx);
    return UserFree(name);
  };
  w.get_function_handler = [](TCefv8Value* self) CEF_CALLBACK -> TCefv8Handler* {
    duk_context* ctx = PushedValue(self, "v8value.get_function_handler");
    if (!ctx) return nullptr;
    Attachment* attachment = AttachmentOf(ctx, -1, false);
    duk_pop(ctx);
    return attachment ? attachment->handler.Hand<TCefv8Handler>() : nullptr;
  };
}

}  // namespace standin::script
