#include "shell/download_handler.h"

#include "platform/errors.h"

namespace shell {

TCefStreamDownloadHandler::TCefStreamDownloadHandler(std::unique_ptr<platform::TStream> stream, DownloadWatch watch)
    : FStream(stream.get()), FOwnedStream(std::move(stream)), FWatch(std::move(watch)) {}

TCefStreamDownloadHandler::TCefStreamDownloadHandler(platform::TStream& stream, DownloadWatch watch)
    : FStream(&stream), FWatch(std::move(watch)) {}

TCefStreamDownloadHandler::~TCefStreamDownloadHandler() {
  // The file is closed first: a download told as saved can be opened at once.
  FOwnedStream.reset();
  Tell([](IDownloadObserver& observer, int id, const TCefStreamDownloadHandler& self) {
    observer.DownloadEnded(id, self.Outcome());
  });
}

int32_t TCefStreamDownloadHandler::ReceivedData(void* data, int32_t dataSize) {
  // After a failed write the file ends where the failure was: later chunks would leave a gap.
  if (FFailed) return 0;
  int32_t written = FStream->Write(data, dataSize);
  if (written != dataSize) {
    FFailed = true;
    FFailure = platform::LastOSError().text;
  }
  if (written > 0) FReceived += written;
  Tell([](IDownloadObserver& observer, int id, const TCefStreamDownloadHandler& self) {
    observer.DownloadProgress(id, self.FReceived);
  });
  return written;
}

DownloadEnd TCefStreamDownloadHandler::Outcome() const {
  if (FFailed) return {DownloadEnd::Kind::WriteFailed, FReceived, FFailure};
  // Without its end, or with fewer bytes than announced, the connection ended early.
  if (!FCompleted || (FWatch.contentLength > 0 && FReceived < FWatch.contentLength))
    return {DownloadEnd::Kind::CutShort, FReceived, {}};
  return {DownloadEnd::Kind::Saved, FReceived, {}};
}

void TCefStreamDownloadHandler::Tell(void (*tell)(IDownloadObserver&, int, const TCefStreamDownloadHandler&)) const
    noexcept {
  std::shared_ptr<IDownloadObserver> observer = FWatch.observer.lock();
  if (!observer) return;
  // What the window does with the news is its own: a failure there must not reach the runtime.
  try {
    tell(*observer, FWatch.id, *this);
  } catch (...) {
  }
}

}  // namespace shell
