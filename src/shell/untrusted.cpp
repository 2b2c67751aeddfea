#include "shell/untrusted.h"

#include <algorithm>
#include <array>

#include "platform/text.h"
#include "shell/config.h"

namespace shell {
namespace {

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }
char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return AsciiLower(x) == AsciiLower(y); });
}

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view head) {
  return text.size() >= head.size() && EqualsIgnoringCase(text.substr(0, head.size()), head);
}

bool IsControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The authority of an address after its "scheme://": up to the first path, query or fragment
// mark. A backslash counts as a path mark, as browsers read it.
std::u16string_view AuthorityOf(std::u16string_view rest) { return rest.substr(0, rest.find_first_of(u"/?#\\")); }

// ---- the shell's targets

std::u16string_view TrimBlanks(std::u16string_view text) {
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// The host of an authority: without a user part in front and a port behind.
std::u16string_view HostOf(std::u16string_view authority) {
  size_t at = authority.rfind(u'@');
  if (at != std::u16string_view::npos) authority.remove_prefix(at + 1);
  // An IPv6 literal keeps its colons inside the brackets.
  if (!authority.empty() && authority.front() == u'[') return authority.substr(0, authority.find(u']') + 1);
  return authority.substr(0, authority.find(u':'));
}

// ---- file names

bool ChangesDirection(char16_t c) {
  return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

bool ForbiddenInName(char16_t c) {
  return IsControl(c) || ChangesDirection(c) || std::u16string_view(u"<>:\"/\\|?*").find(c) != std::u16string_view::npos;
}

// Forbidden characters and surrogates without their other half become '_'.
std::u16string CleanCharacters(std::u16string_view name) {
  std::u16string clean(name);
  for (size_t i = 0; i < clean.size(); ++i) {
    char16_t c = clean[i];
    if (IsHighSurrogate(c) && i + 1 < clean.size() && IsLowSurrogate(clean[i + 1])) {
      ++i;
      continue;
    }
    if (ForbiddenInName(c) || IsHighSurrogate(c) || IsLowSurrogate(c)) clean[i] = u'_';
  }
  return clean;
}

// Blanks at either end go, and dots at the end: Windows drops those itself, so a name would
// not be the one the user was shown.
void TrimName(std::u16string& name) {
  while (!name.empty() && (name.back() == u'.' || name.back() == u' ')) name.pop_back();
  size_t lead = name.find_first_not_of(u' ');
  name.erase(0, lead == std::u16string::npos ? name.size() : lead);
}

// Windows maps these to devices whatever extension follows ("CON.txt" is the console) and
// ignores blanks before the dot.
bool ReservedDeviceName(std::u16string_view name) {
  std::u16string base;
  for (char16_t c : name.substr(0, name.find(u'.'))) base.push_back(AsciiUpper(c));
  while (!base.empty() && base.back() == u' ') base.pop_back();
  static constexpr std::array<std::u16string_view, 6> kPlain{u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"};
  if (std::find(kPlain.begin(), kPlain.end(), base) != kPlain.end()) return true;
  if (base.size() != 4 || (base.compare(0, 3, u"COM") != 0 && base.compare(0, 3, u"LPT") != 0)) return false;
  // Windows counts the superscript digits one to three as port numbers too.
  return (base[3] >= u'0' && base[3] <= u'9') || base[3] == u'\u00B9' || base[3] == u'\u00B2' || base[3] == u'\u00B3';
}

// Keeps at most `length` units, without splitting a surrogate pair.
std::u16string_view Head(std::u16string_view text, size_t length) {
  if (text.size() <= length) return text;
  if (length > 0 && IsHighSurrogate(text[length - 1])) --length;
  return text.substr(0, length);
}

std::u16string CutKeepingExtension(const std::u16string& name) {
  if (name.size() <= kMaxSuggestedName) return name;
  size_t dot = name.rfind(u'.');
  // An "extension" as long as the name allows is not one to keep.
  if (dot == std::u16string::npos || dot == 0 || name.size() - dot >= kMaxSuggestedName / 2)
    return std::u16string(Head(name, kMaxSuggestedName));
  std::u16string_view extension = std::u16string_view(name).substr(dot);
  std::u16string cut(Head(std::u16string_view(name).substr(0, dot), kMaxSuggestedName - extension.size()));
  TrimName(cut);
  return cut + std::u16string(extension);
}

// One round of the rules that depend on the whole name; a round that adds a character may
// need one more to cut the name back.
std::u16string Settle(std::u16string name) {
  TrimName(name);
  name = CutKeepingExtension(name);
  TrimName(name);
  size_t dot = name.rfind(u'.');
  if (dot == 0 || name.empty()) name.insert(0, u"download");
  if (ReservedDeviceName(name)) name.insert(0, 1, u'_');
  return name;
}

// ---- the portal's address

void AppendPercentEncoded(std::u16string& out, unsigned byte) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  out.push_back(u'%');
  out.push_back(kHex[byte >> 4]);
  out.push_back(kHex[byte & 0xF]);
}

// UTF-8 of the text, percent-encoded but for the characters that mean nothing in an address;
// a surrogate without its other half goes as U+FFFD.
std::u16string PercentEncoded(std::u16string_view text) {
  std::u16string out;
  for (unsigned char byte : platform::Utf16ToUtf8(text)) {
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') || byte == '-' ||
        byte == '_' || byte == '.')
      out.push_back(static_cast<char16_t>(byte));
    else
      AppendPercentEncoded(out, byte);
  }
  return out;
}

}  // namespace

