#pragma once
// Writes a download into a stream, chunk by chunk, as the runtime pushes it. The file
// behind the stream stays open (and locked against other programs) until the runtime
// releases the handler, not merely until the download completes. Once a write has failed
// nothing more is written, so the file never has a gap; whether the download was saved or
// ended short is decided when the runtime lets the handler go, and told to an observer.

#include <cstdint>
#include <memory>
#include <string>

#include "cef/ceflib/download.h"
#include "platform/stream.h"

namespace shell {

// How a download ended.
struct DownloadEnd {
  enum class Kind { Saved, WriteFailed, CutShort };
  Kind kind = Kind::Saved;
  int64_t received = 0;
  std::u16string reason;  // for WriteFailed: the system's text
};

// Told of a download's progress and of its end, on the thread that pumps the runtime.
class IDownloadObserver {
 public:
  virtual ~IDownloadObserver() = default;
  virtual void DownloadProgress(int id, int64_t received) = 0;
  // The handler's file is closed by now.
  virtual void DownloadEnded(int id, const DownloadEnd& end) = 0;
};

// Whom a handler tells, and what it expects. The observer is held weakly: the runtime may
// release the handler after the window that watches it is gone.
struct DownloadWatch {
  std::weak_ptr<IDownloadObserver> observer;
  int id = 0;
  int64_t contentLength = 0;  // announced by the server; 0 or less when unknown
};

class TCefStreamDownloadHandler : public cef::TCefDownloadHandlerOwn {
 public:
  // Owned: the handler destroys the stream (closing its file) when it is destroyed.
  explicit TCefStreamDownloadHandler(std::unique_ptr<platform::TStream> stream, DownloadWatch watch = {});
  // Borrowed: the stream must outlive the handler.
  explicit TCefStreamDownloadHandler(platform::TStream& stream, DownloadWatch watch = {});
  ~TCefStreamDownloadHandler() override;

  // Appends the chunk; answers the bytes written, 0 when the write fails and for every
  // chunk after a failed one.
  int32_t ReceivedData(void* data, int32_t dataSize) override;
  // The end of the content; the file closes with the handler.
  void Complete() override { FCompleted = true; }

  // What the download comes to if the runtime lets go now.
  DownloadEnd Outcome() const;

 private:
  void Tell(void (*tell)(IDownloadObserver&, int, const TCefStreamDownloadHandler&)) const noexcept;

  platform::TStream* FStream;
  // Set when the handler owns the stream.
  std::unique_ptr<platform::TStream> FOwnedStream;
  DownloadWatch FWatch;
  int64_t FReceived = 0;
  bool FCompleted = false;
  bool FFailed = false;
  std::u16string FFailure;
};

}  // namespace shell
