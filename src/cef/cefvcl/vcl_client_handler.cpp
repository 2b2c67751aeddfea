#include "cef/cefvcl/vcl_client_handler.h"

#include "cef/cefvcl/pump.h"

namespace cef {

TVCLClientHandler::TVCLClientHandler(IChromiumEvents& crm) : TCustomClientHandler(crm) { ClientHandlerCreated(); }

TVCLClientHandler::~TVCLClientHandler() { ClientHandlerDestroyed(); }

}  // namespace cef
