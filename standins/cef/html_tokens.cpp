// Tags, text and character references: the tokenizer of the tolerant parser.

#include "html_tokens.h"

#include <algorithm>
#include <array>

namespace standin::html::tokens {
namespace {

struct NamedReference {
  std::u16string_view name;
  char16_t value;
  bool legacy;  // also recognised without the closing ';', as browsers do for old pages
};

constexpr std::array kNamed = {
    NamedReference{u"amp", u'&', true},       NamedReference{u"lt", u'<', true},
    NamedReference{u"gt", u'>', true},        NamedReference{u"quot", u'"', true},
    NamedReference{u"nbsp", u'\u00A0', true}, NamedReference{u"copy", u'\u00A9', true},
    NamedReference{u"reg", u'\u00AE', true},  NamedReference{u"AMP", u'&', true},
    NamedReference{u"LT", u'<', true},        NamedReference{u"GT", u'>', true},
    NamedReference{u"QUOT", u'"', true},      NamedReference{u"apos", u'\'', false},
    NamedReference{u"trade", u'\u2122', false}, NamedReference{u"hellip", u'\u2026', false},
    NamedReference{u"mdash", u'\u2014', false}, NamedReference{u"ndash", u'\u2013', false},
    NamedReference{u"lsquo", u'\u2018', false}, NamedReference{u"rsquo", u'\u2019', false},
    NamedReference{u"ldquo", u'\u201C', false}, NamedReference{u"rdquo", u'\u201D', false},
    NamedReference{u"laquo", u'\u00AB', true},  NamedReference{u"raquo", u'\u00BB', true},
    NamedReference{u"middot", u'\u00B7', true}, NamedReference{u"bull", u'\u2022', false},
    NamedReference{u"times", u'\u00D7', true},  NamedReference{u"divide", u'\u00F7', true},
    NamedReference{u"euro", u'\u20AC', false},  NamedReference{u"yen", u'\u00A5', true},
    NamedReference{u"pound", u'\u00A3', true},  NamedReference{u"cent", u'\u00A2', true},
    NamedReference{u"sect", u'\u00A7', true},   NamedReference{u"deg", u'\u00B0', true},
    NamedReference{u"plusmn", u'\u00B1', true}, NamedReference{u"para", u'\u00B6', true},
    NamedReference{u"shy", u'\u00AD', true},    NamedReference{u"larr", u'\u2190', false},
    NamedReference{u"rarr", u'\u2192', false},  NamedReference{u"uarr", u'\u2191', false},
    NamedReference{u"darr", u'\u2193', false},  NamedReference{u"hearts", u'\u2665', false},
};

// Numeric references to C1 controls mean what windows-1252 puts there.
constexpr std::array<char16_t, 32> kWindows1252C1 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsAlnum(char16_t c) { return IsDigit(c) || IsAsciiAlpha(c); }

int HexDigit(char16_t c) {
  if (IsDigit(c)) return c - u'0';
  c = AsciiLower(c);
  return c >= u'a' && c <= u'f' ? c - u'a' + 10 : -1;
}

void AppendCodePoint(std::u16string& out, uint32_t cp) {
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp >= 0x80 && cp <= 0x9F) cp = kWindows1252C1[cp - 0x80];
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

// "&#..." at text[at]: appends the character and answers the length read, 0 when none.
size_t Numeric(std::u16string_view text, size_t at, std::u16string& out) {
  size_t i = at + 2;
  bool hex = i < text.size() && (text[i] == u'x' || text[i] == u'X');
  if (hex) ++i;
  size_t digitsFrom = i;
  uint32_t value = 0;
  for (; i < text.size(); ++i) {
    int d = hex ? HexDigit(text[i]) : (IsDigit(text[i]) ? text[i] - u'0' : -1);
    if (d < 0) break;
    value = std::min<uint32_t>(value * (hex ? 16 : 10) + static_cast<uint32_t>(d), 0x110000);
  }
  if (i == digitsFrom) return 0;
  if (i < text.size() && text[i] == u';') ++i;
  AppendCodePoint(out, value);
  return i - at;
}

// "&name" at text[at]: appends the character and answers the length read, 0 when none.
size_t Named(std::u16string_view text, size_t at, bool inAttribute, std::u16string& out) {
  size_t end = at + 1;
  while (end < text.size() && IsAlnum(text[end])) ++end;
  std::u16string_view run = text.substr(at + 1, end - at - 1);
  bool semicolon = end < text.size() && text[end] == u';';
  for (const NamedReference& ref : kNamed) {
    if (semicolon && run == ref.name) {
      out += ref.value;
      return run.size() + 2;
    }
  }
  // Without ';' the longest legacy name at the start of the run counts.
  const NamedReference* best = nullptr;
  for (const NamedReference& ref : kNamed) {
    if (ref.legacy && run.substr(0, ref.name.size()) == ref.name && (!best || ref.name.size() > best->name.size())) best = &ref;
  }
  if (!best) return 0;
  size_t after = at + 1 + best->name.size();
  if (inAttribute && after < text.size() && (IsAlnum(text[after]) || text[after] == u'=')) return 0;
  out += best->value;
  return best->name.size() + 1;
}

bool StartsWithNoCase(std::u16string_view text, size_t at, std::u16string_view prefix) {
  if (text.size() - at < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (AsciiLower(text[at + i]) != prefix[i]) return false;
  }
  return true;
}

std::u16string ReadName(std::u16string_view source, size_t& pos) {
  std::u16string name;
  while (pos < source.size() && !IsAsciiBlank(source[pos]) && source[pos] != u'/' && source[pos] != u'>') {
    name += AsciiLower(source[pos++]);
  }
  return name;
}

}  // namespace

bool IsAsciiBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; }
bool IsAsciiAlpha(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool IsRawTextElement(std::u16string_view name) {
  return name == u"script" || name == u"style" || name == u"xmp" || name == u"iframe" || name == u"noembed" ||
         name == u"noframes" || IsEscapableRawTextElement(name);
}

bool IsEscapableRawTextElement(std::u16string_view name) { return name == u"textarea" || name == u"title"; }

std::u16string DecodeReferences(std::u16string_view text, bool inAttribute) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    size_t used = 0;
    if (text[i] == u'&' && i + 1 < text.size()) {
      used = text[i + 1] == u'#' ? Numeric(text, i, out) : Named(text, i, inAttribute, out);
    }
    if (used) {
      i += used;
    } else {
      out += text[i++];
    }
  }
  return out;
}

