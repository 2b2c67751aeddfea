// Document objects: the questions a program asks of a whole page, its selection and its
// addresses.

#include <algorithm>
#include <optional>

#include "dom.h"
#include "network.h"

namespace standin::dom {
namespace {

class Document final : public StateObject<TCefDomDocument, Kind::DomDocument> {
 public:
  explicit Document(std::shared_ptr<DocumentState> documentState);
};

// A document node's answer: a new node object, or null.
template <class F>
TCefDomNode* NodeAnswer(TCefDomDocument* self, const char* member, F find) {
  auto* d = Live<Document>(self, member);
  return d ? NewNode(d->state, find(*d->state)) : nullptr;
}

// A document's text answer: a userfree string, or null when there is none.
template <class F>
TCefStringUserFree TextAnswer(TCefDomDocument* self, const char* member, F text) {
  auto* d = Live<Document>(self, member);
  if (!d) return nullptr;
  std::optional<std::u16string> answer = text(*d->state);
  return answer ? UserFree(*answer) : nullptr;
}

// One end of a selection: a text node and a character offset in it, or any other node
// and the index of the child the end lies before.
struct Boundary {
  const html::Node* node;
  size_t offset;
};

// Walks a document in order and keeps what lies between the two ends of a range, either
// as plain text or as markup. Elements whose start tag lies inside the range are closed
// at its end; those that contain the range's start are left out, as a fragment would.
class RangeWriter {
 public:
  RangeWriter(Boundary start, Boundary end, bool markup) : start_(start), end_(end), markup_(markup) {}

  std::u16string Take(const html::Node& root) {
    Walk(root);
    while (!open_.empty()) CloseLast();
    return std::move(out_);
  }

 private:
  void Walk(const html::Node& node) {
    if (node.IsText()) return Text(node);
    bool opened = inside_ && node.IsElement();
    if (opened) Open(node);
    for (size_t i = 0; i <= node.children.size() && !done_; ++i) {
      Mark(node, i);
      if (i < node.children.size()) Walk(*node.children[i]);
    }
    if (opened && !done_) CloseLast();
  }

  void Mark(const html::Node& container, size_t index) {
    if (&container == start_.node && index == start_.offset) inside_ = true;
    if (&container == end_.node && index == end_.offset) Finish();
  }

  void Text(const html::Node& node) {
    size_t from = 0, to = node.value.size();
    if (&node == start_.node) {
      from = std::min(start_.offset, to);
      inside_ = true;
    }
    bool last = &node == end_.node;
    if (last) to = std::min(end_.offset, to);
    if (inside_ && from < to) Emit(node.value.substr(from, to - from));
    if (last) Finish();
  }

  void Emit(std::u16string text) {
    if (!markup_) {
      out_ += text;
      return;
    }
    html::Node piece;
    piece.type = html::NodeType::Text;
    piece.name = u"#text";
    piece.value = std::move(text);
    out_ += html::Markup(piece);
  }

  // The start tag as the document's markup writes it: an empty copy's markup without
  // its end tag.
  void Open(const html::Node& element) {
    if (!markup_) return;
    html::Node copy;
    copy.type = element.type;
    copy.name = element.name;
    copy.attributes = element.attributes;
    std::u16string tag = html::Markup(copy);
    std::u16string endTag = u"</" + element.name + u">";
    if (tag.size() >= endTag.size() && tag.compare(tag.size() - endTag.size(), endTag.size(), endTag) == 0) {
      tag.resize(tag.size() - endTag.size());
      open_.push_back(std::move(endTag));
    } else {
      open_.emplace_back();  // a void element has no end tag
    }
    out_ += tag;
  }

  void CloseLast() {
    if (open_.empty()) return;
    out_ += open_.back();
    open_.pop_back();
  }

  void Finish() {
    inside_ = false;
    done_ = true;
  }

