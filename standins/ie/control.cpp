// The exported test control interface (control.h).

#include <windows.h>

#include <cstring>

#include "ie/control.h"
#include "ie/objects.h"
#include "ie/registration.h"
#include "ie/state.h"

namespace {

using iestandin::State;

// Copies what fits, NUL-terminated when there is room; answers the whole length.
int32_t CopyText(const std::u16string& text, char16_t* buffer, int32_t size) {
  if (buffer && size > 0) {
    size_t count = std::min(text.size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, text.data(), count * sizeof(char16_t));
    buffer[count] = u'\0';
  }
  return static_cast<int32_t>(text.size());
}

const iestandin::Entry* Browser(int32_t index) {
  const iestandin::Entry* entry = State::Get().At(index);
  return entry && entry->IsBrowser() ? entry : nullptr;
}

}  // namespace

#define IESTANDIN_EXPORT extern "C" __declspec(dllexport)

IESTANDIN_EXPORT void iestandin_reset(void) { State::Get().Reset(); }

IESTANDIN_EXPORT int32_t iestandin_add_entry(int32_t kind, const char16_t* address, int32_t show) {
  return State::Get().AddEntry(static_cast<IEStandinEntryKind>(kind), address ? address : u"",
                               static_cast<IEStandinShow>(show));
}

IESTANDIN_EXPORT int32_t iestandin_entry_count(void) { return State::Get().Count(); }

IESTANDIN_EXPORT void* iestandin_entry_window(int32_t index) {
  const iestandin::Entry* entry = Browser(index);
  return entry ? entry->window : nullptr;
}

IESTANDIN_EXPORT int32_t iestandin_entry_visible(int32_t index) {
  const iestandin::Entry* entry = Browser(index);
  return entry ? (entry->visible ? 1 : 0) : -1;
}

IESTANDIN_EXPORT int32_t iestandin_entry_address(int32_t index, char16_t* buffer, int32_t size) {
  const iestandin::Entry* entry = Browser(index);
  return entry ? CopyText(entry->address, buffer, size) : -1;
}

IESTANDIN_EXPORT int32_t iestandin_navigation_count(int32_t index) {
  const iestandin::Entry* entry = Browser(index);
  return entry ? entry->navigations : -1;
}

IESTANDIN_EXPORT void iestandin_fail_next(const char* call, int32_t times, int32_t result) {
  State::Get().FailNext(call ? call : "", times, static_cast<HRESULT>(result));
}

IESTANDIN_EXPORT int32_t iestandin_record(char16_t* buffer, int32_t size) {
  return CopyText(State::Get().RecordText(), buffer, size);
}

IESTANDIN_EXPORT int32_t iestandin_errors(char16_t* buffer, int32_t size) {
  return CopyText(State::Get().ErrorText(), buffer, size);
}

IESTANDIN_EXPORT int32_t iestandin_live_objects(void) { return iestandin::LiveObjects().load(); }

IESTANDIN_EXPORT int32_t iestandin_register(int32_t parts) { return iestandin::Register(parts); }

IESTANDIN_EXPORT int32_t iestandin_unregister(int32_t parts) { return iestandin::Unregister(parts); }
