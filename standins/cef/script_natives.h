#pragma once
// Where script meets the program's structures: native functions whose calls reach a
// handler's execute member, objects whose properties ask an accessor, and user data kept
// by objects. The program structures are attached to their script objects and released
// when those are finalized, or at the latest when the heap goes.

#include <cstdint>
#include <string>

#include "script_engine.h"

namespace standin::script {

// What an object of the engine holds of the program's.
struct Attachment {
  std::u16string name;  // a function's name
  Held handler;         // TCefv8Handler: calls of the function reach its execute member
  Held accessor;        // TCefV8Accessor: asked for properties set up by accessor
  Held user_data;       // TCefv8Value the object keeps for get_user_data
};

// Attaches to the object at idx; the attachment is released when the object is finalized.
void Attach(duk_context* ctx, duk_idx_t idx, Attachment attachment);
// The attachment of the object at idx, or with inherited of the nearest object on its
// prototype chain that has one; null for none.
Attachment* AttachmentOf(duk_context* ctx, duk_idx_t idx, bool inherited);
// The finalizer of attached objects: (object, heap going) -> undefined.
duk_ret_t FinalizeAttachment(duk_context* ctx);
// Releases every attachment left (at heap teardown).
void ReleaseAllAttachments() noexcept;
int AttachmentCount() noexcept;

// Pushes a new function whose calls reach handler's execute member under name.
void PushHandlerFunction(duk_context* ctx, std::u16string name, Held handler);

// Calls handler's execute member as a native function call: the receiver at `receiver`,
// count arguments from `first`. Pushes the call's value (undefined when unhandled or
// unanswered), or pushes the exception text and answers true: the caller then throws it
// with ThrowMessageAtTop once its own C++ objects are gone.
bool CallHandler(duk_context* ctx, TCefv8Handler* handler, const std::u16string& name, duk_idx_t receiver,
                 duk_idx_t first, duk_idx_t count);

// Accessor attribute bits of set_value_byaccessor.
inline constexpr int32_t kReadOnly = 1;
inline constexpr int32_t kDontEnum = 2;
inline constexpr int32_t kDontDelete = 4;

// Defines key on the object at idx as a property whose reads and writes ask the object's
// accessor. Answers false when the object has no accessor or the definition failed.
bool DefineAccessorProperty(duk_context* ctx, duk_idx_t idx, const std::u16string& key, int32_t attribute);

}  // namespace standin::script
