#pragma once
// Opens the procurement portal's bid list in Internet Explorer through COM automation,
// reusing an Internet Explorer window that already shows the portal.

#include <string>

#include "base/ref.h"

struct IWebBrowser2;

namespace shell {

// Shows the portal's bid list searched for the bid number in `second`: the text before its
// first "-" ("123" of "123-45"). An empty `second` gives an empty bid number but still
// navigates; `first` is not used. When Internet Explorer cannot be created the user is
// told so and nothing else happens; any other failing automation call raises EComError
// and ends the operation there, before the navigation.
void OpenG2bBidList(const std::u16string& first, const std::u16string& second);

// The first window in the shell's window order that shows the site of `kind` ("g2b", the
// only kind known: the portal), or null. Windows that are not web browsers are passed over.
base::Ref<IWebBrowser2> FindIEWindow(const std::u16string& kind);

}  // namespace shell
