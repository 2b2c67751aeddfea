// A page's bytes to text: the charset from the answer, a byte order mark or a <meta>
// near the start, decoded as browsers do (euc-kr read as its superset, code page 949).

#include <algorithm>
#include <array>
#include <cstring>
#include <initializer_list>
#include <string>

#include "html.h"
#include "standin.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace standin::html {
namespace {

enum class Encoding { Unknown, Utf8, Utf16Le, Utf16Be, Korean, Windows1252 };

constexpr size_t kPrescanBytes = 1024;
constexpr char16_t kReplacement = 0xFFFD;

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return lower;
}

bool OneOf(std::string_view label, std::initializer_list<std::string_view> labels) {
  return std::find(labels.begin(), labels.end(), label) != labels.end();
}

std::string_view TrimLabel(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '"' || c == '\''; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// The labels browsers accept for the encodings a Korean service meets.
Encoding FromLabel(std::string_view name) {
  std::string label = Lower(TrimLabel(name));
  if (OneOf(label, {"utf-8", "utf8", "unicode-1-1-utf-8", "unicode11utf8", "unicode20utf8", "x-unicode20utf8"})) {
    return Encoding::Utf8;
  }
  if (OneOf(label, {"euc-kr", "cp949", "windows-949", "x-windows-949", "ks_c_5601-1987", "ks_c_5601-1989", "ksc5601",
                    "ksc_5601", "korean", "csksc56011987", "iso-ir-149", "cseuckr", "uhc"})) {
    return Encoding::Korean;
  }
  if (OneOf(label, {"iso-8859-1", "iso8859-1", "iso_8859-1", "latin1", "l1", "cp1252", "windows-1252", "x-cp1252",
                    "us-ascii", "ascii", "ansi_x3.4-1968", "cp819", "ibm819", "iso-ir-100", "csisolatin1"})) {
    return Encoding::Windows1252;
  }
  if (OneOf(label, {"utf-16le", "utf-16", "unicode", "ucs-2", "csunicode"})) return Encoding::Utf16Le;
  if (label == "utf-16be") return Encoding::Utf16Be;
  return Encoding::Unknown;
}

Encoding FromByteOrderMark(const std::vector<uint8_t>& bytes, size_t& skip) {
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    skip = 3;
    return Encoding::Utf8;
  }
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    skip = 2;
    return Encoding::Utf16Le;
  }
  if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
    skip = 2;
    return Encoding::Utf16Be;
  }
  return Encoding::Unknown;
}

// The attributes of one <meta ...> tag, names lower case.
std::vector<std::pair<std::string, std::string>> MetaAttributes(std::string_view tag) {
  std::vector<std::pair<std::string, std::string>> attributes;
  size_t i = 0;
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '/'; };
  while (i < tag.size()) {
    while (i < tag.size() && blank(tag[i])) ++i;
    size_t start = i;
    while (i < tag.size() && !blank(tag[i]) && tag[i] != '=') ++i;
    std::string name = Lower(tag.substr(start, i - start));
    while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t')) ++i;
    std::string value;
    if (i < tag.size() && tag[i] == '=') {
      ++i;
      while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t')) ++i;
      char quote = i < tag.size() && (tag[i] == '"' || tag[i] == '\'') ? tag[i] : 0;
      if (quote) ++i;
      start = i;
      while (i < tag.size() && (quote ? tag[i] != quote : !blank(tag[i]))) ++i;
      value = std::string(tag.substr(start, i - start));
      if (quote && i < tag.size()) ++i;
    }
    if (!name.empty()) attributes.emplace_back(std::move(name), std::move(value));
  }
  return attributes;
}

// "text/html; charset=euc-kr" → euc-kr.
Encoding FromContentAttribute(std::string_view content) {
  std::string lower = Lower(content);
  size_t at = lower.find("charset");
  if (at == std::string::npos) return Encoding::Unknown;
  at = lower.find_first_not_of(" \t", at + 7);
  if (at == std::string::npos || lower[at] != '=') return Encoding::Unknown;
  std::string_view rest = std::string_view(lower).substr(at + 1);
  return FromLabel(rest.substr(0, rest.find_first_of(";, ")));
}

Encoding FromMetaTag(std::string_view tag) {
  bool contentType = false;
  std::string content;
  for (const auto& [name, value] : MetaAttributes(tag)) {
    if (name == "charset") return FromLabel(value);
    if (name == "http-equiv") contentType = Lower(TrimLabel(value)) == "content-type";
    if (name == "content") content = value;
  }
  return contentType ? FromContentAttribute(content) : Encoding::Unknown;
}

