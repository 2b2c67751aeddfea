#include "cef/ceflib/strings.h"

#include "cef/ceflib/loader.h"
#include "platform/text.h"

namespace cef {
namespace {
char16_t kEmptyText[1] = {0};

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
  CEF_API(cef_string_from_wide)(reinterpret_cast<const wchar_t*>(text.data()),
                                static_cast<uint32_t>(text.size()), &result);
#else
  // Wide characters are UTF-32 here: the from-wide entry needs them as such.
  std::wstring wide = platform::Utf16ToWide(text);
  CEF_API(cef_string_from_wide)(wide.data(), static_cast<uint32_t>(wide.size()), &result);
#endif
  return result;
}

void CefStringAssign(TCefString* target, const std::u16string& text) {
  if (!target) return;
  TCefString view = CefStringView(text);
  CEF_API(cef_string_set)(view.str, view.length, target, 1);
}

std::u16string CefStringRead(const TCefString* source) {
  if (!source || !source->str) return {};
  return std::u16string(source->str, source->length);
}

std::u16string CefStringReadAndClear(TCefString* source) {
  std::u16string text = CefStringRead(source);
  if (source) CEF_API(cef_string_clear)(source);
  return text;
}

std::u16string CefStringReadUserFree(TCefStringUserFree source) {
  if (!source) return {};
  std::u16string text = CefStringRead(source);
  CEF_API(cef_string_userfree_free)(source);
  return text;
}

TCefStringList CefStringListAlloc() { return CEF_API(cef_string_list_alloc)(); }

void CefStringListAppendTo(TCefStringList list, std::vector<std::u16string>& out) {
  TCefString item{};
  int32_t count = CEF_API(cef_string_list_size)(list);
  for (int32_t i = 0; i < count; ++i) {
    CEF_API(cef_string_list_value)(list, i, &item);
    out.push_back(CefStringReadAndClear(&item));
  }
}

void CefStringListFree(TCefStringList list) noexcept {
  // Without the entry there is no runtime that could have made the list.
  if (auto free = CEF_API_IF_LOADED(cef_string_list_free)) free(list);
}

}  // namespace cef
