#pragma once
// Conversions between the program's strings (UTF-16 std::u16string) and the runtime's
// TCefStringUtf16, and the idiom for reading runtime string lists.

#include <string>
#include <string_view>
#include <vector>

#include "cef/ceflib/capi.h"

namespace cef {

// A borrowed view of text for a string argument: no copy, no dtor, valid while text lives.
// An empty text gives an empty zero-terminated string, never null.
TCefString CefStringView(const std::u16string& text) noexcept;
TCefString CefStringView(const std::u16string&& text) = delete;  // would dangle
// The same for any borrowed run of characters.
TCefString CefStringBorrow(std::u16string_view text) noexcept;

// A runtime-allocated copy, for strings the runtime keeps and frees itself; an empty
// text gives the all-zero record.
TCefString CefStringOwnedCopy(const std::u16string& text);

// Fills a runtime string in place with a runtime copy of text; nothing for a null target.
void CefStringAssign(TCefString* target, const std::u16string& text);

// A copy of a runtime string; null reads as the empty text.
std::u16string CefStringRead(const TCefString* source);

// Reads a record the runtime filled in the program's memory, then frees and zeroes it.
std::u16string CefStringReadAndClear(TCefString* source);

// Reads a string a runtime operation returned, then frees it; null frees nothing.
std::u16string CefStringReadUserFree(TCefStringUserFree source);

// Allocates a runtime list, lets fill() have the runtime fill it, appends its items to
// out in order and frees the list on every way out.
template <class Fill>
void CefStringListRead(Fill&& fill, std::vector<std::u16string>& out);

// The runtime list calls behind CefStringListRead.
TCefStringList CefStringListAlloc();
void CefStringListAppendTo(TCefStringList list, std::vector<std::u16string>& out);
void CefStringListFree(TCefStringList list) noexcept;

template <class Fill>
void CefStringListRead(Fill&& fill, std::vector<std::u16string>& out) {
  struct Owner {
    TCefStringList list;
    ~Owner() { CefStringListFree(list); }
  } owner{CefStringListAlloc()};
  fill(owner.list);
  CefStringListAppendTo(owner.list, out);
}

}  // namespace cef
