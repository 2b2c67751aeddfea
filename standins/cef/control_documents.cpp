// The test control exports of documents, streams, requests and drag data.

#include <algorithm>
#include <cstring>

#include "control.h"
#include "control_support.h"
#include "dom.h"
#include "drag_data.h"
#include "standin.h"
#include "streams.h"

using namespace standin;

#define STANDIN_DECLARE_CONTROL(result, name, params) STANDIN_API result name params;
STANDIN_CONTROL_DOCUMENTS(STANDIN_DECLARE_CONTROL)
#undef STANDIN_DECLARE_CONTROL

namespace {

std::u16string Text(const char16_t* text) { return text ? std::u16string(text) : std::u16string(); }

std::optional<std::u16string> OptionalText(const char16_t* text) {
  return text ? std::optional<std::u16string>(text) : std::nullopt;
}

std::vector<std::u16string> Lines(const char16_t* text) {
  std::vector<std::u16string> lines;
  std::u16string_view rest = text ? text : u"";
  while (!rest.empty()) {
    size_t end = std::min(rest.find(u'\n'), rest.size());
    lines.emplace_back(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return lines;
}

// The tree node behind a node object of that document's own; false for any other.
bool OwnNode(const std::shared_ptr<dom::DocumentState>& state, TCefDomNode* node, html::Node*& treeNode) {
  std::shared_ptr<dom::DocumentState> owner;
  return dom::NodeOf(node, "standin control", owner, treeNode) && owner == state;
}

}  // namespace

TCefDomDocument* standin_create_document(const char16_t* source, const char16_t* url) {
  auto state = std::make_shared<dom::DocumentState>();
  state->root = html::Parse(Text(source));
  state->url = Text(url);
  return dom::NewDocument(std::move(state));
}

int32_t standin_detach_document(TCefDomDocument* document) {
  std::shared_ptr<dom::DocumentState> state = dom::StateOf(document, "standin_detach_document");
  if (!state) return 0;
  state->Detach();
  return 1;
}

int32_t standin_listener_count(TCefDomDocument* document) {
  std::shared_ptr<dom::DocumentState> state = dom::StateOf(document, "standin_listener_count");
  return state ? static_cast<int32_t>(state->listeners.size()) : -1;
}

int32_t standin_set_focus(TCefDomDocument* document, TCefDomNode* node) {
  std::shared_ptr<dom::DocumentState> state = dom::StateOf(document, "standin_set_focus");
  html::Node* treeNode = nullptr;
  if (!state || (node && !OwnNode(state, node, treeNode))) return 0;
  state->focused = treeNode;
  return 1;
}

int32_t standin_set_selection(TCefDomDocument* document, TCefDomNode* start, int32_t start_offset,
                              TCefDomNode* end, int32_t end_offset) {
  std::shared_ptr<dom::DocumentState> state = dom::StateOf(document, "standin_set_selection");
  if (!state) return 0;
  if (!start) {
    state->selection = {};
    return 1;
  }
  html::Node *from = nullptr, *to = nullptr;
  if (!OwnNode(state, start, from) || !OwnNode(state, end, to)) return 0;
  state->selection = {from, start_offset, to, end_offset};
  return 1;
}

int32_t standin_dispatch_event(TCefDomDocument* document, const char16_t* element_id, const char16_t* type) {
  std::shared_ptr<dom::DocumentState> state = dom::StateOf(document, "standin_dispatch_event");
  if (!state || !state->root) return -1;
  html::Node* target = element_id ? html::ElementById(*state->root, element_id) : state->root.get();
  return target ? dom::Dispatch(state, target, Text(type)) : -1;
}

TCefDragData* standin_create_drag_data(int32_t kinds, const char16_t* link_url, const char16_t* link_title,
                                       const char16_t* link_metadata, const char16_t* fragment_text,
                                       const char16_t* fragment_html, const char16_t* fragment_base_url,
                                       const char16_t* file_extension, const char16_t* file_name,
                                       const char16_t* file_names) {
  DragContent content;
  content.isLink = (kinds & 1) != 0;
  content.isFragment = (kinds & 2) != 0;
  content.isFile = (kinds & 4) != 0;
  content.linkUrl = OptionalText(link_url);
  content.linkTitle = OptionalText(link_title);
  content.linkMetadata = OptionalText(link_metadata);
  content.fragmentText = OptionalText(fragment_text);
  content.fragmentHtml = OptionalText(fragment_html);
  content.fragmentBaseUrl = OptionalText(fragment_base_url);
  content.fileExtension = OptionalText(file_extension);
  content.fileName = OptionalText(file_name);
  content.fileNames = Lines(file_names);
  return NewDragData(std::move(content));
}

int32_t standin_writer_contents(TCefStreamWriter* writer, void* buffer, int32_t size) {
  auto* w = Self<StreamWriter>(writer, "standin_writer_contents");
  std::vector<uint8_t> bytes;
  if (!w || !w->Contents(bytes)) return -1;
  return CopyOut(bytes, buffer, size);
}
