// libFuzzer over the decisions on untrusted text. The first byte picks the decision, the rest
// is the text as UTF-16 units (so unpaired surrogates and every control character occur).
// Each decision is held to properties of its answer, never to a second copy of its rules.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "shell/config.h"
#include "shell/untrusted.h"

namespace {

void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", property);
  std::abort();
}

bool IsControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }
bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

std::u16string Lower(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& c : lower)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return lower;
}

bool HasUnpairedSurrogate(std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1])) {
      ++i;
      continue;
    }
    if (IsHigh(text[i]) || IsLow(text[i])) return true;
  }
  return false;
}

void CheckShellTarget(std::u16string_view target) {
  std::optional<std::u16string> opened = shell::WebAddressToOpen(target);
  if (!opened) return;
  const std::u16string lower = Lower(*opened);
  Require(lower.rfind(u"http://", 0) == 0 || lower.rfind(u"https://", 0) == 0, "opens only web addresses");
  Require(opened->size() > lower.find(u"//") + 2, "a web address has a host");
  for (char16_t c : *opened) Require(!IsControl(c) && c != u'"', "no control character or quote reaches the shell");
  Require(opened->front() != u' ' && opened->back() != u' ', "blanks around are trimmed");
  Require(target.find(*opened) != std::u16string_view::npos, "the address is the page's own, trimmed");
}

void CheckServiceAddress(std::u16string_view url) {
  if (!shell::IsServiceAddress(url)) return;
  const std::u16string scheme = std::u16string(shell::ServiceScheme) + u"://";
  const std::u16string lower = Lower(url);
  Require(lower.rfind(scheme, 0) == 0, "only the service's scheme counts");
  const std::u16string host = Lower(shell::ServiceHost);
  Require(lower.compare(scheme.size(), host.size(), host) == 0, "the service's host comes right after the scheme");
  size_t end = scheme.size() + host.size();
  Require(end == lower.size() || std::u16string_view(u"/?#\\").find(lower[end]) != std::u16string_view::npos,
          "nothing follows the host in the authority");
}

bool Reserved(std::u16string_view name) {
  std::u16string base = Lower(name.substr(0, name.find(u'.')));
  while (!base.empty() && base.back() == u' ') base.pop_back();
  for (std::u16string_view device : {u"con", u"prn", u"aux", u"nul", u"conin$", u"conout$"})
    if (base == device) return true;
  if (base.size() != 4 || (base.rfind(u"com", 0) != 0 && base.rfind(u"lpt", 0) != 0)) return false;
  return std::u16string_view(u"0123456789\u00B9\u00B2\u00B3").find(base[3]) != std::u16string_view::npos;
}

void CheckFileName(std::u16string_view suggested) {
  const std::u16string name = shell::ValidFileName(suggested);
  Require(!name.empty(), "never empty");
  Require(name.size() <= shell::kMaxSuggestedName, "at most 200 units");
  Require(!Reserved(name), "never a reserved device name");
  Require(!HasUnpairedSurrogate(name), "no unpaired surrogate");
  for (char16_t c : name) {
    Require(!IsControl(c), "no control character");
    Require(std::u16string_view(u"<>:\"/\\|?*").find(c) == std::u16string_view::npos, "no forbidden character");
    Require(c != 0x061C && c != 0x200E && c != 0x200F && !(c >= 0x202A && c <= 0x202E) && !(c >= 0x2066 && c <= 0x2069),
            "no direction control");
  }
  Require(name.front() != u' ' && name.back() != u' ' && name.back() != u'.', "no blank at either end, no dot at the end");
  Require(name.rfind(u'.') != 0, "a stem before the extension");
  Require(shell::ValidFileName(name) == name, "a valid name stays as it is");
}

size_t Count(std::u16string_view text, std::u16string_view marks) {
  size_t n = 0;
  for (char16_t c : text) n += marks.find(c) != std::u16string_view::npos;
  return n;
}

void CheckPortalAddress(std::u16string_view bidNumber) {
  static const std::u16string empty = shell::BidListAddress(u"");
  const std::u16string address = shell::BidListAddress(bidNumber);
  Require(Count(address, u"&#?") == Count(empty, u"&#?"), "the bid number adds no '&', '#' or '?'");
  Require(address.rfind(empty.substr(0, empty.find(u"bidno=") + 6), 0) == 0, "the portal page stays the same");
  for (char16_t c : address) Require(c > 0x20 && c < 0x7F, "only printable ASCII in the address");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::u16string text;
  for (size_t i = 1; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  switch (data[0] % 4) {
    case 0: CheckShellTarget(text); break;
    case 1: CheckServiceAddress(text); break;
    case 2: CheckFileName(text); break;
    case 3: CheckPortalAddress(text); break;
  }
  return 0;
}
