#pragma once
// The client the browser control creates: the control-side handlers, and the count of
// live clients that keeps the message pump's timer running.

#include "cef/cefgui/custom_client_handler.h"

namespace cef {

class TVCLClientHandler : public TCustomClientHandler {
 public:
  // The first client starts the pump's timer.
  explicit TVCLClientHandler(IChromiumEvents& crm);

 protected:
  // The last client stops it.
  ~TVCLClientHandler() override;
};

}  // namespace cef
