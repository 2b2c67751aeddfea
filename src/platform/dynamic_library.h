#pragma once
// A loaded shared library, unloaded when the owner lets go of it.

#include <string>

#include "platform/errors.h"

namespace platform {

class DynamicLibrary {
 public:
  DynamicLibrary() noexcept = default;
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;
  ~DynamicLibrary() { Reset(); }

  // Loads the library by name, unchanged, so the process's search order applies (see
  // LimitLibrarySearch). On
  // failure the result is empty and *error (when given) holds the loader's code and text.
  static DynamicLibrary Load(const std::u16string& name, OSErrorInfo* error = nullptr);

  // The export's address, or null when the library has no such export.
  void* Symbol(const char* name) const noexcept;

  // An export of a library loaded by someone else.
  static void* SymbolIn(void* handle, const char* name) noexcept;

  void* Handle() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }
  void Reset() noexcept;

 private:
  explicit DynamicLibrary(void* handle) noexcept : handle_(handle) {}
  void* handle_ = nullptr;
};

// Windows: limits where libraries named by bare name are found to the program's folder and
// the system's, so that a copy planted in the current folder or on PATH is never loaded.
// Where the system lacks that (Windows 7 without its update), drops at least the current
// folder. The program's first action; elsewhere nothing to do.
void LimitLibrarySearch() noexcept;

}  // namespace platform
