#pragma once
// The decisions the program takes on text that a page, a server or the network chose: what a
// page may have the shell open, which page counts as the service's own, what a suggested file
// name becomes, and the portal address made from a page's bid number. Each is a pure function
// of its input (and the values built into the program), so that the native tree builds and
// fuzzes it; the callers act only on the answer.

#include <optional>
#include <string>
#include <string_view>

namespace shell {

// The longest name that ValidFileName gives, in UTF-16 units.
inline constexpr size_t kMaxSuggestedName = 200;

// What the shell may open for a page: the target without its blanks (space and tab) at either
// end when that is an absolute http: or https: address with a host, without control
// characters or quotes; nothing for anything else (paths, UNC names, other schemes).
std::optional<std::u16string> WebAddressToOpen(std::u16string_view target);

// Whether url is an address of the service's scheme on the service's host (port included).
bool IsServiceAddress(std::u16string_view url);

// One name that Windows accepts for a file in a folder and that shows what it is: only the
// last path piece is kept; forbidden, control and direction-changing characters and unpaired
// surrogates become '_'; blanks at either end and dots at the end go; a longer name is cut
// keeping its extension; an empty stem becomes "download"; a reserved device name (CON,
// COM0, LPT³, CONIN$, ... also with an extension) gets a '_' in front. Never empty.
std::u16string ValidFileName(std::u16string_view suggested);

// The portal's bid-list address for a bid number, which goes in percent-encoded (UTF-8)
// except for ASCII letters, digits, '-', '_' and '.'.
std::u16string BidListAddress(std::u16string_view bidNumber);

}  // namespace shell
