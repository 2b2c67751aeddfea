#include "cef/ceflib/loader.h"

#include <vector>

#include "cef/ceflib/plugin_paths.h"
#include "cef/ceflib/strings.h"
#include "platform/fpu.h"
#include "platform/text.h"

namespace cef {

int32_t CefExports::cef_string_to_utf16(const char16_t* src, uint32_t length, TCefString* output) const {
  return cef_string_utf16_set(src, length, output, 1);
}

int32_t CefExports::cef_string_from_utf16(const char16_t* src, uint32_t length, TCefString* output) const {
  return cef_string_utf16_set(src, length, output, 1);
}

void CefExports::Resolve(const platform::DynamicLibrary& library) {
#define CEF_RESOLVE_ENTRY(result, name, params) \
  name = reinterpret_cast<decltype(name)>(library.Symbol(#name));
  CEF_EXPORTS(CEF_RESOLVE_ENTRY)
#undef CEF_RESOLVE_ENTRY
  cef_string_set = cef_string_utf16_set;
  cef_string_clear = cef_string_utf16_clear;
  cef_string_userfree_alloc = cef_string_userfree_utf16_alloc;
  cef_string_userfree_free = cef_string_userfree_utf16_free;
  cef_string_from_ascii = cef_string_ascii_to_utf16;
  cef_string_to_utf8 = cef_string_utf16_to_utf8;
  cef_string_from_utf8 = cef_string_utf8_to_utf16;
  cef_string_to_wide = cef_string_utf16_to_wide;
  cef_string_from_wide = cef_string_wide_to_utf16;
}

bool CefExports::Complete() const noexcept {
#define CEF_CHECK_ENTRY(result, name, params) &&name != nullptr
  return true CEF_EXPORTS(CEF_CHECK_ENTRY);
#undef CEF_CHECK_ENTRY
}

void CefRuntimeLibrary::Load(const std::u16string& libraryName, const CefRuntimeSettings& settings) {
  if (library_) return;
  platform::MaskFloatingPointExceptions();

  platform::OSErrorInfo error{};
  library_ = platform::DynamicLibrary::Load(libraryName, &error);
  if (!library_) platform::RaiseOSError(error);

  exports_.Resolve(library_);
  if (!exports_.Complete()) throw ECefException(u"Invalid CEF Library version");
  Initialize(settings);
}

void CefRuntimeLibrary::Initialize(const CefRuntimeSettings& settings) {
  // Every string of the record borrows the caller's text for the duration of the call.
  TCefSettings record{};
  record.size = sizeof(TCefSettings);
  record.multi_threaded_message_loop = 0;
  record.cache_path = CefStringBorrow(settings.cache);
  record.user_agent = CefStringBorrow(settings.userAgent);
  record.product_version = CefStringBorrow(settings.productVersion);
  record.locale = CefStringBorrow(settings.locale);
  record.log_file = CefStringBorrow(settings.logFile);

  struct PluginList {
    const CefExports& api;
    TCefStringList handle = nullptr;
    ~PluginList() {
      if (handle) api.cef_string_list_free(handle);
    }
  } plugins{exports_};
  std::vector<std::u16string> paths;
  if (!settings.extraPluginPaths.empty()) {
    plugins.handle = exports_.cef_string_list_alloc();
    record.extra_plugin_paths = plugins.handle;
    paths = SplitPluginPaths(settings.extraPluginPaths);
    for (const std::u16string& path : paths) {
      TCefString item = CefStringView(path);
      exports_.cef_string_list_append(plugins.handle, &item);  // the runtime copies
    }
  }

  record.log_severity = settings.logSeverity;
  record.graphics_implementation = settings.graphicsImplementation;
  record.local_storage_quota = settings.localStorageQuota;
  record.session_storage_quota = settings.sessionStorageQuota;

  // The answer is not examined: a runtime that refuses has nothing more to tell us.
  exports_.cef_initialize(&record);
  initialized_ = true;
}

void CefRuntimeLibrary::DoMessageLoopWork() const {
  if (initialized_) CallRuntime(exports_.cef_do_message_loop_work);
}

void CefRuntimeLibrary::Finalize() noexcept {
  if (initialized_ && exports_.cef_shutdown) exports_.cef_shutdown();
  initialized_ = false;
  exports_ = CefExports{};
  library_.Reset();
}

void RaiseRuntimeMissing(const char* exportName) {
  throw ECefException(u"The runtime library " + CefLibrary + u" is not loaded and initialised: " +
                      platform::Utf8ToUtf16(exportName) + u" cannot be called");
}

CefRuntimeLibrary& CefRuntime() noexcept {
  // The exit step runs in the program's module order; by static destruction the runtime
  // is already unloaded and its destructor has nothing left to do.
  static CefRuntimeLibrary runtime;
  return runtime;
}

void* CefLibHandle() noexcept { return CefRuntime().Handle(); }

void CefLoadLib(const std::u16string& cache, const std::u16string& userAgent,
                const std::u16string& productVersion, const std::u16string& locale,
                const std::u16string& logFile, const std::u16string& extraPluginPaths, int32_t logSeverity,
                int32_t graphicsImplementation, uint32_t localStorageQuota, uint32_t sessionStorageQuota) {
  CefRuntime().Load(CefLibrary, {cache, userAgent, productVersion, locale, logFile, extraPluginPaths,
                                 logSeverity, graphicsImplementation, localStorageQuota, sessionStorageQuota});
}

void CefLoadLibDefault() {
  if (CefLibHandle()) return;
  CefLoadLib(CefCache, CefUserAgent, CefProductVersion, CefLocale, CefLogFile, CefExtraPluginPaths,
             CefLogSeverity, CefGraphicsImplementation, CefLocalStorageQuota, CefSessionStorageQuota);
}

void CefDoMessageLoopWork() { CefRuntime().DoMessageLoopWork(); }

void CefLibInitialization() noexcept {
  // The process is multi-threaded for the runtime from here on; the C++ runtime's heap and
  // reference counts are always thread-safe, so there is no switch to throw.
}

void CefLibFinalization() noexcept { CefRuntime().Finalize(); }

}  // namespace cef
