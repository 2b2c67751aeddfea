#pragma once
// The mark of the web on downloads: a file that came from the network says so from the moment
// it exists, so that Windows and Office warn before running or editing it, and once saved the
// system's attachment service (policy, the virus scanner) sees it.

#include <string>
#include <string_view>

namespace shell {

// Where a download comes from, as the mark names it: the main frame's address at the
// download's start without control characters (a line break would add lines to the mark),
// or "about:internet" when there is none.
std::u16string DownloadSource(std::u16string_view mainFrameAddress);

// The Zone.Identifier text of a file from source: the Internet zone.
std::string ZoneIdentifierText(const std::u16string& source);

// Right after the file is created. A volume without streams cannot carry the mark: that is
// traced, and the download goes on.
void MarkDownload(const std::u16string& path, const std::u16string& source);

// Once the file is saved and closed, on the window's thread: false when the attachment
// service removed or refused the file. Without the service the stream is the mark.
bool KeptAfterAttachmentCheck(const std::u16string& path, const std::u16string& source);

}  // namespace shell
