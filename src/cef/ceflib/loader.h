#pragma once
// Loading the runtime library on first need, resolving its exports, initialising it from
// the global settings, and shutting it down at exit.

#include <cstdint>
#include <string>
#include <string_view>

#include "cef/ceflib/capi.h"
#include "cef/ceflib/exceptions.h"
#include "cef/ceflib/runtime_calls.h"
#include "platform/dynamic_library.h"

namespace cef {

#ifdef _WIN32
inline constexpr char16_t kDefaultCefLibrary[] = u"libcef.dll";
#else
inline constexpr char16_t kDefaultCefLibrary[] = u"libcef.so";
#endif

// Global settings, read when the runtime is loaded; a later change has no effect.
inline std::u16string CefLibrary = kDefaultCefLibrary;
inline std::u16string CefCache;
inline std::u16string CefUserAgent;
inline std::u16string CefProductVersion;
inline std::u16string CefLocale;
inline std::u16string CefLogFile;
inline std::u16string CefExtraPluginPaths;
inline int32_t CefLogSeverity = 99;  // the runtime's level for disabled logging
inline int32_t CefGraphicsImplementation = 0;
inline uint32_t CefLocalStorageQuota = 0;
inline uint32_t CefSessionStorageQuota = 0;

// One entry-point variable per export, and the generic string entries.
struct CefExports {
#define CEF_DECLARE_ENTRY(result, name, params) result(CEF_EXPORT_CC* name) params = nullptr;
  CEF_EXPORTS(CEF_DECLARE_ENTRY)
#undef CEF_DECLARE_ENTRY

  // Generic string entries, bound to the UTF-16 forms after resolution.
  int32_t(CEF_EXPORT_CC* cef_string_set)(const char16_t*, uint32_t, TCefString*, int32_t) = nullptr;
  void(CEF_EXPORT_CC* cef_string_clear)(TCefString*) = nullptr;
  TCefStringUserFree(CEF_EXPORT_CC* cef_string_userfree_alloc)() = nullptr;
  void(CEF_EXPORT_CC* cef_string_userfree_free)(TCefStringUserFree) = nullptr;
  int32_t(CEF_EXPORT_CC* cef_string_from_ascii)(const char*, uint32_t, TCefString*) = nullptr;
  int32_t(CEF_EXPORT_CC* cef_string_to_utf8)(const char16_t*, uint32_t, TCefStringUtf8*) = nullptr;
  int32_t(CEF_EXPORT_CC* cef_string_from_utf8)(const char*, uint32_t, TCefString*) = nullptr;
  int32_t(CEF_EXPORT_CC* cef_string_to_wide)(const char16_t*, uint32_t, TCefStringWide*) = nullptr;
  int32_t(CEF_EXPORT_CC* cef_string_from_wide)(const wchar_t*, uint32_t, TCefString*) = nullptr;
  // The runtime string is already UTF-16: both directions are a copying set.
  int32_t cef_string_to_utf16(const char16_t* src, uint32_t length, TCefString* output) const;
  int32_t cef_string_from_utf16(const char16_t* src, uint32_t length, TCefString* output) const;

  // Resolves every export from the library, in the contract's order, and binds the
  // generic entries; an export the library lacks stays null.
  void Resolve(const platform::DynamicLibrary& library);
  // True when all 87 exports resolved.
  bool Complete() const noexcept;
};

// What the runtime is initialised with. The texts are borrowed, never copied: the record
// handed to the runtime points at the caller's own characters, which must live until Load
// returns.
struct CefRuntimeSettings {
  std::u16string_view cache;
  std::u16string_view userAgent;
  std::u16string_view productVersion;
  std::u16string_view locale;
  std::u16string_view logFile;
  std::u16string_view extraPluginPaths;
  int32_t logSeverity = 99;
  int32_t graphicsImplementation = 0;
  uint32_t localStorageQuota = 0;
  uint32_t sessionStorageQuota = 0;
};

// One runtime library: not loaded, loaded and initialised, or loaded but not initialised
// (the library lacked an export). The program has one, CefRuntime(); tests make their own.
class CefRuntimeLibrary {
 public:
  CefRuntimeLibrary() = default;
  CefRuntimeLibrary(const CefRuntimeLibrary&) = delete;
  CefRuntimeLibrary& operator=(const CefRuntimeLibrary&) = delete;
  ~CefRuntimeLibrary() { Finalize(); }

  // Loads, checks and initialises; does nothing once the library is loaded. Raises the
  // platform's system error when the library cannot be loaded (a later call tries again)
  // and ECefException when an export is missing (the runtime then stays uninitialised).
  void Load(const std::u16string& libraryName, const CefRuntimeSettings& settings);

  // One unit of runtime work, only when the runtime was initialised; counted as a call in
  // progress, so that a modal loop inside it is never given another.
  void DoMessageLoopWork() const;

  // The exit step: shuts an initialised runtime down and unloads the library.
  void Finalize() noexcept;

  bool Loaded() const noexcept { return static_cast<bool>(library_); }
  bool Initialized() const noexcept { return initialized_; }
  void* Handle() const noexcept { return library_.Handle(); }
  const CefExports& Exports() const noexcept { return exports_; }

 private:
  void Initialize(const CefRuntimeSettings& settings);

  platform::DynamicLibrary library_;
  CefExports exports_;
  bool initialized_ = false;
};

// The program's runtime library, and its export table.
CefRuntimeLibrary& CefRuntime() noexcept;
inline const CefExports& CefApi() noexcept { return CefRuntime().Exports(); }

// Whether an export of the program's runtime may be called: only while the runtime is loaded
// and initialised. Before loading, after a load that lacked an export and after the exit step
// there is no runtime, and an unresolved entry would jump to address 0.
template <class F>
bool CefCallable(F entry) noexcept {
  return entry && CefRuntime().Initialized();
}
[[noreturn]] void RaiseRuntimeMissing(const char* exportName);
// The one runtime-call check: every export the program calls passes here, and each call of
// what it gives is counted (RuntimeCallInProgress).
template <class F>
RuntimeEntry<F> CefChecked(F entry, const char* exportName) {
  if (!CefCallable(entry)) RaiseRuntimeMissing(exportName);
  return entry;
}
template <class F>
RuntimeEntry<F> CefIfCallable(F entry) noexcept {
  return CefCallable(entry) ? entry : nullptr;
}
// An export of the program's runtime; raises ECefException when there is no runtime to call.
#define CEF_API(name) ::cef::CefChecked(::cef::CefApi().name, #name)
// An export for a release on the way out, which must not raise: null when there is no
// runtime, which then holds nothing of the program's to release.
#define CEF_API_IF_LOADED(name) ::cef::CefIfCallable(::cef::CefApi().name)

// The module handle of the program's runtime library, null until it has been loaded.
void* CefLibHandle() noexcept;

void CefLoadLib(const std::u16string& cache, const std::u16string& userAgent,
                const std::u16string& productVersion, const std::u16string& locale,
                const std::u16string& logFile, const std::u16string& extraPluginPaths, int32_t logSeverity,
                int32_t graphicsImplementation, uint32_t localStorageQuota, uint32_t sessionStorageQuota);
// Loads with the global settings unless the library is loaded already.
void CefLoadLibDefault();
void CefDoMessageLoopWork();

// The layer's start-up and exit steps, in the program's module order: start-up before
// any other part of the layer runs, exit after everything built on the layer is gone.
void CefLibInitialization() noexcept;
void CefLibFinalization() noexcept;

}  // namespace cef
