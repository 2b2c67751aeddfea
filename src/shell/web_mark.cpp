#include "shell/web_mark.h"

#include <algorithm>

#include "platform/text.h"
#include "shell/trace.h"
#include "ui/system.h"

namespace shell {

std::u16string DownloadSource(std::u16string_view mainFrameAddress) {
  std::u16string source(mainFrameAddress);
  std::erase_if(source, [](char16_t c) { return c < 0x20 || c == 0x7F; });
  return source.empty() ? u"about:internet" : source;
}

std::string ZoneIdentifierText(const std::u16string& source) {
  return "[ZoneTransfer]\r\nZoneId=3\r\nHostUrl=" + platform::Utf16ToUtf8(source) + "\r\n";
}

void MarkDownload(const std::u16string& path, const std::u16string& source) {
  if (DWORD error = ui::System().WriteZoneIdentifier(path, ZoneIdentifierText(source)))
    Trace("download not marked: error " + std::to_string(error));
}

bool KeptAfterAttachmentCheck(const std::u16string& path, const std::u16string& source) {
  switch (ui::System().SaveAttachment(path, source)) {
    case ui::AttachmentVerdict::Unavailable:
      Trace("no attachment service: the stream is the mark");
      return true;
    case ui::AttachmentVerdict::Kept:
      return true;
    case ui::AttachmentVerdict::Removed:
      Trace("the attachment service removed or refused a download");
      return false;
  }
  return true;
}

}  // namespace shell
