#include "cef/ceflib/strings.h"

#include "cef/ceflib/loader.h"
#include "platform/text.h"

namespace cef {
namespace {
char16_t kEmptyText[1] = {0};

// An entry point of the program's runtime, callable only while the runtime is loaded and
// initialised: before loading, after a load that lacked an export and after the exit step
// there is no runtime to call, and an unresolved entry would jump to address 0.
template <class F>
F Entry(F entry, const char* name) {
  if (!entry || !CefRuntime().Initialized()) {
    throw ECefException(u"The runtime library " + CefLibrary + u" is not loaded and initialised: " +
                        platform::Utf8ToUtf16(name) + u" cannot be called");
  }
  return entry;
}

#define CEF_ENTRY(name) Entry(CefApi().name, #name)

}  // namespace

TCefString CefStringView(const std::u16string& text) noexcept { return CefStringBorrow(text); }

TCefString CefStringBorrow(std::u16string_view text) noexcept {
  // The runtime only reads a string argument; the cast drops a const that the wire lacks.
  char16_t* chars = text.empty() ? kEmptyText : const_cast<char16_t*>(text.data());
  return {chars, static_cast<uint32_t>(text.size()), nullptr};
}

TCefString CefStringOwnedCopy(const std::u16string& text) {
  TCefString result{};
  if (text.empty()) return result;
#ifdef _WIN32
  CEF_ENTRY(cef_string_from_wide)(reinterpret_cast<const wchar_t*>(text.data()),
                                static_cast<uint32_t>(text.size()), &result);
#else
  // Wide characters are UTF-32 here: the from-wide entry needs them as such.
  std::wstring wide = platform::Utf16ToWide(text);
  CEF_ENTRY(cef_string_from_wide)(wide.data(), static_cast<uint32_t>(wide.size()), &result);
#endif
  return result;
}

void CefStringAssign(TCefString* target, const std::u16string& text) {
  if (!target) return;
  TCefString view = CefStringView(text);
  CEF_ENTRY(cef_string_set)(view.str, view.length, target, 1);
}

std::u16string CefStringRead(const TCefString* source) {
  if (!source || !source->str) return {};
  return std::u16string(source->str, source->length);
}

std::u16string CefStringReadAndClear(TCefString* source) {
  std::u16string text = CefStringRead(source);
  if (source) CEF_ENTRY(cef_string_clear)(source);
  return text;
}

std::u16string CefStringReadUserFree(TCefStringUserFree source) {
  if (!source) return {};
  std::u16string text = CefStringRead(source);
  CEF_ENTRY(cef_string_userfree_free)(source);
  return text;
}

TCefStringList CefStringListAlloc() { return CEF_ENTRY(cef_string_list_alloc)(); }

void CefStringListAppendTo(TCefStringList list, std::vector<std::u16string>& out) {
  TCefString item{};
  int32_t count = CEF_ENTRY(cef_string_list_size)(list);
  for (int32_t i = 0; i < count; ++i) {
    CEF_ENTRY(cef_string_list_value)(list, i, &item);
    out.push_back(CefStringReadAndClear(&item));
  }
}

void CefStringListFree(TCefStringList list) noexcept {
  // Without the entry there is no runtime that could have made the list.
  if (auto free = CefApi().cef_string_list_free) free(list);
}

}  // namespace cef
