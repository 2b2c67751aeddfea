// The tolerant HTML parser's tree builder and the questions asked of its tree.

#include "html.h"

#include <algorithm>
#include <initializer_list>

#include "html_tokens.h"

namespace standin::html {
namespace {

using tokens::IsVoidElement;
using tokens::OneOf;

using tokens::Token;

// Elements that belong in <head> when they come before the body has begun.
bool IsHeadContent(std::u16string_view name) {
  return OneOf(name, {u"base", u"basefont", u"bgsound", u"link", u"meta", u"title", u"style", u"script", u"noscript",
                      u"template"});
}

// Start tags that end an open paragraph.
bool ClosesParagraph(std::u16string_view name) {
  return OneOf(name, {u"address", u"article", u"aside", u"blockquote", u"center", u"details", u"dialog", u"dir",
                      u"div", u"dl", u"fieldset", u"figcaption", u"figure", u"footer", u"form", u"h1", u"h2", u"h3",
                      u"h4", u"h5", u"h6", u"header", u"hgroup", u"hr", u"li", u"dd", u"dt", u"listing", u"main",
                      u"menu", u"nav", u"ol", u"p", u"pre", u"section", u"summary", u"table", u"ul", u"xmp"});
}

bool IsHeading(std::u16string_view name) { return OneOf(name, {u"h1", u"h2", u"h3", u"h4", u"h5", u"h6"}); }

// Elements an end tag of an inline element does not close past, as in browsers.
bool IsSpecial(std::u16string_view name) {
  return ClosesParagraph(name) ||
         OneOf(name, {u"applet", u"body", u"br", u"button", u"caption", u"col", u"colgroup", u"html", u"iframe",
                      u"img", u"input", u"marquee", u"object", u"select", u"tbody", u"td", u"textarea", u"tfoot",
                      u"th", u"thead", u"tr"});
}

// Boundaries no end tag reaches across, so a stray one inside a table cell stays there.
bool IsScopeBoundary(std::u16string_view name) {
  return OneOf(name, {u"html", u"table", u"td", u"th", u"caption", u"applet", u"marquee", u"object", u"template"});
}

bool IsTableSection(std::u16string_view name) { return OneOf(name, {u"tbody", u"thead", u"tfoot"}); }

// Where the search for the element an end tag closes gives up. The end of a table, a row
// or a section closes the cells inside it; other end tags stay within their cell.
bool EndsSearch(std::u16string_view endTag, std::u16string_view open) {
  if (endTag == u"table") return open == u"html";
  if (endTag == u"tr" || IsTableSection(endTag)) return open == u"table" || open == u"html";
  return IsScopeBoundary(open);
}

std::unique_ptr<Node> NewElement(std::u16string name, tokens::Attributes attributes = {}) {
  auto node = std::make_unique<Node>();
  node->type = NodeType::Element;
  node->name = std::move(name);
  node->attributes = std::move(attributes);
  return node;
}

class TreeBuilder {
 public:
  TreeBuilder() : document_(std::make_unique<Node>()) {
    document_->type = NodeType::Document;
    document_->name = u"#document";
  }

  void Add(Token& token);
  std::unique_ptr<Node> Finish() {
    EnsureBody();
    return std::move(document_);
  }

 private:
  Node* Current() const { return open_.empty() ? document_.get() : open_.back(); }
  Node* Insert(std::unique_ptr<Node> node, bool push);
  void InsertText(std::u16string text);
  void EnsureHtml();
  void EnsureHead();
  void EnsureBody();
  void MergeAttributes(Node* node, const tokens::Attributes& attributes);

  void StartTag(Token& token);
  void BodyStartTag(Token& token);
  void EndTag(const Token& token);
  void PopThrough(Node* node);
  // The open element of that name above every boundary, or null.
  Node* InScope(std::u16string_view name, bool listScope = false) const;
  void CloseParagraph();
  void CloseListItem(std::initializer_list<std::u16string_view> names);
  void CloseCell();
  void EnsureTableRow();

