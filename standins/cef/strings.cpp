// The runtime's string exports: three encodings (UTF-8, UTF-16 and the platform's wide
// characters), conversions between them and the userfree records.

#include <cstring>
#include <string>
#include <vector>

#include "standin.h"

namespace standin {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Code points of each encoding; the flag turns false on ill-formed input.
std::u32string DecodeUtf8(const char* s, uint32_t n, bool& ok) {
  std::u32string out;
  auto byte = [&](uint32_t k) { return static_cast<unsigned char>(s[k]); };
  for (uint32_t i = 0; i < n;) {
    unsigned char lead = byte(i++);
    if (lead < 0x80) {
      out.push_back(lead);
      continue;
    }
    int extra = (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
    char32_t cp = extra == 1 ? lead & 0x1F : extra == 2 ? lead & 0x0F : lead & 0x07;
    bool good = extra > 0;
    for (int k = 0; good && k < extra; ++k) {
      if (i >= n || (byte(i) & 0xC0) != 0x80) good = false;
      else cp = (cp << 6) | (byte(i++) & 0x3F);
    }
    static const char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (good && (cp < kMin[extra] || cp > 0x10FFFF || IsSurrogate(cp))) good = false;
    if (!good) ok = false;
    out.push_back(good ? cp : kReplacement);
  }
  return out;
}

std::u32string DecodeUtf16(const char16_t* s, uint32_t n, bool& ok) {
  std::u32string out;
  for (uint32_t i = 0; i < n;) {
    char32_t c = s[i++];
    if (c >= 0xD800 && c <= 0xDBFF && i < n && s[i] >= 0xDC00 && s[i] <= 0xDFFF) {
      out.push_back(0x10000 + ((c - 0xD800) << 10) + (s[i++] - 0xDC00));
    } else if (IsSurrogate(c)) {
      ok = false;
      out.push_back(kReplacement);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::u32string DecodeWide(const wchar_t* s, uint32_t n, bool& ok) {
  if constexpr (sizeof(wchar_t) == 2) {
    return DecodeUtf16(reinterpret_cast<const char16_t*>(s), n, ok);
  } else {
    std::u32string out;
    for (uint32_t i = 0; i < n; ++i) {
      auto c = static_cast<char32_t>(s[i]);
      if (c > 0x10FFFF || IsSurrogate(c)) {
        ok = false;
        c = kReplacement;
      }
      out.push_back(c);
    }
    return out;
  }
}

std::string EncodeUtf8(const std::u32string& cps) {
  std::string out;
  for (char32_t cp : cps) {
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
  return out;
}

std::u16string EncodeUtf16(const std::u32string& cps) {
  std::u16string out;
  for (char32_t cp : cps) {
    if (cp >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::wstring EncodeWide(const std::u32string& cps) {
  if constexpr (sizeof(wchar_t) == 2) {
    std::u16string u = EncodeUtf16(cps);
    return std::wstring(u.begin(), u.end());
  } else {
    return std::wstring(cps.begin(), cps.end());
  }
}

// One string type of the runtime: its characters, its record and its dtor.
template <class C, class S>
struct Strings {
  static void CEF_CALLBACK Free(C* str) {
    delete[] str;
    Freed(Kind::String);
  }

  static void Clear(S* s) {
    if (!s) return;
    if (s->dtor && s->str) s->dtor(s->str);
    s->str = nullptr;
    s->length = 0;
    s->dtor = nullptr;
  }

  static int32_t Set(const C* src, uint32_t length, S* out, int32_t copy) {
    if (!out) return 0;
    if (out->str == src && src) {  // setting a string to itself keeps its characters
      return 1;
    }
    Clear(out);
    if (!src || length == 0) return 1;
    if (copy) {
      C* chars = new C[length + 1];
      Allocated(Kind::String);
      std::memcpy(chars, src, length * sizeof(C));
      chars[length] = 0;
      out->str = chars;
      out->dtor = &Free;
    } else {
      out->str = const_cast<C*>(src);
    }
    out->length = length;
    return 1;
  }

  template <class Text>
  static void Put(const Text& text, S* out) {
    Set(text.data(), static_cast<uint32_t>(text.size()), out, 1);
  }

  static int32_t Compare(const S* a, const S* b) {
    uint32_t na = a && a->str ? a->length : 0;
    uint32_t nb = b && b->str ? b->length : 0;
    for (uint32_t i = 0; i < na && i < nb; ++i) {
      auto ca = static_cast<uint32_t>(static_cast<std::make_unsigned_t<C>>(a->str[i]));
      auto cb = static_cast<uint32_t>(static_cast<std::make_unsigned_t<C>>(b->str[i]));
      if (ca != cb) return ca < cb ? -1 : 1;
    }
    return na == nb ? 0 : na < nb ? -1 : 1;
  }

  static S* AllocUserFree() {
    Allocated(Kind::UserFreeString);
    return new S{};
  }

  static void FreeUserFree(S* s) {
    if (!s) return;
    Clear(s);
    delete s;
    Freed(Kind::UserFreeString);
  }
};

using Utf16 = Strings<char16_t, TCefStringUtf16>;
using Utf8 = Strings<char, TCefStringUtf8>;
using Wide = Strings<wchar_t, TCefStringWide>;

}  // namespace

std::u16string Read(const TCefStringUtf16* s) {
  if (!s || !s->str) return {};
  return std::u16string(s->str, s->length);
}

void Assign(TCefStringUtf16* out, std::u16string_view text) { Utf16::Put(text, out); }

TCefStringUserFreeUtf16 UserFree(std::u16string_view text) {
  TCefStringUserFreeUtf16 s = Utf16::AllocUserFree();
  Assign(s, text);
  return s;
}

std::u16string FromUtf8(std::string_view text) {
  bool ok = true;
  return EncodeUtf16(DecodeUtf8(text.data(), static_cast<uint32_t>(text.size()), ok));
}

std::string ToUtf8(std::u16string_view text) {
  bool ok = true;
  return EncodeUtf8(DecodeUtf16(text.data(), static_cast<uint32_t>(text.size()), ok));
}

}  // namespace standin

using namespace standin;

int32_t cef_string_wide_set(const wchar_t* src, uint32_t src_len, TCefStringWide* output, int32_t copy) {
  Enter("cef_string_wide_set");
  return Wide::Set(src, src_len, output, copy);
}
int32_t cef_string_utf8_set(const char* src, uint32_t src_len, TCefStringUtf8* output, int32_t copy) {
  Enter("cef_string_utf8_set");
  return Utf8::Set(src, src_len, output, copy);
}
int32_t cef_string_utf16_set(const char16_t* src, uint32_t src_len, TCefStringUtf16* output, int32_t copy) {
  Enter("cef_string_utf16_set");
  return Utf16::Set(src, src_len, output, copy);
}
void cef_string_wide_clear(TCefStringWide* str) {
  Enter("cef_string_wide_clear");
  Wide::Clear(str);
}
void cef_string_utf8_clear(TCefStringUtf8* str) {
  Enter("cef_string_utf8_clear");
  Utf8::Clear(str);
}
void cef_string_utf16_clear(TCefStringUtf16* str) {
  Enter("cef_string_utf16_clear");
  Utf16::Clear(str);
}
int32_t cef_string_wide_cmp(const TCefStringWide* a, const TCefStringWide* b) {
  Enter("cef_string_wide_cmp");
  return Wide::Compare(a, b);
}
int32_t cef_string_utf8_cmp(const TCefStringUtf8* a, const TCefStringUtf8* b) {
  Enter("cef_string_utf8_cmp");
  return Utf8::Compare(a, b);
}
int32_t cef_string_utf16_cmp(const TCefStringUtf16* a, const TCefStringUtf16* b) {
  Enter("cef_string_utf16_cmp");
  return Utf16::Compare(a, b);
}

// Conversions answer 0 when the input was ill-formed; the output then holds U+FFFD for it.
#define STANDIN_CONVERT(name, C, decode, Out, encode)              \
  int32_t name(const C* src, uint32_t src_len, Out::Record* output) { \
    Enter(#name);                                                  \
    bool ok = true;                                                \
    Out::Put(encode(decode(src, src_len, ok)), output);            \
    return ok ? 1 : 0;                                             \
  }

namespace standin {
struct Utf16Out : Utf16 { using Record = TCefStringUtf16; };
struct Utf8Out : Utf8 { using Record = TCefStringUtf8; };
struct WideOut : Wide { using Record = TCefStringWide; };
}  // namespace standin

STANDIN_CONVERT(cef_string_wide_to_utf8, wchar_t, DecodeWide, Utf8Out, EncodeUtf8)
STANDIN_CONVERT(cef_string_utf8_to_wide, char, DecodeUtf8, WideOut, EncodeWide)
STANDIN_CONVERT(cef_string_wide_to_utf16, wchar_t, DecodeWide, Utf16Out, EncodeUtf16)
STANDIN_CONVERT(cef_string_utf16_to_wide, char16_t, DecodeUtf16, WideOut, EncodeWide)
STANDIN_CONVERT(cef_string_utf8_to_utf16, char, DecodeUtf8, Utf16Out, EncodeUtf16)
STANDIN_CONVERT(cef_string_utf16_to_utf8, char16_t, DecodeUtf16, Utf8Out, EncodeUtf8)
#undef STANDIN_CONVERT

int32_t cef_string_ascii_to_wide(const char* src, uint32_t src_len, TCefStringWide* output) {
  Enter("cef_string_ascii_to_wide");
  std::wstring wide(src, src + (src ? src_len : 0));
  Wide::Put(wide, output);
  return 1;
}
int32_t cef_string_ascii_to_utf16(const char* src, uint32_t src_len, TCefStringUtf16* output) {
  Enter("cef_string_ascii_to_utf16");
  std::u16string text(src, src + (src ? src_len : 0));
  Utf16::Put(text, output);
  return 1;
}

TCefStringUserFreeWide cef_string_userfree_wide_alloc() {
  Enter("cef_string_userfree_wide_alloc");
  return Wide::AllocUserFree();
}
TCefStringUserFreeUtf8 cef_string_userfree_utf8_alloc() {
  Enter("cef_string_userfree_utf8_alloc");
  return Utf8::AllocUserFree();
}
TCefStringUserFreeUtf16 cef_string_userfree_utf16_alloc() {
  Enter("cef_string_userfree_utf16_alloc");
  return Utf16::AllocUserFree();
}
void cef_string_userfree_wide_free(TCefStringUserFreeWide str) {
  Enter("cef_string_userfree_wide_free");
  Wide::FreeUserFree(str);
}
void cef_string_userfree_utf8_free(TCefStringUserFreeUtf8 str) {
  Enter("cef_string_userfree_utf8_free");
  Utf8::FreeUserFree(str);
}
void cef_string_userfree_utf16_free(TCefStringUserFreeUtf16 str) {
  Enter("cef_string_userfree_utf16_free");
  Utf16::FreeUserFree(str);
}
