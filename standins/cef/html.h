#pragma once
// The stand-in's document tree: a small, tolerant HTML parser and the questions a browser
// asks of the tree (title, element by id, markup, visible text). No rendering, no CSS.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace standin::html {

// The DOM's node type numbers.
enum class NodeType : int32_t { Element = 1, Text = 3, Comment = 8, Document = 9 };

struct Node {
  NodeType type = NodeType::Element;
  // Elements: the tag name in lower case; text: "#text"; the document: "#document".
  std::u16string name;
  // Text nodes: their text, entities decoded.
  std::u16string value;
  // Elements: attributes in source order, names in lower case, values decoded.
  std::vector<std::pair<std::u16string, std::u16string>> attributes;
  Node* parent = nullptr;
  std::vector<std::unique_ptr<Node>> children;

  bool IsElement() const { return type == NodeType::Element; }
  bool IsText() const { return type == NodeType::Text; }
  // The attribute's value, or null when the element has none of that name (any case).
  const std::u16string* Attribute(std::u16string_view attrName) const;
  void SetAttribute(std::u16string_view attrName, std::u16string value);
  Node* PreviousSibling() const;
  Node* NextSibling() const;
  // Adds a child at the end and answers it.
  Node* Append(std::unique_ptr<Node> child);
};

// Parses a whole page. Always answers a document whose single element child is <html>
// with <head> and <body>, whatever the source lacks. Tolerant as browsers are: unclosed
// and stray end tags, unquoted attributes, void elements, raw text in <script>, <style>,
// <textarea> and <title>; comments and doctypes are dropped.
std::unique_ptr<Node> Parse(std::u16string_view source);

// The <html>, <head>, <body> and <title> elements of a parsed document (null if absent).
Node* HtmlElement(const Node& document);
Node* Head(const Node& document);
Node* Body(const Node& document);
// The text of the first <title>, blanks collapsed and trimmed.
std::u16string Title(const Node& document);
// The first element in document order whose id attribute is exactly id.
Node* ElementById(const Node& document, std::u16string_view id);
// Every element in document order whose tag name is tag (lower case).
std::vector<Node*> ElementsByTag(const Node& root, std::u16string_view tag);

// The node as markup: an element with its tags and descendants, a text node escaped.
std::u16string Markup(const Node& node);
// The markup of the node's children only (an element's inner HTML).
std::u16string InnerMarkup(const Node& node);
// The visible text under a node as a plain rendering would show it: <script>, <style>,
// <head> and comments left out, blocks and <br> as line breaks, blanks collapsed.
std::u16string InnerText(const Node& node);

// Text from the bytes of a page: the charset named (utf-8, euc-kr, iso-8859-1 and their
// aliases), else a <meta charset> near the start, else UTF-8; bad bytes become U+FFFD.
std::u16string DecodeText(const std::vector<uint8_t>& bytes, std::string_view charset);

}  // namespace standin::html