  std::unique_ptr<Node> document_;
  std::vector<Node*> open_;
  Node* html_ = nullptr;
  Node* head_ = nullptr;
  Node* body_ = nullptr;
  bool dropLeadingNewline_ = false;
};

Node* TreeBuilder::Insert(std::unique_ptr<Node> node, bool push) {
  Node* added = Current()->Append(std::move(node));
  if (push) open_.push_back(added);
  return added;
}

void TreeBuilder::InsertText(std::u16string text) {
  if (std::exchange(dropLeadingNewline_, false) && !text.empty() && text.front() == u'\n') text.erase(0, 1);
  if (text.empty()) return;
  Node* parent = Current();
  if (!parent->children.empty() && parent->children.back()->IsText()) {
    parent->children.back()->value += text;
    return;
  }
  auto node = std::make_unique<Node>();
  node->type = NodeType::Text;
  node->name = u"#text";
  node->value = std::move(text);
  parent->Append(std::move(node));
}

void TreeBuilder::EnsureHtml() {
  if (!html_) html_ = Insert(NewElement(u"html"), true);
}

void TreeBuilder::EnsureHead() {
  EnsureHtml();
  if (head_) return;
  while (Current() != html_) open_.pop_back();
  head_ = Insert(NewElement(u"head"), true);
}

void TreeBuilder::EnsureBody() {
  EnsureHead();
  if (body_) return;
  while (Current() != html_) open_.pop_back();
  body_ = Insert(NewElement(u"body"), true);
}

void TreeBuilder::MergeAttributes(Node* node, const tokens::Attributes& attributes) {
  for (const auto& [name, value] : attributes) {
    if (!node->Attribute(name)) node->attributes.emplace_back(name, value);
  }
}

void TreeBuilder::Add(Token& token) {
  switch (token.kind) {
    case Token::Kind::Text: {
      bool rawContent = tokens::IsRawTextElement(Current()->name) && Current() != document_.get();
      if (!body_ && !rawContent) {
        // Blanks before the body carry nothing; the first other text begins the body.
        size_t first = token.text.find_first_not_of(u" \t\n\r\f");
        if (first == std::u16string::npos) return;
        token.text.erase(0, first);
        EnsureBody();
      }
      InsertText(std::move(token.text));
      return;
    }
    case Token::Kind::StartTag:
      dropLeadingNewline_ = false;
      StartTag(token);
      return;
    case Token::Kind::EndTag:
      dropLeadingNewline_ = false;
      EndTag(token);
      return;
  }
}

void TreeBuilder::StartTag(Token& token) {
  const std::u16string& name = token.name;
  if (name == u"html") {
    if (html_) {
      MergeAttributes(html_, token.attributes);
    } else {
      html_ = Insert(NewElement(name, std::move(token.attributes)), true);
    }
    return;
  }
  if (name == u"head") {
    if (!head_) {
      EnsureHtml();
      head_ = Insert(NewElement(name, std::move(token.attributes)), true);
    }
    return;
  }
  if (name == u"body") {
    if (body_) {
      MergeAttributes(body_, token.attributes);
      return;
    }
    EnsureHead();
    while (Current() != html_) open_.pop_back();
    body_ = Insert(NewElement(name, std::move(token.attributes)), true);
    return;
  }
  if (!body_ && IsHeadContent(name)) {
    EnsureHead();
    if (Current() == html_) open_.push_back(head_);  // after </head>, still into the head
    Insert(NewElement(name, std::move(token.attributes)), !IsVoidElement(name));
    return;
  }
  EnsureBody();
  BodyStartTag(token);
}

void TreeBuilder::BodyStartTag(Token& token) {
  std::u16string name = token.name;
  if (name == u"li") CloseListItem({u"li"});
  if (name == u"dd" || name == u"dt") CloseListItem({u"dd", u"dt"});
  if (ClosesParagraph(name)) CloseParagraph();
  if (IsHeading(name) && IsHeading(Current()->name)) open_.pop_back();
  if (name == u"option" && Current()->name == u"option") open_.pop_back();
  if (name == u"optgroup") {
    if (Current()->name == u"option") open_.pop_back();
    if (Current()->name == u"optgroup") open_.pop_back();
  }
  if (name == u"a") {
    if (Node* open = InScope(u"a")) PopThrough(open);
  }
  if (name == u"td" || name == u"th") {
    CloseCell();
    EnsureTableRow();
  }
  if (name == u"tr") {
    CloseCell();
    if (Node* row = InScope(u"tr")) PopThrough(row);
    if (Current()->name == u"table") Insert(NewElement(u"tbody"), true);
  }
  if (IsTableSection(name) || name == u"caption" || name == u"colgroup") {
    if (InScope(u"table")) {
      while (Current()->name != u"table") open_.pop_back();
    }
  }
  bool isVoid = IsVoidElement(name);
  Insert(NewElement(std::move(name), std::move(token.attributes)), !isVoid);
  if (token.name == u"pre" || token.name == u"listing" || token.name == u"textarea") dropLeadingNewline_ = true;
}

void TreeBuilder::EndTag(const Token& token) {
  const std::u16string& name = token.name;
  if (name == u"html" || name == u"body") return;  // what follows still belongs to the body
  if (name == u"head") {
    if (Current() == head_) open_.pop_back();
    return;
  }
  if (name == u"br") {
    Token br;
    br.kind = Token::Kind::StartTag;
    br.name = u"br";
    EnsureBody();
    BodyStartTag(br);
    return;
  }
  if (name == u"p" && !InScope(u"p")) {
    EnsureBody();
    Insert(NewElement(u"p"), false);  // a stray </p> makes an empty paragraph
    return;
  }
  bool special = IsSpecial(name);
  for (size_t i = open_.size(); i-- > 0;) {
    Node* node = open_[i];
    if (node->name == name) {
      PopThrough(node);
      return;
    }
    if (EndsSearch(name, node->name) || (!special && IsSpecial(node->name))) return;
  }
}

void TreeBuilder::PopThrough(Node* node) {
  while (!open_.empty()) {
    Node* popped = open_.back();
    open_.pop_back();
    if (popped == node) break;
  }
  // The body and html elements stay open whatever closes: content after them joins the body.
  if (body_ && std::find(open_.begin(), open_.end(), body_) == open_.end()) {
    open_ = {html_, body_};
  }
}

Node* TreeBuilder::InScope(std::u16string_view name, bool listScope) const {
  for (size_t i = open_.size(); i-- > 0;) {
    if (open_[i]->name == name) return open_[i];
    if (IsScopeBoundary(open_[i]->name)) return nullptr;
    if (listScope && (open_[i]->name == u"ul" || open_[i]->name == u"ol" || open_[i]->name == u"dl")) return nullptr;
  }
  return nullptr;
}

void TreeBuilder::CloseParagraph() {
  for (size_t i = open_.size(); i-- > 0;) {
    Node* node = open_[i];
    if (node->name == u"p") {
      PopThrough(node);
      return;
    }
    if (IsScopeBoundary(node->name) || node->name == u"button") return;
  }
}

void TreeBuilder::CloseListItem(std::initializer_list<std::u16string_view> names) {
  for (size_t i = open_.size(); i-- > 0;) {
    Node* node = open_[i];
    if (OneOf(node->name, names)) {
      PopThrough(node);
      return;
    }
    if (IsScopeBoundary(node->name) || OneOf(node->name, {u"ul", u"ol", u"dl", u"menu", u"body"})) return;
  }
}

void TreeBuilder::CloseCell() {
  Node* td = InScope(u"td");
  Node* th = InScope(u"th");
  if (td || th) PopThrough(td ? td : th);
}

// Cells live in rows and rows in sections, as browsers build tables from bare <td>s.
void TreeBuilder::EnsureTableRow() {
  if (Current()->name == u"table") Insert(NewElement(u"tbody"), true);
  if (IsTableSection(Current()->name)) Insert(NewElement(u"tr"), true);
}

template <class Visit>
bool Walk(const Node& node, Visit&& visit) {
  for (const auto& child : node.children) {
    if (visit(*child) || Walk(*child, visit)) return true;
  }
  return false;
}

Node* ChildElement(const Node* parent, std::u16string_view name) {
  if (!parent) return nullptr;
  for (const auto& child : parent->children) {
    if (child->IsElement() && child->name == name) return child.get();
  }
  return nullptr;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
           return tokens::AsciiLower(x) == tokens::AsciiLower(y);
         });
}

