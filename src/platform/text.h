#pragma once
// Conversions between the program's UTF-16 text and the other encodings it meets:
// UTF-8 (messages of the standard library, POSIX), and the platform's wide characters
// (UTF-16 on Windows, UTF-32 elsewhere). Ill-formed input becomes U+FFFD.

#include <string>
#include <string_view>

namespace platform {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
std::wstring Utf16ToWide(std::u16string_view text);
std::u16string WideToUtf16(std::wstring_view text);

// Decimal text of a signed integer, for messages.
std::u16string IntToText(long long value);

#ifdef _WIN32
// Windows wide characters are UTF-16 code units: views cross without copying.
inline const wchar_t* AsWide(const std::u16string& text) noexcept {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline const char16_t* AsUtf16(const wchar_t* text) noexcept {
  return reinterpret_cast<const char16_t*>(text);
}
#endif

}  // namespace platform
