#include "cef/ceflib/dom.h"

#include "cef/ceflib/guard.h"

namespace cef {

TCefDomVisitorOwn::TCefDomVisitorOwn() : TCefBaseOwn(sizeof(TCefDomVisitor)) {
  DataAs<TCefDomVisitor>()->visit = &cef_visit;
}

void* TCefDomVisitorOwn::FindInterface(const Guid& iid) noexcept {
  if (void* found = base::InterfaceFor<ICefDomVisitor>(this, iid)) return found;
  return TCefBaseOwn::FindInterface(iid);
}

// The document wrapper, and with it the runtime's reference, goes when the visit ends,
// unless the visitor kept it.
void CEF_CALLBACK TCefDomVisitorOwn::cef_visit(TCefDomVisitor* self, TCefDomDocument* document) {
  Guarded([&] {
    Ref<ICefDomDocument> wrapped = TCefDomDocumentRef::UnWrap(document);
    Self<TCefDomVisitorOwn>(self)->Visit(wrapped);
  });
}

void TCefFastDomVisitor::Visit(const Ref<ICefDomDocument>& document) { FProc(document); }

TCefDomEventListenerOwn::TCefDomEventListenerOwn() : TCefBaseOwn(sizeof(TCefDomEventListener)) {
  DataAs<TCefDomEventListener>()->handle_event = &cef_handle_event;
}

void* TCefDomEventListenerOwn::FindInterface(const Guid& iid) noexcept {
  if (void* found = base::InterfaceFor<ICefDomEventListener>(this, iid)) return found;
  return TCefBaseOwn::FindInterface(iid);
}

void CEF_CALLBACK TCefDomEventListenerOwn::cef_handle_event(TCefDomEventListener* self, TCefDomEvent* event) {
  Guarded([&] {
    Ref<ICefDomEvent> wrapped = TCefDomEventRef::UnWrap(event);
    Self<TCefDomEventListenerOwn>(self)->HandleEvent(wrapped);
  });
}

void TCefFastDomEventListener::HandleEvent(const Ref<ICefDomEvent>& event) {
  TCefDomEventListenerOwn::HandleEvent(event);
  FProc(event);
}

}  // namespace cef
