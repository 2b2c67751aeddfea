#pragma once
// File names from elsewhere (a server's suggestion) made into one name that Windows accepts
// for a file in a folder, so that the save dialog opens with it.

#include <string>
#include <string_view>

namespace platform {

// The longest name that ValidFileName gives, in UTF-16 units.
inline constexpr size_t kMaxSuggestedName = 200;

// Only the last path piece is kept; characters Windows forbids become '_'; trailing dots and
// blanks go; a reserved device name (CON, NUL, COM1, ... also with an extension) gets a '_'
// in front; a longer name is cut keeping its extension; nothing left gives "download".
std::u16string ValidFileName(std::u16string_view suggested);

}  // namespace platform
