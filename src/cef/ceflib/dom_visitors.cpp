#include "cef/ceflib/dom.h"

#include "cef/ceflib/guard.h"

namespace cef {

TCefDomVisitorOwn::TCefDomVisitorOwn() : TCefBaseOwn(sizeof(TCefDomVisitor)) {
  Struct<TCefDomVisitor>()->visit = &cef_visit;
}

void* TCefDomVisitorOwn::FindInterface(const Guid& iid) noexcept {
  if (void* found = base::InterfaceFor<ICefDomVisitor>(this, iid)) return found;
  return TCefBaseOwn::FindInterface(iid);
}

// The document wrapper, and with it the runtime's reference, goes when the visit ends,
// unless the visitor kept it; the reference is held before anything can fail.
void CEF_CALLBACK TCefDomVisitorOwn::cef_visit(TCefDomVisitor* self, TCefDomDocument* document) {
  IncomingRef incoming(document);
  Guarded([&] {
    Ref<ICefDomDocument> wrapped = incoming.Take<TCefDomDocumentRef>();
    Self<TCefDomVisitorOwn>(self)->Visit(wrapped);
  });
}

void TCefFastDomVisitor::Visit(const Ref<ICefDomDocument>& document) { FProc(document); }

TCefDomEventListenerOwn::TCefDomEventListenerOwn() : TCefBaseOwn(sizeof(TCefDomEventListener)) {
  Struct<TCefDomEventListener>()->handle_event = &cef_handle_event;
}

void* TCefDomEventListenerOwn::FindInterface(const Guid& iid) noexcept {
  if (void* found = base::InterfaceFor<ICefDomEventListener>(this, iid)) return found;
  return TCefBaseOwn::FindInterface(iid);
}

void CEF_CALLBACK TCefDomEventListenerOwn::cef_handle_event(TCefDomEventListener* self, TCefDomEvent* event) {
  IncomingRef incoming(event);
  Guarded([&] {
    Ref<ICefDomEvent> wrapped = incoming.Take<TCefDomEventRef>();
    Self<TCefDomEventListenerOwn>(self)->HandleEvent(wrapped);
  });
}

void TCefFastDomEventListener::HandleEvent(const Ref<ICefDomEvent>& event) {
  TCefDomEventListenerOwn::HandleEvent(event);
  FProc(event);
}

}  // namespace cef
