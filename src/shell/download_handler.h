#pragma once
// Writes a download into a stream, chunk by chunk, as the runtime pushes it. The file
// behind the stream stays open (and locked against other programs) until the runtime
// releases the handler, not merely until the download completes.

#include <memory>

#include "cef/ceflib/download.h"
#include "platform/stream.h"

namespace shell {

class TCefStreamDownloadHandler : public cef::TCefDownloadHandlerOwn {
 public:
  // Owned: the handler destroys the stream (closing its file) when it is destroyed.
  explicit TCefStreamDownloadHandler(std::unique_ptr<platform::TStream> stream);
  // Borrowed: the stream must outlive the handler.
  explicit TCefStreamDownloadHandler(platform::TStream& stream);

  // Appends the chunk; answers the bytes written, 0 when the write fails.
  int32_t ReceivedData(void* data, int32_t dataSize) override;
  // The end of the content changes nothing: the file closes with the handler.
  void Complete() override {}

 private:
  platform::TStream* FStream;
  // Set when the handler owns the stream.
  std::unique_ptr<platform::TStream> FOwnedStream;
};

}  // namespace shell