  Boundary start_, end_;
  bool markup_;
  bool inside_ = false;
  bool done_ = false;
  std::vector<std::u16string> open_;
  std::u16string out_;
};

std::optional<std::u16string> Selected(const DocumentState& state, bool markup) {
  const auto& s = state.selection;
  if (!s.start || !s.end || !state.root) return std::nullopt;
  auto offset = [](int32_t value) { return static_cast<size_t>(value < 0 ? 0 : value); };
  RangeWriter writer({s.start, offset(s.startOffset)}, {s.end, offset(s.endOffset)}, markup);
  return writer.Take(*state.root);
}

// The first <base href> resolved against the page's address, else the address itself.
std::u16string BaseUrl(const DocumentState& state) {
  if (state.root) {
    for (const html::Node* base : html::ElementsByTag(*state.root, u"base")) {
      if (const std::u16string* href = base->Attribute(u"href"))
        return FromUtf8(net::ResolveUrl(ToUtf8(state.url), ToUtf8(*href)));
    }
  }
  return state.url;
}

html::Node* Root(DocumentState& state) { return state.root.get(); }

Document::Document(std::shared_ptr<DocumentState> documentState) : StateObject(std::move(documentState)) {
  wire_.get_type = [](TCefDomDocument* self) CEF_CALLBACK -> int32_t {
    return Live<Document>(self, "get_type") ? kHtmlDocument : 0;
  };
  wire_.get_document = [](TCefDomDocument* self) CEF_CALLBACK {
    return NodeAnswer(self, "get_document", Root);
  };
  wire_.get_body = [](TCefDomDocument* self) CEF_CALLBACK {
    return NodeAnswer(self, "get_body", [](DocumentState& s) { return s.root ? html::Body(*s.root) : nullptr; });
  };
  wire_.get_head = [](TCefDomDocument* self) CEF_CALLBACK {
    return NodeAnswer(self, "get_head", [](DocumentState& s) { return s.root ? html::Head(*s.root) : nullptr; });
  };
  wire_.get_title = [](TCefDomDocument* self) CEF_CALLBACK {
    return TextAnswer(self, "get_title", [](DocumentState& s) -> std::optional<std::u16string> {
      return s.root ? html::Title(*s.root) : std::u16string();
    });
  };
  wire_.get_element_by_id = [](TCefDomDocument* self, const TCefString* id) CEF_CALLBACK {
    std::u16string wanted = Read(id);
    return NodeAnswer(self, "get_element_by_id", [&](DocumentState& s) {
      return s.root && !wanted.empty() ? html::ElementById(*s.root, wanted) : nullptr;
    });
  };
  wire_.get_focused_node = [](TCefDomDocument* self) CEF_CALLBACK {
    return NodeAnswer(self, "get_focused_node", [](DocumentState& s) { return s.focused; });
  };
  wire_.has_selection = [](TCefDomDocument* self) CEF_CALLBACK -> TCefBool {
    auto* d = Live<Document>(self, "has_selection");
    return d && d->state->selection.start && d->state->selection.end ? 1 : 0;
  };
  wire_.get_selection_start_node = [](TCefDomDocument* self) CEF_CALLBACK {
    return NodeAnswer(self, "get_selection_start_node", [](DocumentState& s) { return s.selection.start; });
  };
  wire_.get_selection_start_offset = [](TCefDomDocument* self) CEF_CALLBACK -> int32_t {
    auto* d = Live<Document>(self, "get_selection_start_offset");
    return d ? d->state->selection.startOffset : 0;
  };
  wire_.get_selection_end_node = [](TCefDomDocument* self) CEF_CALLBACK {
    return NodeAnswer(self, "get_selection_end_node", [](DocumentState& s) { return s.selection.end; });
  };
  wire_.get_selection_end_offset = [](TCefDomDocument* self) CEF_CALLBACK -> int32_t {
    auto* d = Live<Document>(self, "get_selection_end_offset");
    return d ? d->state->selection.endOffset : 0;
  };
  wire_.get_selection_as_markup = [](TCefDomDocument* self) CEF_CALLBACK {
    return TextAnswer(self, "get_selection_as_markup", [](DocumentState& s) { return Selected(s, true); });
  };
  wire_.get_selection_as_text = [](TCefDomDocument* self) CEF_CALLBACK {
    return TextAnswer(self, "get_selection_as_text", [](DocumentState& s) { return Selected(s, false); });
  };
  wire_.get_base_url = [](TCefDomDocument* self) CEF_CALLBACK {
    return TextAnswer(self, "get_base_url", [](DocumentState& s) -> std::optional<std::u16string> {
      return BaseUrl(s);
    });
  };
  wire_.get_complete_url = [](TCefDomDocument* self, const TCefString* partialURL) CEF_CALLBACK {
    std::u16string partial = Read(partialURL);
    return TextAnswer(self, "get_complete_url", [&](DocumentState& s) -> std::optional<std::u16string> {
      return FromUtf8(net::ResolveUrl(ToUtf8(BaseUrl(s)), ToUtf8(partial)));
    });
  };
}

}  // namespace

void DocumentState::Detach() noexcept {
  detached = true;
  // Swapped out first: a listener's release may call back into the document.
  std::vector<Listener> released;
  released.swap(listeners);
}

TCefDomDocument* NewDocument(std::shared_ptr<DocumentState> state) {
  return Create<Document>(std::move(state))->wire();
}

std::shared_ptr<DocumentState> StateOf(TCefDomDocument* document, const char* member) {
  auto* d = Self<Document>(document, member);
  return d ? d->state : nullptr;
}

}  // namespace standin::dom