bool Tokenizer::Next(Token& token) {
  token = Token{};
  if (!rawElement_.empty() && RawText(token)) return true;
  while (pos_ < source_.size()) {
    if (source_[pos_] != u'<') {
      Text(token);
      return true;
    }
    if (Markup(token)) return true;
  }
  return false;
}

// The content of a raw-text element up to its own end tag, which is left for the next call.
bool Tokenizer::RawText(Token& token) {
  size_t end = pos_;
  while (true) {
    end = source_.find(u"</", end);
    if (end == std::u16string_view::npos) {
      end = source_.size();
      break;
    }
    size_t after = end + 2 + rawElement_.size();
    if (StartsWithNoCase(source_, end + 2, rawElement_) &&
        (after >= source_.size() || IsAsciiBlank(source_[after]) || source_[after] == u'/' || source_[after] == u'>')) {
      break;
    }
    end += 2;
  }
  std::u16string_view raw = source_.substr(pos_, end - pos_);
  pos_ = end;
  rawElement_.clear();
  if (raw.empty()) return false;
  token.kind = Token::Kind::Text;
  token.text = rawDecodes_ ? DecodeReferences(raw, false) : std::u16string(raw);
  return true;
}

// At a '<': a tag fills the token; comments and declarations are skipped (false); a '<'
// that begins nothing becomes a one-character text token (true).
bool Tokenizer::Markup(Token& token) {
  std::u16string_view rest = source_.substr(pos_);
  if (rest.size() > 1 && IsAsciiAlpha(rest[1])) return StartTag(token);
  if (rest.size() > 2 && rest[1] == u'/' && IsAsciiAlpha(rest[2])) return EndTag(token);
  if (rest.substr(0, 4) == u"<!--") {
    pos_ += 4;
    if (source_.substr(pos_, 1) == u">") {
      ++pos_;
    } else if (source_.substr(pos_, 2) == u"->") {
      pos_ += 2;
    } else {
      SkipTo(u"-->");
    }
    return false;
  }
  if (rest.size() > 1 && (rest[1] == u'!' || rest[1] == u'?' || rest[1] == u'/')) {
    SkipTo(u">");
    return false;
  }
  ++pos_;
  token.kind = Token::Kind::Text;
  token.text.assign(1, u'<');
  return true;
}

