#include <dlfcn.h>

#include <cerrno>

#include "platform/dynamic_library.h"
#include "platform/text.h"

namespace platform {

DynamicLibrary DynamicLibrary::Load(const std::u16string& name, OSErrorInfo* error) {
  errno = 0;
  void* handle = dlopen(Utf16ToUtf8(name).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle && error) {
    // The POSIX loader explains itself in text; errno carries the underlying cause.
    const char* why = dlerror();
    *error = {static_cast<uint32_t>(errno), Utf8ToUtf16(why ? why : "")};
  }
  return DynamicLibrary(handle);
}

void* DynamicLibrary::SymbolIn(void* handle, const char* name) noexcept {
  return handle ? dlsym(handle, name) : nullptr;
}

// The loader here takes bare names from its own configured paths only.
void LimitLibrarySearch() noexcept {}

void DynamicLibrary::Reset() noexcept {
  if (handle_) dlclose(handle_);
  handle_ = nullptr;
}

}  // namespace platform
