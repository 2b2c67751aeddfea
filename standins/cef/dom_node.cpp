// Node objects: one node of a document's tree, its place among the others, its value and
// attributes, and the listeners the program adds to it.

#include <optional>

#include "dom.h"

namespace standin::dom {
namespace {

class Node final : public StateObject<TCefDomNode, Kind::DomNode> {
 public:
  Node(std::shared_ptr<DocumentState> documentState, html::Node* treeNode);
  html::Node* node;
};

std::u16string AsciiUpper(std::u16string text) {
  for (char16_t& c : text)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  return text;
}

// The characters of every text node under a node, in document order.
std::u16string TextContent(const html::Node& node) {
  if (node.IsText()) return node.value;
  std::u16string text;
  for (const auto& child : node.children) text += TextContent(*child);
  return text;
}

bool Is(const html::Node& node, std::u16string_view tag) { return node.IsElement() && node.name == tag; }

std::u16string OptionValue(const html::Node& option) {
  const std::u16string* value = option.Attribute(u"value");
  return value ? *value : TextContent(option);
}

// The option a select element shows: the one marked selected, else the first.
html::Node* ShownOption(const html::Node& select) {
  std::vector<html::Node*> options = html::ElementsByTag(select, u"option");
  for (html::Node* option : options)
    if (option->Attribute(u"selected")) return option;
  return options.empty() ? nullptr : options.front();
}

// A node's value: a text node's characters, a form control's current value; none for
// any other node.
std::optional<std::u16string> ValueOf(const html::Node& node) {
  if (!node.IsElement()) {
    if (node.type == html::NodeType::Document) return std::nullopt;
    return node.value;
  }
  if (Is(node, u"input") || Is(node, u"button")) {
    const std::u16string* value = node.Attribute(u"value");
    return value ? *value : std::u16string();
  }
  if (Is(node, u"option")) return OptionValue(node);
  if (Is(node, u"textarea")) return TextContent(node);
  if (Is(node, u"select")) {
    html::Node* option = ShownOption(node);
    return option ? OptionValue(*option) : std::u16string();
  }
  return std::nullopt;
}

// The text area's first text child takes the text and any others are emptied, so that
// node objects over them stay valid.
void SetTextAreaValue(html::Node& area, std::u16string value) {
  bool placed = false;
  for (auto& child : area.children) {
    if (!child->IsText()) continue;
    child->value = placed ? std::u16string() : std::move(value);
    placed = true;
  }
  if (placed) return;
  auto text = std::make_unique<html::Node>();
  text->type = html::NodeType::Text;
  text->name = u"#text";
  text->value = std::move(value);
  area.Append(std::move(text));
}

bool SelectOption(html::Node& select, std::u16string_view value) {
  std::vector<html::Node*> options = html::ElementsByTag(select, u"option");
  html::Node* chosen = nullptr;
  for (html::Node* option : options)
    if (!chosen && OptionValue(*option) == value) chosen = option;
  if (!chosen) return false;
  for (html::Node* option : options) {
    auto& attributes = option->attributes;
    std::erase_if(attributes, [](const auto& attribute) { return attribute.first == u"selected"; });
  }
  chosen->SetAttribute(u"selected", u"selected");
  return true;
}

bool SetValue(html::Node& node, std::u16string value) {
  if (node.type == html::NodeType::Text || node.type == html::NodeType::Comment) {
    node.value = std::move(value);
    return true;
  }
  if (Is(node, u"input") || Is(node, u"button") || Is(node, u"option")) {
    node.SetAttribute(u"value", std::move(value));
    return true;
  }
  if (Is(node, u"textarea")) {
    SetTextAreaValue(node, std::move(value));
    return true;
  }
  return Is(node, u"select") && SelectOption(node, value);
}

// A related node's answer: a new node object, or null.
template <class F>
TCefDomNode* Related(TCefDomNode* self, const char* member, F relation) {
  auto* n = Live<Node>(self, member);
  return n ? NewNode(n->state, relation(*n->node)) : nullptr;
}

// A text answer: a userfree string, or null when the node has none.
template <class F>
TCefStringUserFree TextAnswer(TCefDomNode* self, const char* member, F text) {
  auto* n = Live<Node>(self, member);
  if (!n) return nullptr;
  std::optional<std::u16string> answer = text(*n->node);
  return answer ? UserFree(*answer) : nullptr;
}

template <class F>
TCefBool Test(TCefDomNode* self, const char* member, F test) {
  auto* n = Live<Node>(self, member);
  return n && test(*n->node) ? 1 : 0;
}

// The element behind self, for the attribute members; null for other nodes.
html::Node* Element(TCefDomNode* self, const char* member) {
  auto* n = Live<Node>(self, member);
  return n && n->node->IsElement() ? n->node : nullptr;
}

void AddListener(TCefDomNode* self, const TCefString* eventType, TCefDomEventListener* listener,
                 TCefBool useCapture) {
  // Held at once, so that every way out below releases a listener that is not kept.
  Held held(listener, "DOM event listener");
  auto* n = Live<Node>(self, "add_event_listener");
  if (!n || !held) return;
  n->state->listeners.push_back({n->node, Read(eventType), std::move(held), useCapture != 0});
}

TCefBool IsSame(TCefDomNode* self, TCefDomNode* that) {
  // The argument's reference is the receiver's to release.
  ObjRef<Node> other = that ? ObjRef<Node>::Adopt(Self<Node>(that, "is_same")) : ObjRef<Node>();
  auto* n = Live<Node>(self, "is_same");
  return n && other && other->node == n->node ? 1 : 0;
}

void InstallTreeMembers(TCefDomNode& w) {
  w.get_type = [](TCefDomNode* self) CEF_CALLBACK -> int32_t {
    auto* n = Live<Node>(self, "get_type");
    return n ? static_cast<int32_t>(n->node->type) : 0;
  };
  w.is_text = [](TCefDomNode* self) CEF_CALLBACK {
    return Test(self, "is_text", [](const html::Node& node) { return node.IsText(); });
  };
  w.is_element = [](TCefDomNode* self) CEF_CALLBACK {
    return Test(self, "is_element", [](const html::Node& node) { return node.IsElement(); });
  };
  w.is_same = [](TCefDomNode* self, TCefDomNode* that) CEF_CALLBACK { return IsSame(self, that); };
  w.get_name = [](TCefDomNode* self) CEF_CALLBACK {
    return TextAnswer(self, "get_name", [](const html::Node& node) -> std::optional<std::u16string> {
      return node.IsElement() ? AsciiUpper(node.name) : node.name;
    });
  };
  w.get_value = [](TCefDomNode* self) CEF_CALLBACK { return TextAnswer(self, "get_value", ValueOf); };
  w.set_value = [](TCefDomNode* self, const TCefString* value) CEF_CALLBACK -> TCefBool {
    auto* n = Live<Node>(self, "set_value");
    return n && SetValue(*n->node, Read(value)) ? 1 : 0;
  };
  w.get_as_markup = [](TCefDomNode* self) CEF_CALLBACK {
    return TextAnswer(self, "get_as_markup", [](const html::Node& node) -> std::optional<std::u16string> {
      return html::Markup(node);
    });
  };
  w.get_document = [](TCefDomNode* self) CEF_CALLBACK -> TCefDomDocument* {
    auto* n = Live<Node>(self, "get_document");
    return n ? NewDocument(n->state) : nullptr;
  };
  w.get_parent = [](TCefDomNode* self) CEF_CALLBACK {
    return Related(self, "get_parent", [](html::Node& node) { return node.parent; });
  };
  w.get_previous_sibling = [](TCefDomNode* self) CEF_CALLBACK {
    return Related(self, "get_previous_sibling", [](html::Node& node) { return node.PreviousSibling(); });
  };
  w.get_next_sibling = [](TCefDomNode* self) CEF_CALLBACK {
    return Related(self, "get_next_sibling", [](html::Node& node) { return node.NextSibling(); });
  };
  w.has_children = [](TCefDomNode* self) CEF_CALLBACK {
    return Test(self, "has_children", [](const html::Node& node) { return !node.children.empty(); });
  };
  w.get_first_child = [](TCefDomNode* self) CEF_CALLBACK {
    return Related(self, "get_first_child", [](html::Node& node) {
      return node.children.empty() ? nullptr : node.children.front().get();
    });
  };
  w.get_last_child = [](TCefDomNode* self) CEF_CALLBACK {
    return Related(self, "get_last_child", [](html::Node& node) {
      return node.children.empty() ? nullptr : node.children.back().get();
    });
  };
  w.add_event_listener = [](TCefDomNode* self, const TCefString* eventType, TCefDomEventListener* listener,
                            TCefBool useCapture) CEF_CALLBACK { AddListener(self, eventType, listener, useCapture); };
}

void InstallElementMembers(TCefDomNode& w) {
  w.get_element_tag_name = [](TCefDomNode* self) CEF_CALLBACK -> TCefStringUserFree {
    html::Node* e = Element(self, "get_element_tag_name");
    return e ? UserFree(AsciiUpper(e->name)) : nullptr;
  };
  w.has_element_attributes = [](TCefDomNode* self) CEF_CALLBACK -> TCefBool {
    html::Node* e = Element(self, "has_element_attributes");
    return e && !e->attributes.empty() ? 1 : 0;
  };
  w.has_element_attribute = [](TCefDomNode* self, const TCefString* attrName) CEF_CALLBACK -> TCefBool {
    html::Node* e = Element(self, "has_element_attribute");
    return e && e->Attribute(Read(attrName)) ? 1 : 0;
  };
  w.get_element_attribute = [](TCefDomNode* self, const TCefString* attrName) CEF_CALLBACK -> TCefStringUserFree {
    html::Node* e = Element(self, "get_element_attribute");
    const std::u16string* value = e ? e->Attribute(Read(attrName)) : nullptr;
    return value ? UserFree(*value) : nullptr;
  };
  w.get_element_attributes = [](TCefDomNode* self, TCefStringMap attrMap) CEF_CALLBACK {
    html::Node* e = Element(self, "get_element_attributes");
    if (!e || !attrMap) return;
    for (auto& [name, value] : e->attributes) {
      TCefString k{const_cast<char16_t*>(name.c_str()), static_cast<uint32_t>(name.size()), nullptr};
      TCefString v{const_cast<char16_t*>(value.c_str()), static_cast<uint32_t>(value.size()), nullptr};
      cef_string_map_append(attrMap, &k, &v);
    }
  };
  w.set_element_attribute = [](TCefDomNode* self, const TCefString* attrName,
                               const TCefString* value) CEF_CALLBACK -> TCefBool {
    html::Node* e = Element(self, "set_element_attribute");
    std::u16string name = Read(attrName);
    if (!e || name.empty()) return 0;
    e->SetAttribute(name, Read(value));
    return 1;
  };
  w.get_element_inner_text = [](TCefDomNode* self) CEF_CALLBACK -> TCefStringUserFree {
    html::Node* e = Element(self, "get_element_inner_text");
    return e ? UserFree(html::InnerText(*e)) : nullptr;
  };
}

Node::Node(std::shared_ptr<DocumentState> documentState, html::Node* treeNode)
    : StateObject(std::move(documentState)), node(treeNode) {
  InstallTreeMembers(wire_);
  InstallElementMembers(wire_);
}

}  // namespace

TCefDomNode* NewNode(std::shared_ptr<DocumentState> state, html::Node* node) {
  return node ? Create<Node>(std::move(state), node)->wire() : nullptr;
}

bool NodeOf(TCefDomNode* node, const char* member, std::shared_ptr<DocumentState>& state, html::Node*& treeNode) {
  auto* n = Self<Node>(node, member);
  if (!n) return false;
  state = n->state;
  treeNode = n->node;
  return true;
}

}  // namespace standin::dom
