#include "cef/ceflib/wrapper_support.h"

#include "platform/text.h"

namespace cef {

void RaiseRuntimeMissing(const char* exportName) {
  throw ECefException(u"The runtime library " + CefLibrary + u" is not loaded and initialised: " +
                      platform::Utf8ToUtf16(exportName) + u" cannot be called");
}

}  // namespace cef
