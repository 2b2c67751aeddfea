// Compiled, never run: each wrapper takes and gives only its own runtime structure. Built as
// it is, every call below pairs the right kinds and compiles; with WRONG_UNWRAP or
// WRONG_WRAP one call pairs the wrong kinds and the compiler must refuse it.

#include "cef/ceflib/base_ref.h"
#include "cef/ceflib/browser.h"
#include "cef/ceflib/dom.h"
#include "cef/ceflib/request.h"

namespace cef {

void UnwrapsItsOwnStructure(TCefBrowser* browser, TCefFrame* frame, TCefDomEvent* event) {
  Ref<ICefBrowser> wrappedBrowser = TCefBrowserRef::UnWrap(browser);
  Ref<ICefFrame> wrappedFrame = TCefFrameRef::UnWrap(frame);
  Ref<ICefDomEvent> wrappedEvent = IncomingRef(event).Take<TCefDomEventRef>();
#ifdef WRONG_UNWRAP
  Ref<ICefFrame> frameOfBrowser = TCefFrameRef::UnWrap(browser);
#endif
}

void WrapsAsItsOwnStructure(const Ref<ICefRequest>& request, const Ref<ICefBase>& client) {
  TCefRequest* wireRequest = CefWrapAs(request);
  TCefClient* wireClient = CefWrapAs<TCefClient>(client);
#ifdef WRONG_WRAP
  TCefFrame* frameOfRequest = CefWrapAs<TCefFrame>(request);
#endif
}

}  // namespace cef
