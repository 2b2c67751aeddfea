#include <windows.h>

#include "platform/dynamic_library.h"
#include "platform/text.h"

namespace platform {

DynamicLibrary DynamicLibrary::Load(const std::u16string& name, OSErrorInfo* error) {
  HMODULE module = LoadLibraryW(AsWide(name));
  if (!module && error) *error = LastOSError();
  return DynamicLibrary(module);
}

void* DynamicLibrary::SymbolIn(void* handle, const char* name) noexcept {
  if (!handle) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

void DynamicLibrary::Reset() noexcept {
  if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
  handle_ = nullptr;
}

}  // namespace platform