// The first <meta> near the start that names a charset, as browsers prescan a page.
Encoding FromMeta(const std::vector<uint8_t>& bytes) {
  std::string head(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), kPrescanBytes)));
  std::string lower = Lower(head);
  for (size_t at = lower.find("<meta"); at != std::string::npos; at = lower.find("<meta", at + 5)) {
    size_t start = at + 5;
    if (start >= lower.size() || !(lower[start] == ' ' || lower[start] == '\t' || lower[start] == '\n' ||
                                   lower[start] == '\r' || lower[start] == '/')) {
      continue;
    }
    size_t end = lower.find('>', start);
    if (end == std::string::npos) break;
    Encoding found = FromMetaTag(std::string_view(head).substr(start, end - start));
    // A page that claims UTF-16 in its own bytes cannot be; browsers read it as UTF-8.
    if (found == Encoding::Utf16Le || found == Encoding::Utf16Be) return Encoding::Utf8;
    if (found != Encoding::Unknown) return found;
  }
  return Encoding::Unknown;
}

std::u16string DecodeUtf16(const uint8_t* data, size_t size, bool bigEndian) {
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) {
    text += bigEndian ? static_cast<char16_t>(data[i] << 8 | data[i + 1]) : static_cast<char16_t>(data[i + 1] << 8 | data[i]);
  }
  if (size % 2) text += kReplacement;
  return text;
}

constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::u16string DecodeWindows1252(const uint8_t* data, size_t size) {
  std::u16string text(size, u'\0');
  for (size_t i = 0; i < size; ++i) {
    uint8_t b = data[i];
    text[i] = b >= 0x80 && b <= 0x9F ? kWindows1252High[b - 0x80] : static_cast<char16_t>(b);
  }
  return text;
}

// A bad pair costs one character; a trail byte that is ASCII is read again on its own,
// as browsers' euc-kr decoder does.
size_t SkipBadSequence(const uint8_t* in, size_t left) { return left >= 2 && in[0] >= 0x81 && in[1] >= 0x80 ? 2 : 1; }

#ifdef _WIN32
// One character at a time, so that a bad pair becomes U+FFFD rather than the code page's
// default character.
std::u16string DecodeKorean(const uint8_t* data, size_t size) {
  std::u16string text;
  text.reserve(size);
  for (size_t i = 0; i < size;) {
    if (data[i] < 0x80) {
      text += static_cast<char16_t>(data[i++]);
      continue;
    }
    wchar_t c = 0;
    bool pair = i + 1 < size &&
                MultiByteToWideChar(949, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(data + i), 2, &c, 1) == 1;
    if (pair) {
      text += static_cast<char16_t>(c);
      i += 2;
    } else {
      text += kReplacement;
      i += SkipBadSequence(data + i, size - i);
    }
  }
  return text;
}
#else
class Converter {
 public:
  Converter() : cd_(iconv_open("UTF-16LE", "CP949")) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

std::u16string DecodeKorean(const uint8_t* data, size_t size) {
  Converter converter;
  if (!converter.ok()) return DecodeWindows1252(data, size);
  std::u16string text;
  char* in = const_cast<char*>(reinterpret_cast<const char*>(data));
  size_t inLeft = size;
  std::array<char, 4096> buffer;
  while (inLeft > 0) {
    char* out = buffer.data();
    size_t outLeft = buffer.size();
    size_t result = iconv(converter.get(), &in, &inLeft, &out, &outLeft);
    size_t produced = buffer.size() - outLeft;
    for (size_t i = 0; i + 1 < produced; i += 2) {
      text += static_cast<char16_t>(static_cast<uint8_t>(buffer[i + 1]) << 8 | static_cast<uint8_t>(buffer[i]));
    }
    if (result != static_cast<size_t>(-1) || errno == E2BIG) continue;
    text += kReplacement;
    size_t skip = errno == EINVAL ? inLeft : SkipBadSequence(reinterpret_cast<const uint8_t*>(in), inLeft);
    in += skip;
    inLeft -= skip;
  }
  return text;
}
#endif

}  // namespace

std::u16string DecodeText(const std::vector<uint8_t>& bytes, std::string_view charset) {
  size_t skip = 0;
  Encoding encoding = FromByteOrderMark(bytes, skip);
  if (encoding == Encoding::Unknown) encoding = FromLabel(charset);
  if (encoding == Encoding::Unknown) encoding = FromMeta(bytes);
  const uint8_t* data = bytes.data() + skip;
  size_t size = bytes.size() - skip;
  switch (encoding) {
    case Encoding::Korean: return DecodeKorean(data, size);
    case Encoding::Windows1252: return DecodeWindows1252(data, size);
    case Encoding::Utf16Le: return DecodeUtf16(data, size, false);
    case Encoding::Utf16Be: return DecodeUtf16(data, size, true);
    case Encoding::Utf8:
    case Encoding::Unknown: break;
  }
  return FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
}

}  // namespace standin::html