void Tokenizer::SkipTo(std::u16string_view end) {
  size_t found = source_.find(end, pos_);
  pos_ = found == std::u16string_view::npos ? source_.size() : found + end.size();
}

bool Tokenizer::StartTag(Token& token) {
  ++pos_;
  token.kind = Token::Kind::StartTag;
  token.name = ReadName(source_, pos_);
  ReadAttributes(token);
  if (pos_ >= source_.size()) {
    pos_ = source_.size();  // a tag cut off by the end of the page is dropped, as browsers do
    return false;
  }
  ++pos_;  // '>'
  if (IsRawTextElement(token.name)) {
    rawElement_ = token.name;
    rawDecodes_ = IsEscapableRawTextElement(token.name);
  }
  return true;
}

bool Tokenizer::EndTag(Token& token) {
  pos_ += 2;
  token.kind = Token::Kind::EndTag;
  token.name = ReadName(source_, pos_);
  SkipTo(u">");  // attributes of an end tag mean nothing
  return true;
}

void Tokenizer::ReadAttributes(Token& token) {
  while (pos_ < source_.size()) {
    char16_t c = source_[pos_];
    if (c == u'>') return;
    if (IsAsciiBlank(c)) {
      ++pos_;
      continue;
    }
    if (c == u'/') {
      ++pos_;
      token.selfClosing = pos_ < source_.size() && source_[pos_] == u'>';
      continue;
    }
    std::u16string name(1, AsciiLower(source_[pos_++]));  // a leading '=' belongs to the name
    while (pos_ < source_.size() && !IsAsciiBlank(source_[pos_]) && source_[pos_] != u'/' && source_[pos_] != u'>' &&
           source_[pos_] != u'=') {
      name += AsciiLower(source_[pos_++]);
    }
    size_t look = pos_;
    while (look < source_.size() && IsAsciiBlank(source_[look])) ++look;
    std::u16string value;
    if (look < source_.size() && source_[look] == u'=') {
      pos_ = look + 1;
      value = ReadAttributeValue();
    }
    bool known = std::any_of(token.attributes.begin(), token.attributes.end(), [&](const auto& a) { return a.first == name; });
    if (!known) token.attributes.emplace_back(std::move(name), std::move(value));
  }
}

std::u16string Tokenizer::ReadAttributeValue() {
  while (pos_ < source_.size() && IsAsciiBlank(source_[pos_])) ++pos_;
  if (pos_ >= source_.size()) return {};
  char16_t quote = source_[pos_];
  size_t start = pos_;
  size_t end = pos_;
  if (quote == u'"' || quote == u'\'') {
    start = pos_ + 1;
    end = source_.find(quote, start);
    if (end == std::u16string_view::npos) end = source_.size();
    pos_ = std::min(end + 1, source_.size());
  } else {
    while (end < source_.size() && !IsAsciiBlank(source_[end]) && source_[end] != u'>') ++end;
    pos_ = end;
  }
  return DecodeReferences(source_.substr(start, end - start), true);
}

void Tokenizer::Text(Token& token) {
  size_t end = source_.find(u'<', pos_);
  if (end == std::u16string_view::npos) end = source_.size();
  token.kind = Token::Kind::Text;
  token.text = DecodeReferences(source_.substr(pos_, end - pos_), false);
  pos_ = end;
}

bool OneOf(std::u16string_view name, std::initializer_list<std::u16string_view> names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsVoidElement(std::u16string_view name) {
  return OneOf(name, {u"area", u"base", u"br", u"col", u"embed", u"hr", u"img", u"input", u"keygen", u"link", u"meta",
                      u"param", u"source", u"track", u"wbr", u"basefont", u"bgsound", u"frame"});
}

}  // namespace standin::html::tokens
