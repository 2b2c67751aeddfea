#include "platform/dynamic_library.h"

namespace platform {

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept : handle_(other.handle_) {
  other.handle_ = nullptr;
}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    Reset();
    handle_ = other.handle_;
    other.handle_ = nullptr;
  }
  return *this;
}

void* DynamicLibrary::Symbol(const char* name) const noexcept { return SymbolIn(handle_, name); }

}  // namespace platform
