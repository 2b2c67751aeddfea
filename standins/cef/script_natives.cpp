// Native functions, accessor properties and user data: script calls that reach the
// program's handler and accessor structures, and the attachments that keep those
// structures for as long as their script objects live.

#include "script_natives.h"

#include <unordered_map>
#include <utility>
#include <vector>

#include "v8_values.h"

namespace standin::script {
namespace {

// The key a property getter or setter serves.
constexpr const char* kKeyKey = DUK_HIDDEN_SYMBOL("standinKey");
// How far up the prototype chain an accessor is looked for.
constexpr int kPrototypeDepth = 64;

// Attachments by the address of their object in the heap. Keyed by address rather than by
// a property, so that objects inheriting from an attached one (and its finalizer) do not
// pass for it.
std::unordered_map<const void*, Attachment>& Attachments() {
  static std::unordered_map<const void*, Attachment> attachments;
  return attachments;
}

Attachment* Find(const void* object) {
  auto it = Attachments().find(object);
  return it == Attachments().end() ? nullptr : &it->second;
}

// Drops an attachment; the program structures go at the end, once the map is consistent.
void Release(const void* object) noexcept {
  auto it = Attachments().find(object);
  if (it == Attachments().end()) return;
  Attachment gone = std::move(it->second);
  Attachments().erase(it);
}

// A borrowed runtime string over text.
TCefString View(const std::u16string& text) {
  return {const_cast<char16_t*>(text.data()), static_cast<uint32_t>(text.size()), nullptr};
}

// Reads an exception record the program filled and frees its characters through their dtor.
std::u16string TakeException(TCefString& exception) {
  std::u16string text = Read(&exception);
  if (exception.dtor && exception.str) exception.dtor(exception.str);
  exception = {};
  return text;
}

// Pushes the value the program answered (undefined for none, or when it was not one of
// ours) and releases the reference that came with it.
void PushAnswer(duk_context* ctx, TCefv8Value* answer, bool use) {
  if (!(use && answer && PushProgramValue(ctx, answer, "the answered value"))) duk_push_undefined(ctx);
  if (answer) ReleaseArgument(answer, "answered value");
}

// The C++ part of a call of a handler function: the function at fn, this at self, count
// arguments from 0. Answers true when the exception text was pushed.
bool CallAttachedHandler(duk_context* ctx, duk_idx_t fn, duk_idx_t self, duk_idx_t count) {
  Attachment* attachment = AttachmentOf(ctx, fn, false);
  if (!attachment || !attachment->handler) {
    duk_push_undefined(ctx);
    return false;
  }
  // Copies: the program may let go of the function while its handler runs.
  Held handler = attachment->handler;
  std::u16string name = attachment->name;
  return CallHandler(ctx, handler.as<TCefv8Handler>(), name, self, 0, count);
}

duk_ret_t HandlerTrampoline(duk_context* ctx) {
  duk_idx_t count = duk_get_top(ctx);
  duk_push_this(ctx);
  duk_push_current_function(ctx);
  if (CallAttachedHandler(ctx, count + 1, count, count)) ThrowMessageAtTop(ctx);
  return 1;
}

// What a program's handler or accessor answered, on the stack: the answer (or undefined),
// or, when it filled the exception record, the exception's text instead. True when the
// text was pushed, for the caller to throw.
bool PushOutcome(duk_context* ctx, TCefv8Value* answer, bool handled, TCefString& exception) {
  std::u16string message = TakeException(exception);
  if (message.empty()) {
    PushAnswer(ctx, answer, handled);
    return false;
  }
  PushAnswer(ctx, answer, false);  // lets the answer go
  duk_pop(ctx);
  PushText(ctx, message);
  return true;
}

// Stack: this at 0, the getter at 1, its key at 2. Answers true when the exception text was pushed.
bool AskGetter(duk_context* ctx) {
  Attachment* attachment = AttachmentOf(ctx, 0, true);
  if (!attachment || !attachment->accessor) {
    duk_push_undefined(ctx);
    return false;
  }
  Held accessor = attachment->accessor;
  auto* a = accessor.as<TCefV8Accessor>();
  std::u16string key = TextAt(ctx, 2);
  TCefString name = View(key);
  TCefv8Value* answer = nullptr;
  TCefString exception{};
  TCefBool got = a->get ? a->get(a, &name, NewValue(ctx, 0), &answer, &exception) : 0;
  return PushOutcome(ctx, answer, got != 0, exception);
}

duk_ret_t AccessorGet(duk_context* ctx) {
  duk_push_this(ctx);
  duk_push_current_function(ctx);
  duk_get_prop_string(ctx, 1, kKeyKey);
  if (AskGetter(ctx)) ThrowMessageAtTop(ctx);
  return 1;
}

// Stack: the new value at 0, this at 1, the setter at 2, its key at 3.
bool AskSetter(duk_context* ctx) {
  Attachment* attachment = AttachmentOf(ctx, 1, true);
  if (!attachment || !attachment->accessor) return false;
  Held accessor = attachment->accessor;
  auto* a = accessor.as<TCefV8Accessor>();
  std::u16string key = TextAt(ctx, 3);
  TCefString name = View(key);
  TCefString exception{};
  // An answer of 0 leaves the property as it was: nothing is stored beside the accessor.
  if (a->set) a->set(a, &name, NewValue(ctx, 1), NewValue(ctx, 0), &exception);
  std::u16string message = TakeException(exception);
  if (message.empty()) return false;
  PushText(ctx, message);
  return true;
}

duk_ret_t AccessorSet(duk_context* ctx) {
  duk_push_this(ctx);
  duk_push_current_function(ctx);
  duk_get_prop_string(ctx, 2, kKeyKey);
  if (AskSetter(ctx)) ThrowMessageAtTop(ctx);
  return 0;
}

// [object, key] -> defines the accessor property; throws when the object refuses it.
duk_ret_t DefineAccessor(duk_context* c, int32_t attribute) {
  duk_uint_t flags = DUK_DEFPROP_HAVE_GETTER | DUK_DEFPROP_HAVE_ENUMERABLE | DUK_DEFPROP_HAVE_CONFIGURABLE;
  duk_push_c_function(c, &AccessorGet, 0);
  duk_dup(c, 1);
  duk_put_prop_string(c, -2, kKeyKey);
  // A read-only property has no setter: writes are ignored (or refused in strict code).
  if (!(attribute & kReadOnly)) {
    duk_push_c_function(c, &AccessorSet, 1);
    duk_dup(c, 1);
    duk_put_prop_string(c, -2, kKeyKey);
    flags |= DUK_DEFPROP_HAVE_SETTER;
  }
  if (!(attribute & kDontEnum)) flags |= DUK_DEFPROP_ENUMERABLE;
  if (!(attribute & kDontDelete)) flags |= DUK_DEFPROP_CONFIGURABLE;
  duk_def_prop(c, 0, flags);
  return 0;
}

}  // namespace

void Attach(duk_context* ctx, duk_idx_t idx, Attachment attachment) {
  idx = duk_normalize_index(ctx, idx);
  Attachments()[duk_get_heapptr(ctx, idx)] = std::move(attachment);
  PushStashed(ctx, "finalizer");
  duk_set_finalizer(ctx, idx);
}

Attachment* AttachmentOf(duk_context* ctx, duk_idx_t idx, bool inherited) {
  if (!duk_is_object(ctx, idx)) return nullptr;
  duk_idx_t top = duk_get_top(ctx);
  duk_dup(ctx, idx);
  Attachment* found = Find(duk_get_heapptr(ctx, -1));
  for (int depth = 0; inherited && !found && depth < kPrototypeDepth; ++depth) {
    duk_get_prototype(ctx, -1);
    if (!duk_is_object(ctx, -1)) break;
    found = Find(duk_get_heapptr(ctx, -1));
  }
  duk_set_top(ctx, top);
  return found;
}

duk_ret_t FinalizeAttachment(duk_context* ctx) {
  const void* object = duk_get_heapptr(ctx, 0);
  Release(object);
  return 0;
}

void ReleaseAllAttachments() noexcept {
  std::unordered_map<const void*, Attachment> gone;
  gone.swap(Attachments());
  gone.clear();
}

int AttachmentCount() noexcept { return static_cast<int>(Attachments().size()); }

void PushHandlerFunction(duk_context* ctx, std::u16string name, Held handler) {
  duk_push_c_function(ctx, &HandlerTrampoline, DUK_VARARGS);
  duk_push_string(ctx, "name");
  PushText(ctx, name);
  duk_def_prop(ctx, -3, DUK_DEFPROP_HAVE_VALUE | DUK_DEFPROP_SET_CONFIGURABLE | DUK_DEFPROP_CLEAR_WRITABLE);
  Attach(ctx, -1, {std::move(name), std::move(handler), {}, {}});
}

bool CallHandler(duk_context* ctx, TCefv8Handler* handler, const std::u16string& name, duk_idx_t receiver,
                 duk_idx_t first, duk_idx_t count) {
  if (!handler || !handler->execute) {
    duk_push_undefined(ctx);
    return false;
  }
  // The arguments and the receiver go with one reference each, for the handler to release.
  std::vector<TCefv8Value*> arguments;
  for (duk_idx_t i = 0; i < count; ++i) arguments.push_back(NewValue(ctx, first + i));
  TCefv8Value* self = NewValue(ctx, receiver);
  TCefString n = View(name);
  TCefv8Value* answer = nullptr;
  TCefString exception{};
  TCefBool handled = handler->execute(handler, &n, self, static_cast<uint32_t>(count),
                                      arguments.empty() ? nullptr : arguments.data(), &answer, &exception);
  return PushOutcome(ctx, answer, handled != 0, exception);
}

bool DefineAccessorProperty(duk_context* ctx, duk_idx_t idx, const std::u16string& key, int32_t attribute) {
  Attachment* attachment = AttachmentOf(ctx, idx, false);
  if (!attachment || !attachment->accessor) return false;
  duk_dup(ctx, idx);
  PushText(ctx, key);
  bool ok = Protected(ctx, 2, 1, [attribute](duk_context* c) { return DefineAccessor(c, attribute); });
  duk_pop(ctx);
  return ok;
}

}  // namespace standin::script
