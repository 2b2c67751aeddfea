#include "shell/download_handler.h"

namespace shell {

TCefStreamDownloadHandler::TCefStreamDownloadHandler(std::unique_ptr<platform::TStream> stream)
    : FStream(stream.get()), FOwnedStream(std::move(stream)) {}

TCefStreamDownloadHandler::TCefStreamDownloadHandler(platform::TStream& stream)
    : FStream(&stream) {}

int32_t TCefStreamDownloadHandler::ReceivedData(void* data, int32_t dataSize) {
  return FStream->Write(data, dataSize);
}

}  // namespace shell
