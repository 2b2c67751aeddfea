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

void LimitLibrarySearch() noexcept {
  // Looked up rather than imported: without the update the program must still start.
  using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesProc>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  SetDllDirectoryW(L"");
}

void DynamicLibrary::Reset() noexcept {
  if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
  handle_ = nullptr;
}

}  // namespace platform
