#pragma once
// A browser the program holds, as the stand-in's control functions name it: by the
// runtime structure behind it.

#include <string>

#include "cef/ceflib/browser.h"
#include "support/standin_control.h"

namespace testing_support {

// Calls use with the browser's structure, holding one reference for the length of the call.
template <class Use>
auto WithRawBrowser(const cef::Ref<cef::ICefBrowser>& browser, Use use) {
  TCefBase* raw = browser->Wrap();
  auto result = use(reinterpret_cast<TCefBrowser*>(raw));
  raw->release(raw);
  return result;
}

// A number the program's stand-in knows of the browser (standin_browser_value's keys).
inline int32_t BrowserValue(const cef::Ref<cef::ICefBrowser>& browser, const char* key) {
  return WithRawBrowser(browser, [&](TCefBrowser* b) { return ProgramStandin().standin_browser_value(b, key); });
}

// A text the program's stand-in knows of the browser (standin_browser_text's keys).
inline std::u16string BrowserText(const cef::Ref<cef::ICefBrowser>& browser, const char* key) {
  return WithRawBrowser(browser, [&](TCefBrowser* b) {
    return ControlText([&](char16_t* buffer, int32_t size) {
      return ProgramStandin().standin_browser_text(b, key, buffer, size);
    });
  });
}

}  // namespace testing_support
