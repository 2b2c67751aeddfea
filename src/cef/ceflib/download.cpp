#include "cef/ceflib/download.h"

#include "cef/ceflib/guard.h"

namespace cef {

TCefDownloadHandlerOwn::TCefDownloadHandlerOwn() : TCefBaseOwn(sizeof(TCefDownloadHandler)) {
  auto* handler = Struct<TCefDownloadHandler>();
  handler->received_data = &cef_received_data;
  handler->complete = &cef_complete;
}

void* TCefDownloadHandlerOwn::FindInterface(const Guid& iid) noexcept {
  if (void* found = base::InterfaceFor<ICefDownloadHandler>(this, iid)) return found;
  return TCefBaseOwn::FindInterface(iid);
}

// A handler that fails has taken none of the chunk.
int32_t CEF_CALLBACK TCefDownloadHandlerOwn::cef_received_data(TCefDownloadHandler* self, void* data,
                                                               int32_t dataSize) {
  return Guarded(0, [&] { return Self<TCefDownloadHandlerOwn>(self)->ReceivedData(data, dataSize); });
}

void CEF_CALLBACK TCefDownloadHandlerOwn::cef_complete(TCefDownloadHandler* self) {
  Guarded([&] { Self<TCefDownloadHandlerOwn>(self)->Complete(); });
}

}  // namespace cef