std::u16string LowerName(std::u16string_view name) {
  std::u16string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(), tokens::AsciiLower);
  return lower;
}

// Line ends are '\n' inside the tree, as the HTML parser normalises them.
std::u16string NormaliseLineEnds(std::u16string_view source) {
  std::u16string text;
  text.reserve(source.size());
  for (size_t i = 0; i < source.size(); ++i) {
    if (source[i] != u'\r') {
      text += source[i];
    } else {
      text += u'\n';
      if (i + 1 < source.size() && source[i + 1] == u'\n') ++i;
    }
  }
  return text;
}

}  // namespace

const std::u16string* Node::Attribute(std::u16string_view attrName) const {
  for (const auto& [key, value] : attributes) {
    if (EqualsNoCase(key, attrName)) return &value;
  }
  return nullptr;
}

void Node::SetAttribute(std::u16string_view attrName, std::u16string attrValue) {
  for (auto& [key, value] : attributes) {
    if (EqualsNoCase(key, attrName)) {
      value = std::move(attrValue);
      return;
    }
  }
  attributes.emplace_back(LowerName(attrName), std::move(attrValue));
}

Node* Node::PreviousSibling() const {
  if (!parent) return nullptr;
  auto& siblings = parent->children;
  auto it = std::find_if(siblings.begin(), siblings.end(), [&](const auto& c) { return c.get() == this; });
  return it == siblings.begin() || it == siblings.end() ? nullptr : std::prev(it)->get();
}

