#pragma once
// Script values as the program holds them: TCefv8Value objects over values kept in the
// heap's stash. Each hand-over makes a new object with one reference; releasing its last
// reference lets the script value go. Values of every context of the heap mix freely.
//
// Members count their calls as "v8value.<member>" and fail on request like any export,
// answering their neutral value.

#include <cstdint>

#include "script_engine.h"

namespace standin::script {

class V8Value final : public Wired<TCefv8Value, Kind::V8Value> {
 public:
  V8Value(uint32_t slot, uint32_t origin);

  // The id of the context the value came from (0 for none): a function called by the
  // program outside any script runs there.
  uint32_t origin() const noexcept { return origin_; }

  // False once the heap the value belonged to has gone.
  bool alive() const noexcept { return generation_ == HeapGeneration() && HeapAlive(); }
  // Pushes the script value; false (nothing pushed) when it is dead.
  bool Push(duk_context* ctx) const;

 protected:
  void Retire() noexcept override;

 private:
  uint32_t slot_;
  uint32_t origin_;
  uint64_t generation_;
};

// A new value object over the value at idx, with one reference for the receiver; null
// without a heap. It comes from the origin context, by default the calling context.
TCefv8Value* NewValue(duk_context* ctx, duk_idx_t idx, uint32_t origin);
TCefv8Value* NewValue(duk_context* ctx, duk_idx_t idx);
// Pushes the script value behind a value the program passed (borrowed); false, with nothing
// pushed, when it is none of the engine's living values.
bool PushProgramValue(duk_context* ctx, TCefv8Value* value, const char* member);
// Pushes an argument value and releases the reference that came with it; undefined for
// null. False (undefined pushed) when it is none of the engine's living values.
bool PushArgument(duk_context* ctx, TCefv8Value* value, const char* member);

// The members of TCefv8Value, installed on each new value.
void InstallValueMembers(TCefv8Value& wire);

// The value behind a member call; null when the call is to fail or the value is dead.
V8Value* LiveValue(TCefv8Value* self, const char* member);
// Pushes the value behind self on the active thread; null (nothing pushed) when it cannot.
// origin gets the context the value came from.
duk_context* PushedValue(TCefv8Value* self, const char* member, uint32_t* origin = nullptr);

}  // namespace standin::script
