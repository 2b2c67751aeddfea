// Event objects and the dispatch of an event through a document's listeners.

#include <algorithm>

#include "dom.h"

namespace standin::dom {
namespace {

class Event final : public StateObject<TCefDomEvent, Kind::DomEvent> {
 public:
  Event(std::shared_ptr<DocumentState> documentState, std::u16string eventType, EventPhase eventPhase,
        html::Node* eventTarget, html::Node* current);
  std::u16string type;
  EventPhase phase;
  html::Node* target;
  html::Node* currentTarget;
};

template <class F>
TCefDomNode* NodeAnswer(TCefDomEvent* self, const char* member, F pick) {
  auto* e = Live<Event>(self, member);
  return e ? NewNode(e->state, pick(*e)) : nullptr;
}

Event::Event(std::shared_ptr<DocumentState> documentState, std::u16string eventType, EventPhase eventPhase,
             html::Node* eventTarget, html::Node* current)
    : StateObject(std::move(documentState)),
      type(std::move(eventType)),
      phase(eventPhase),
      target(eventTarget),
      currentTarget(current) {
  wire_.get_type = [](TCefDomEvent* self) CEF_CALLBACK -> TCefStringUserFree {
    auto* e = Live<Event>(self, "get_type");
    return e ? UserFree(e->type) : nullptr;
  };
  wire_.get_category = [](TCefDomEvent* self) CEF_CALLBACK -> int32_t {
    auto* e = Live<Event>(self, "get_category");
    return static_cast<int32_t>(e ? CategoryOf(e->type) : EventCategory::Unknown);
  };
  wire_.get_phase = [](TCefDomEvent* self) CEF_CALLBACK -> int32_t {
    auto* e = Live<Event>(self, "get_phase");
    return static_cast<int32_t>(e ? e->phase : EventPhase::None);
  };
  // Every event the stand-in dispatches bubbles and can be cancelled.
  wire_.can_bubble = [](TCefDomEvent* self) CEF_CALLBACK -> TCefBool { return Live<Event>(self, "can_bubble") ? 1 : 0; };
  wire_.can_cancel = [](TCefDomEvent* self) CEF_CALLBACK -> TCefBool { return Live<Event>(self, "can_cancel") ? 1 : 0; };
  wire_.get_document = [](TCefDomEvent* self) CEF_CALLBACK -> TCefDomDocument* {
    auto* e = Live<Event>(self, "get_document");
    return e ? NewDocument(e->state) : nullptr;
  };
  wire_.get_target = [](TCefDomEvent* self) CEF_CALLBACK {
    return NodeAnswer(self, "get_target", [](Event& e) { return e.target; });
  };
  wire_.get_current_target = [](TCefDomEvent* self) CEF_CALLBACK {
    return NodeAnswer(self, "get_current_target", [](Event& e) { return e.currentTarget; });
  };
}

struct Family {
  EventCategory category;
  std::u16string_view types[10];
};

const Family kFamilies[] = {
    {EventCategory::UI, {u"focus", u"blur", u"focusin", u"focusout", u"DOMActivate"}},
    {EventCategory::Mouse,
     {u"click", u"dblclick", u"mousedown", u"mouseup", u"mouseover", u"mouseout", u"mousemove", u"mouseenter",
      u"mouseleave", u"contextmenu"}},
    {EventCategory::Keyboard, {u"keydown", u"keyup", u"keypress"}},
    {EventCategory::Mutation,
     {u"DOMSubtreeModified", u"DOMNodeInserted", u"DOMNodeRemoved", u"DOMAttrModified",
      u"DOMCharacterDataModified"}},
    {EventCategory::Drag, {u"drag", u"dragstart", u"dragend", u"dragenter", u"dragleave", u"dragover", u"drop"}},
    {EventCategory::Clipboard, {u"copy", u"cut", u"paste"}},
    {EventCategory::Wheel, {u"mousewheel", u"wheel"}},
};

// One call of a listener, with a new event object whose reference goes to the listener;
// false when the listener has no member to call.
bool Call(const std::shared_ptr<DocumentState>& state, const DocumentState::Listener& listener,
          std::u16string_view type, EventPhase phase, html::Node* target) {
  auto* wire = listener.listener.as<TCefDomEventListener>();
  if (!wire->handle_event) return false;
  Event* event = Create<Event>(state, std::u16string(type), phase, target, listener.node);
  wire->handle_event(wire, event->wire());
  return true;
}

bool Matches(const DocumentState::Listener& listener, const html::Node* node, std::u16string_view type,
             EventPhase phase) {
  if (listener.node != node || listener.type != type) return false;
  if (phase == EventPhase::Capturing) return listener.useCapture;
  if (phase == EventPhase::Bubbling) return !listener.useCapture;
  return true;
}

}  // namespace

EventCategory CategoryOf(std::u16string_view type) {
  if (type.empty()) return EventCategory::Unknown;  // the families' unused slots are empty
  for (const Family& family : kFamilies)
    if (std::find(std::begin(family.types), std::end(family.types), type) != std::end(family.types))
      return family.category;
  return EventCategory::Unknown;
}

int Dispatch(const std::shared_ptr<DocumentState>& state, html::Node* target, std::u16string_view type) {
  // Our own reference: a listener may make the frame let go of the state it passed in.
  std::shared_ptr<DocumentState> keep = state;
  if (!keep || keep->detached || !target) return 0;
  std::vector<html::Node*> path;  // the target's ancestors, the document first
  for (html::Node* node = target->parent; node; node = node->parent) path.push_back(node);
  std::reverse(path.begin(), path.end());
  // A copy holding its own references: listeners added meanwhile wait for the next event,
  // and a detach during the dispatch cannot pull a listener away while it runs.
  const std::vector<DocumentState::Listener> listeners = keep->listeners;
  int calls = 0;
  auto visit = [&](html::Node* node, EventPhase phase) {
    for (const DocumentState::Listener& listener : listeners) {
      if (keep->detached) return;
      if (!Matches(listener, node, type, phase)) continue;
      if (Call(keep, listener, type, phase, target)) ++calls;
    }
  };
  for (html::Node* node : path) visit(node, EventPhase::Capturing);
  visit(target, EventPhase::AtTarget);
  for (auto it = path.rbegin(); it != path.rend(); ++it) visit(*it, EventPhase::Bubbling);
  return calls;
}

}  // namespace standin::dom
