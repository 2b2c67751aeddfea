#include "cef/ceflib/plugin_paths.h"

namespace cef {
namespace {

bool IsBlank(char16_t c) { return c >= 1 && c <= 32; }

// The text ends at its end or at a NUL, as a zero-terminated text would.
bool AtEnd(std::u16string_view s, size_t i) { return i >= s.size() || s[i] == 0; }

std::u16string TakeQuoted(std::u16string_view s, size_t& i) {
  std::u16string item;
  ++i;  // opening quote
  while (!AtEnd(s, i)) {
    if (s[i] == u'"') {
      if (i + 1 < s.size() && s[i + 1] == u'"') {
        item.push_back(u'"');
        i += 2;
        continue;
      }
      ++i;  // closing quote
      break;
    }
    item.push_back(s[i++]);
  }
  return item;
}

}  // namespace

std::vector<std::u16string> SplitPluginPaths(std::u16string_view s) {
  std::vector<std::u16string> items;
  size_t i = 0;
  while (!AtEnd(s, i) && IsBlank(s[i])) ++i;
  while (!AtEnd(s, i)) {
    if (s[i] == u'"') {
      items.push_back(TakeQuoted(s, i));
    } else {
      size_t start = i;
      while (!AtEnd(s, i) && !IsBlank(s[i]) && s[i] != u';') ++i;
      items.emplace_back(s.substr(start, i - start));
    }
    while (!AtEnd(s, i) && IsBlank(s[i])) ++i;
    if (!AtEnd(s, i) && s[i] == u';') {
      if (AtEnd(s, i + 1)) items.emplace_back();
      do ++i;
      while (!AtEnd(s, i) && IsBlank(s[i]));
    }
  }
  return items;
}

}  // namespace cef
