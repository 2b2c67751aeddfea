// The entries of the life-span, load and request handlers, in the runtime's entry order.

#include "cef/ceflib/handler_arguments.h"
#include "cef/ceflib/handlers.h"

namespace cef {

using namespace entry;

TCefLifeSpanHandlerOwn::TCefLifeSpanHandlerOwn() {
  using H = TCefLifeSpanHandlerOwn;
  TCefLifeSpanHandler* s = Struct();
  s->on_before_popup = Entry<&H::OnBeforePopup, Browser, Plain<TCefPopupFeatures*>, Plain<TCefWindowInfo*>,
                             TextBack<Always>, ObjectBack<TCefBaseRef, Always, TCefClient>,
                             Plain<TCefBrowserSettings*>>;
  s->on_after_created = Entry<&H::OnAfterCreated, Browser>;
  s->run_modal = Entry<&H::OnRunModal, Browser>;
  s->do_close = Entry<&H::OnClose, Browser>;
  s->on_before_close = Entry<&H::OnBeforeClose, Browser>;
}

TCefLoadHandlerOwn::TCefLoadHandlerOwn() {
  using H = TCefLoadHandlerOwn;
  TCefLoadHandler* s = Struct();
  s->on_load_start = Entry<&H::OnLoadStart, Browser, Frame>;
  s->on_load_end = Entry<&H::OnLoadEnd, Browser, Frame, Integer>;
  s->on_load_error = Entry<&H::OnLoadError, Browser, Frame, Integer, Text, TextBack<OnTrue>>;
}

TCefRequestHandlerOwn::TCefRequestHandlerOwn() {
  using H = TCefRequestHandlerOwn;
  TCefRequestHandler* s = Struct();
  s->on_before_browse = Entry<&H::OnBeforeBrowse, Browser, Frame, Request, Plain<TCefHandlerNavtype>, Flag>;
  s->on_before_resource_load = Entry<&H::OnBeforeResourceLoad, Browser, Request, TextBack<OnFalseNonEmpty>,
                                     ObjectBack<TCefStreamReaderRef, OnFalse>, Response, Integer>;
  s->on_resource_response =
      Entry<&H::OnResourceResponse, Browser, Text, Response, ObjectBack<TCefBaseRef, Always, TCefBase>>;
  s->on_protocol_execution = Entry<&H::OnProtocolExecution, Browser, Text, FlagBack<Always>>;
  // The 64-bit content length takes two 32-bit slots on the 32-bit wire: the entry's type,
  // calling convention included, must be the structure's, or this does not compile.
  s->get_download_handler = Entry<&H::OnGetDownloadHandler, Browser, Text, Text, Plain<int64_t>,
                                  ObjectOut<ICefDownloadHandler, TCefDownloadHandler>>;
  s->get_auth_credentials = Entry<&H::AuthCredentialsInRuntimeOrder, Browser, Flag, Text, Integer, Text, Text,
                                  TextBack<OnTrue>, TextBack<OnTrue>>;
}

bool TCefRequestHandlerOwn::AuthCredentialsInRuntimeOrder(const Ref<ICefBrowser>& browser, bool isProxy,
                                                          const std::u16string& host, int32_t port,
                                                          const std::u16string& realm, const std::u16string& scheme,
                                                          std::u16string& username, std::u16string& password) {
  return OnAuthCredentials(browser, isProxy, port, host, realm, scheme, username, password);
}

}  // namespace cef
