#include "shell/my_utils.h"

namespace shell {
namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";

bool IsLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }

// The text's lines: each ends at CR, LF or CR LF, and a break at the very end starts no
// further line.
std::vector<std::u16string> SplitLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  size_t position = 0;
  while (position < text.size()) {
    size_t end = position;
    while (end < text.size() && !IsLineEnd(text[end])) ++end;
    lines.emplace_back(text.substr(position, end - position));
    if (end < text.size() && text[end] == u'\r') ++end;
    if (end < text.size() && text[end] == u'\n') ++end;
    position = end;
  }
  return lines;
}

}  // namespace

std::u16string ReplaceAllText(std::u16string_view pattern, std::u16string_view replacement,
                              std::u16string_view text) {
  if (pattern.empty()) return std::u16string(text);
  std::u16string result;
  result.reserve(text.size());
  size_t position = 0;
  for (size_t found = text.find(pattern); found != std::u16string_view::npos;
       found = text.find(pattern, position)) {
    result.append(text.substr(position, found - position));
    result.append(replacement);
    position = found + pattern.size();
  }
  result.append(text.substr(position));
  return result;
}

std::vector<std::u16string> SplitByDelimiter(std::u16string_view delimiter, std::u16string_view text) {
  return SplitLines(ReplaceAllText(delimiter, kLineBreak, text));
}

}  // namespace shell
