#include "platform/text.h"

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Decodes one code point from UTF-8, advancing i past it.
char32_t DecodeUtf8(std::string_view s, size_t& i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char lead = byte(i++);
  if (lead < 0x80) return lead;
  int extra;
  char32_t cp;
  char32_t min;
  if ((lead & 0xE0) == 0xC0) { extra = 1; cp = lead & 0x1F; min = 0x80; }
  else if ((lead & 0xF0) == 0xE0) { extra = 2; cp = lead & 0x0F; min = 0x800; }
  else if ((lead & 0xF8) == 0xF0) { extra = 3; cp = lead & 0x07; min = 0x10000; }
  else return kReplacement;
  for (int k = 0; k < extra; ++k) {
    if (i >= s.size() || (byte(i) & 0xC0) != 0x80) return kReplacement;
    cp = (cp << 6) | (byte(i++) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || IsSurrogate(cp)) return kReplacement;
  return cp;
}

// Decodes one code point from UTF-16, advancing i past it; a lone surrogate is replaced.
char32_t DecodeUtf16(std::u16string_view s, size_t& i) {
  char32_t c = s[i++];
  if (c >= 0xD800 && c <= 0xDBFF && i < s.size() && s[i] >= 0xDC00 && s[i] <= 0xDFFF)
    return 0x10000 + ((c - 0xD800) << 10) + (s[i++] - 0xDC00);
  return IsSurrogate(c) ? kReplacement : c;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  } else {
    out.push_back(static_cast<char16_t>(cp));
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) AppendUtf16(out, DecodeUtf8(text, i));
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size();) AppendUtf8(out, DecodeUtf16(text, i));
  return out;
}

std::wstring Utf16ToWide(std::u16string_view text) {
  std::wstring out;
  if constexpr (sizeof(wchar_t) == 2) {
    out.assign(text.begin(), text.end());
  } else {
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) out.push_back(static_cast<wchar_t>(DecodeUtf16(text, i)));
  }
  return out;
}

std::u16string WideToUtf16(std::wstring_view text) {
  std::u16string out;
  if constexpr (sizeof(wchar_t) == 2) {
    out.assign(text.begin(), text.end());
  } else {
    out.reserve(text.size());
    for (wchar_t w : text) {
      auto cp = static_cast<char32_t>(w);
      AppendUtf16(out, cp > 0x10FFFF || IsSurrogate(cp) ? kReplacement : cp);
    }
  }
  return out;
}

std::u16string IntToText(long long value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace platform
