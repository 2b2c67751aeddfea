#pragma once
// Two small text functions of the program's own: replacing every occurrence of a text and
// splitting a text at a delimiter. Both are plain text work and need no operating system.

#include <string>
#include <string_view>
#include <vector>

namespace shell {

// Replaces every occurrence of `pattern` in `text` with `replacement`, comparing
// case-sensitively. Occurrences are found from left to right without overlapping, and
// replaced text is not searched again. An empty pattern occurs nowhere: the text comes
// back unchanged.
std::u16string ReplaceAllText(std::u16string_view pattern, std::u16string_view replacement,
                              std::u16string_view text);

// The pieces of `text` between occurrences of `delimiter`, in order. Line breaks already in
// the text (CR, LF or CR LF) split it as well, since the delimiter is first replaced by a
// line break. A break at the very end adds no empty piece, and an empty text gives none.
std::vector<std::u16string> SplitByDelimiter(std::u16string_view delimiter, std::u16string_view text);

}  // namespace shell
