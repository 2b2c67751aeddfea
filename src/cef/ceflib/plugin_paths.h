#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cef {

// Splits a ";"-separated path list. Blanks and control characters around items are
// skipped; an item in double quotes runs to the closing quote ("" inside stands for one
// quote) and may contain blanks and ";"; any other item ends at ";" or at a blank; a ";"
// that ends the text adds a final empty item.
std::vector<std::u16string> SplitPluginPaths(std::u16string_view text);

}  // namespace cef
