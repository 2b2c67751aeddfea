#pragma once
// Bytes from the runtime to the program: the base of the handlers that receive a download.

#include <cstdint>

#include "cef/ceflib/base_own.h"

namespace cef {

class ICefDownloadHandler : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{3137F90A-5DC5-43C1-858D-A269F28EF4F1}");
  using Parent = ICefBase;

  // One chunk of the download; the answer reaches the runtime unchanged.
  virtual int32_t ReceivedData(void* data, int32_t dataSize) = 0;
  // The download has ended.
  virtual void Complete() = 0;
};
template <>
struct CefWireOf<ICefDownloadHandler> {
  using type = TCefDownloadHandler;
};

// A download handler the runtime pushes chunks into. Derived handlers supply both
// operations. There is no lock: a handler that shares its target with other threads
// protects it itself.
class TCefDownloadHandlerOwn : public TCefBaseOwn, public virtual ICefDownloadHandler {
 protected:
  TCefDownloadHandlerOwn();
  void* FindInterface(const Guid& iid) noexcept override;

 private:
  static int32_t CEF_CALLBACK cef_received_data(TCefDownloadHandler* self, void* data, int32_t dataSize);
  static void CEF_CALLBACK cef_complete(TCefDownloadHandler* self);
};

}  // namespace cef