std::optional<std::u16string> WebAddressToOpen(std::u16string_view target) {
  target = TrimBlanks(target);
  std::u16string_view rest;
  for (std::u16string_view scheme : {u"http://", u"https://"})
    if (StartsWithIgnoringCase(target, scheme)) rest = target.substr(scheme.size());
  if (rest.empty() || HostOf(AuthorityOf(rest)).empty()) return std::nullopt;
  // A quote would end the address where a browser's command line quotes it as an argument;
  // a web address never holds one unencoded.
  if (std::any_of(target.begin(), target.end(), [](char16_t c) { return IsControl(c) || c == u'"'; }))
    return std::nullopt;
  return std::u16string(target);
}

bool IsServiceAddress(std::u16string_view url) {
  const std::u16string scheme = std::u16string(ServiceScheme) + u"://";
  if (!StartsWithIgnoringCase(url, scheme)) return false;
  std::u16string_view authority = AuthorityOf(url.substr(scheme.size()));
  // The service's addresses carry no user name; one in front of the host would make a
  // foreign host look like the service's at a glance, so such an address is refused.
  if (authority.find(u'@') != std::u16string_view::npos) return false;
  return EqualsIgnoringCase(authority, ServiceHost);
}

std::u16string ValidFileName(std::u16string_view suggested) {
  size_t slash = suggested.find_last_of(u"\\/");
  std::u16string name = CleanCharacters(slash == std::u16string_view::npos ? suggested : suggested.substr(slash + 1));
  // Two rounds settle any name: the second only cuts back what the first added.
  name = Settle(Settle(std::move(name)));
  return name;
}

std::u16string BidListAddress(std::u16string_view bidNumber) {
  // The portal's frame page, showing the bid list of its inner server searched for the bid
  // number. The inner address is not encoded: its "?" and "&" stand in the outer one as they are.
  const std::u16string portal = std::u16string(u"http://") + PortalHost;
  return portal + u"/pt/menu/selectSubFrame.do?framesrc=/pt/menu/frameTgong.do?url=" + portal +
         u":8101/ep/tbid/tbidList.do?bidSearchType=1&bidno=" + PercentEncoded(bidNumber) + u"&searchType=2";
}

}  // namespace shell