Node* Node::NextSibling() const {
  if (!parent) return nullptr;
  auto& siblings = parent->children;
  auto it = std::find_if(siblings.begin(), siblings.end(), [&](const auto& c) { return c.get() == this; });
  return it == siblings.end() || std::next(it) == siblings.end() ? nullptr : std::next(it)->get();
}

Node* Node::Append(std::unique_ptr<Node> child) {
  child->parent = this;
  children.push_back(std::move(child));
  return children.back().get();
}

std::unique_ptr<Node> Parse(std::u16string_view source) {
  std::u16string text = NormaliseLineEnds(source);
  tokens::Tokenizer tokenizer(text);
  TreeBuilder builder;
  Token token;
  while (tokenizer.Next(token)) builder.Add(token);
  return builder.Finish();
}

Node* HtmlElement(const Node& document) { return ChildElement(&document, u"html"); }
Node* Head(const Node& document) { return ChildElement(HtmlElement(document), u"head"); }
Node* Body(const Node& document) { return ChildElement(HtmlElement(document), u"body"); }

std::u16string Title(const Node& document) {
  std::vector<Node*> titles = ElementsByTag(document, u"title");
  if (titles.empty()) return {};
  std::u16string text;
  for (const auto& child : titles.front()->children) {
    if (child->IsText()) text += child->value;
  }
  std::u16string collapsed;
  bool blank = false;
  for (char16_t c : text) {
    if (tokens::IsAsciiBlank(c)) {
      blank = !collapsed.empty();
    } else {
      if (std::exchange(blank, false)) collapsed += u' ';
      collapsed += c;
    }
  }
  return collapsed;
}

Node* ElementById(const Node& document, std::u16string_view id) {
  Node* found = nullptr;
  Walk(document, [&](Node& node) {
    const std::u16string* value = node.IsElement() ? node.Attribute(u"id") : nullptr;
    if (value && *value == id) found = &node;
    return found != nullptr;
  });
  return found;
}

std::vector<Node*> ElementsByTag(const Node& root, std::u16string_view tag) {
  std::vector<Node*> found;
  Walk(root, [&](Node& node) {
    if (node.IsElement() && node.name == tag) found.push_back(&node);
    return false;
  });
  return found;
}

}  // namespace standin::html
