#pragma once
// How a load's response is produced: over HTTP on a worker thread, or at once from a file,
// an "about:" address or what the program gave.

#include <string>

#include "page_load.h"

namespace standin {

// False for an address whose scheme the browser does not load itself (mailto: and the
// like): the program is asked what to do with it.
bool KnownScheme(const LoadParams& params);
// True for http:// and https:// addresses: they are fetched on a worker.
bool NeedsNetwork(const LoadParams& params);
// Fills the response of a load that needs no network, and marks it done.
void ProduceLocally(PageLoad& load);

// The disk path a file:// address names.
std::u16string FilePathFromUrl(std::u16string_view url);
// The content type a file's extension suggests; unknown ones are not displayable.
std::string MimeTypeForFile(std::u16string_view path);

}  // namespace standin
