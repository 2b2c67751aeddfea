#include "cef/cefgui/custom_client_handler.h"

#include "cef/cefgui/custom_handlers.h"

namespace cef {

TCustomClientHandler::TCustomClientHandler(IChromiumEvents& crm) {
#define CEF_CREATE_CUSTOM_HANDLER(kind, klass) F##kind##Handler = base::MakeRef<klass>(crm);
  CEF_CUSTOM_CLIENT_HANDLERS(CEF_CREATE_CUSTOM_HANDLER)
#undef CEF_CREATE_CUSTOM_HANDLER
}

// The fields release whatever handlers they still hold.
TCustomClientHandler::~TCustomClientHandler() = default;

#define CEF_DEFINE_CUSTOM_GETTER(kind, klass) \
  void TCustomClientHandler::Get##kind##Handler(Ref<ICefBase>& handler) { handler = F##kind##Handler; }
CEF_CUSTOM_CLIENT_HANDLERS(CEF_DEFINE_CUSTOM_GETTER)
#undef CEF_DEFINE_CUSTOM_GETTER

namespace {

// The runtime may still hold the handler and call it after the control has gone.
void Detach(const Ref<ICefBase>& handler) {
  if (Ref<ICustomHandlerLink> link = base::interface_cast<ICustomHandlerLink>(handler)) link->Detach();
}

}  // namespace

void TCustomClientHandler::ReleaseHandlers() {
#define CEF_RELEASE_CUSTOM_HANDLER(kind, klass) \
  Detach(F##kind##Handler);                     \
  F##kind##Handler = nullptr;
  CEF_CUSTOM_CLIENT_HANDLERS(CEF_RELEASE_CUSTOM_HANDLER)
#undef CEF_RELEASE_CUSTOM_HANDLER
}

void* TCustomClientHandler::FindInterface(const Guid& iid) noexcept {
  if (void* found = base::InterfaceFor<IClientHandlerRelease>(this, iid)) return found;
  return TCefClientOwn::FindInterface(iid);
}

}  // namespace cef
