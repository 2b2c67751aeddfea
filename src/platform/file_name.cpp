#include "platform/file_name.h"

#include <array>

namespace platform {
namespace {

bool Forbidden(char16_t c) {
  return c < 0x20 || std::u16string_view(u"<>:\"/\\|?*").find(c) != std::u16string_view::npos;
}

void TrimTrailingDotsAndBlanks(std::u16string& name) {
  while (!name.empty() && (name.back() == u'.' || name.back() == u' ')) name.pop_back();
}

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

// Windows maps these to devices whatever extension follows: "CON.txt" is the console.
bool ReservedDeviceName(std::u16string_view name) {
  std::u16string base;
  for (char16_t c : name.substr(0, name.find(u'.'))) base.push_back(Upper(c));
  while (!base.empty() && base.back() == u' ') base.pop_back();
  static constexpr std::array<std::u16string_view, 4> kPlain{u"CON", u"PRN", u"AUX", u"NUL"};
  for (std::u16string_view reserved : kPlain)
    if (base == reserved) return true;
  return base.size() == 4 && (base.compare(0, 3, u"COM") == 0 || base.compare(0, 3, u"LPT") == 0) &&
         base[3] >= u'1' && base[3] <= u'9';
}

// Keeps at most `length` units, without splitting a surrogate pair.
std::u16string_view Head(std::u16string_view text, size_t length) {
  if (text.size() <= length) return text;
  if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) --length;
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
  TrimTrailingDotsAndBlanks(cut);
  return cut + std::u16string(extension);
}

}  // namespace

std::u16string ValidFileName(std::u16string_view suggested) {
  size_t slash = suggested.find_last_of(u"\\/");
  std::u16string name(slash == std::u16string_view::npos ? suggested : suggested.substr(slash + 1));
  for (char16_t& c : name)
    if (Forbidden(c)) c = u'_';
  TrimTrailingDotsAndBlanks(name);
  if (ReservedDeviceName(name)) name.insert(0, 1, u'_');
  name = CutKeepingExtension(name);
  TrimTrailingDotsAndBlanks(name);
  return name.empty() ? u"download" : name;
}

}  // namespace platform
