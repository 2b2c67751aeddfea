#include "cef/ceflib/dom.h"

namespace cef {

using Arg = CefStringArg;
using Doc = TCefDomDocument;
using Node = TCefDomNode;
using Event = TCefDomEvent;

Ref<ICefDomDocument> TCefDomDocumentRef::UnWrap(TCefDomDocument* data) {
  return UnWrapAs<TCefDomDocumentRef, ICefDomDocument>(data);
}

int32_t TCefDomDocumentRef::GetType() { return Call(&Doc::get_type); }
Ref<ICefDomNode> TCefDomDocumentRef::GetDocument() { return TCefDomNodeRef::UnWrap(Call(&Doc::get_document)); }
Ref<ICefDomNode> TCefDomDocumentRef::GetBody() { return TCefDomNodeRef::UnWrap(Call(&Doc::get_body)); }
Ref<ICefDomNode> TCefDomDocumentRef::GetHead() { return TCefDomNodeRef::UnWrap(Call(&Doc::get_head)); }
std::u16string TCefDomDocumentRef::GetTitle() { return CallString(&Doc::get_title); }
Ref<ICefDomNode> TCefDomDocumentRef::GetElementById(const std::u16string& id) {
  return TCefDomNodeRef::UnWrap(Call(&Doc::get_element_by_id, Arg(id)));
}
Ref<ICefDomNode> TCefDomDocumentRef::GetFocusedNode() { return TCefDomNodeRef::UnWrap(Call(&Doc::get_focused_node)); }
bool TCefDomDocumentRef::HasSelection() { return CallBool(&Doc::has_selection); }
Ref<ICefDomNode> TCefDomDocumentRef::GetSelectionStartNode() {
  return TCefDomNodeRef::UnWrap(Call(&Doc::get_selection_start_node));
}
int32_t TCefDomDocumentRef::GetSelectionStartOffset() { return Call(&Doc::get_selection_start_offset); }
Ref<ICefDomNode> TCefDomDocumentRef::GetSelectionEndNode() {
  return TCefDomNodeRef::UnWrap(Call(&Doc::get_selection_end_node));
}
int32_t TCefDomDocumentRef::GetSelectionEndOffset() { return Call(&Doc::get_selection_end_offset); }
std::u16string TCefDomDocumentRef::GetSelectionAsMarkup() { return CallString(&Doc::get_selection_as_markup); }
std::u16string TCefDomDocumentRef::GetSelectionAsText() { return CallString(&Doc::get_selection_as_text); }
std::u16string TCefDomDocumentRef::GetBaseUrl() { return CallString(&Doc::get_base_url); }
std::u16string TCefDomDocumentRef::GetCompleteUrl(const std::u16string& partialUrl) {
  return CallString(&Doc::get_complete_url, Arg(partialUrl));
}

Ref<ICefDomNode> TCefDomNodeRef::UnWrap(TCefDomNode* data) { return UnWrapAs<TCefDomNodeRef, ICefDomNode>(data); }

int32_t TCefDomNodeRef::GetType() { return Call(&Node::get_type); }
bool TCefDomNodeRef::IsText() { return CallBool(&Node::is_text); }
bool TCefDomNodeRef::IsElement() { return CallBool(&Node::is_element); }
bool TCefDomNodeRef::IsSame(const Ref<ICefDomNode>& that) { return CallBool(&Node::is_same, CefWrapAs(that)); }
std::u16string TCefDomNodeRef::GetName() { return CallString(&Node::get_name); }
std::u16string TCefDomNodeRef::GetValue() { return CallString(&Node::get_value); }
bool TCefDomNodeRef::SetValue(const std::u16string& value) { return CallBool(&Node::set_value, Arg(value)); }
std::u16string TCefDomNodeRef::GetAsMarkup() { return CallString(&Node::get_as_markup); }
Ref<ICefDomDocument> TCefDomNodeRef::GetDocument() { return TCefDomDocumentRef::UnWrap(Call(&Node::get_document)); }
Ref<ICefDomNode> TCefDomNodeRef::GetParent() { return UnWrap(Call(&Node::get_parent)); }
Ref<ICefDomNode> TCefDomNodeRef::GetPreviousSibling() { return UnWrap(Call(&Node::get_previous_sibling)); }
Ref<ICefDomNode> TCefDomNodeRef::GetNextSibling() { return UnWrap(Call(&Node::get_next_sibling)); }
bool TCefDomNodeRef::HasChildren() { return CallBool(&Node::has_children); }
Ref<ICefDomNode> TCefDomNodeRef::GetFirstChild() { return UnWrap(Call(&Node::get_first_child)); }
Ref<ICefDomNode> TCefDomNodeRef::GetLastChild() { return UnWrap(Call(&Node::get_last_child)); }

// The runtime takes the listener before useCapture.
void TCefDomNodeRef::AddEventListener(const std::u16string& eventType, bool useCapture,
                                      const Ref<ICefDomEventListener>& listener) {
  Call(&Node::add_event_listener, Arg(eventType), CefWrapAs(listener), CefBool(useCapture));
}

void TCefDomNodeRef::AddEventListenerProc(const std::u16string& eventType, bool useCapture,
                                          TCefFastDomEventListenerProc proc) {
  Ref<ICefDomEventListener> listener = base::MakeRef<TCefFastDomEventListener>(std::move(proc));
  AddEventListener(eventType, useCapture, listener);
}

std::u16string TCefDomNodeRef::GetElementTagName() { return CallString(&Node::get_element_tag_name); }
bool TCefDomNodeRef::HasElementAttributes() { return CallBool(&Node::has_element_attributes); }
bool TCefDomNodeRef::HasElementAttribute(const std::u16string& attrName) {
  return CallBool(&Node::has_element_attribute, Arg(attrName));
}
std::u16string TCefDomNodeRef::GetElementAttribute(const std::u16string& attrName) {
  return CallString(&Node::get_element_attribute, Arg(attrName));
}
void TCefDomNodeRef::GetElementAttributes(ICefStringMap& attrMap) {
  Call(&Node::get_element_attributes, attrMap.GetHandle());
}
bool TCefDomNodeRef::SetElementAttribute(const std::u16string& attrName, const std::u16string& value) {
  return CallBool(&Node::set_element_attribute, Arg(attrName), Arg(value));
}
std::u16string TCefDomNodeRef::GetElementInnerText() { return CallString(&Node::get_element_inner_text); }

Ref<ICefDomEvent> TCefDomEventRef::UnWrap(TCefDomEvent* data) { return UnWrapAs<TCefDomEventRef, ICefDomEvent>(data); }

std::u16string TCefDomEventRef::GetType() { return CallString(&Event::get_type); }
int32_t TCefDomEventRef::GetCategory() { return Call(&Event::get_category); }
int32_t TCefDomEventRef::GetPhase() { return Call(&Event::get_phase); }
bool TCefDomEventRef::CanBubble() { return CallBool(&Event::can_bubble); }
bool TCefDomEventRef::CanCancel() { return CallBool(&Event::can_cancel); }
Ref<ICefDomDocument> TCefDomEventRef::GetDocument() { return TCefDomDocumentRef::UnWrap(Call(&Event::get_document)); }
Ref<ICefDomNode> TCefDomEventRef::GetTarget() { return TCefDomNodeRef::UnWrap(Call(&Event::get_target)); }
Ref<ICefDomNode> TCefDomEventRef::GetCurrentTarget() {
  return TCefDomNodeRef::UnWrap(Call(&Event::get_current_target));
}

}  // namespace cef
