// The tree back to text: markup as browsers serialise it, and the visible text.

#include <algorithm>
#include <initializer_list>

#include "html.h"
#include "html_tokens.h"

namespace standin::html {
namespace {

using tokens::IsVoidElement;
using tokens::OneOf;

// Text inside these is written as it is: it was never decoded.
bool KeepsLiteralText(std::u16string_view name) {
  return OneOf(name, {u"script", u"style", u"xmp", u"iframe", u"noembed", u"noframes", u"plaintext"});
}

void AppendEscaped(std::u16string& out, std::u16string_view text, bool inAttribute) {
  for (char16_t c : text) {
    switch (c) {
      case u'&': out += u"&amp;"; break;
      case u'\u00A0': out += u"&nbsp;"; break;
      case u'"': out += inAttribute ? u"&quot;" : u"\""; break;
      case u'<': out += inAttribute ? u"<" : u"&lt;"; break;
      case u'>': out += inAttribute ? u">" : u"&gt;"; break;
      default: out += c;
    }
  }
}

void AppendMarkup(std::u16string& out, const Node& node);

void AppendChildren(std::u16string& out, const Node& node) {
  // The parser drops one newline after these start tags, so a leading one is written twice.
  if (OneOf(node.name, {u"pre", u"textarea", u"listing"}) && !node.children.empty() && node.children.front()->IsText() &&
      !node.children.front()->value.empty() && node.children.front()->value.front() == u'\n') {
    out += u'\n';
  }
  for (const auto& child : node.children) AppendMarkup(out, *child);
}

void AppendMarkup(std::u16string& out, const Node& node) {
  switch (node.type) {
    case NodeType::Text:
      if (node.parent && node.parent->IsElement() && KeepsLiteralText(node.parent->name)) {
        out += node.value;
      } else {
        AppendEscaped(out, node.value, false);
      }
      return;
    case NodeType::Comment:
      out += u"<!--" + node.value + u"-->";
      return;
    case NodeType::Document:
      AppendChildren(out, node);
      return;
    case NodeType::Element:
      break;
  }
  out += u'<' + node.name;
  for (const auto& [name, value] : node.attributes) {
    out += u' ' + name + u"=\"";
    AppendEscaped(out, value, true);
    out += u'"';
  }
  out += u'>';
  if (IsVoidElement(node.name)) return;
  AppendChildren(out, node);
  out += u"</" + node.name + u'>';
}

// ---- Visible text ----

bool IsBlock(std::u16string_view name) {
  return OneOf(name, {u"address", u"article", u"aside", u"blockquote", u"body", u"caption", u"center", u"dd",
                      u"details", u"dialog", u"dir", u"div", u"dl", u"dt", u"fieldset", u"figcaption", u"figure",
                      u"footer", u"form", u"h1", u"h2", u"h3", u"h4", u"h5", u"h6", u"header", u"hgroup", u"hr",
                      u"html", u"legend", u"li", u"listing", u"main", u"menu", u"nav", u"ol", u"p", u"pre",
                      u"section", u"summary", u"table", u"tbody", u"tfoot", u"thead", u"tr", u"ul", u"xmp"});
}

// Never rendered, so never part of the visible text.
bool IsHidden(const Node& node) {
  return OneOf(node.name, {u"head", u"script", u"style", u"title", u"template", u"noscript", u"iframe", u"textarea",
                           u"noembed", u"noframes"}) ||
         node.Attribute(u"hidden") != nullptr;
}

bool IsCell(const Node* node) { return node && node->IsElement() && (node->name == u"td" || node->name == u"th"); }

// Collects text as a plain rendering lays it out. Breaks, tabs and spaces are held back
// until visible text follows, so none lead or trail and runs of them collapse.
class TextWriter {
 public:
  void Text(std::u16string_view text, bool preformatted) {
    for (char16_t c : text) {
      if (!preformatted && tokens::IsAsciiBlank(c)) {
        space_ = true;
      } else {
        Put(c);
      }
    }
  }
  // Block edges need one line break between their text and what is around it.
  void BlockEdge() { breaks_ = std::max(breaks_, 1); }
  // Each <br> is a line break of its own.
  void LineBreak() { ++breaks_; }
  void CellSeparator() { tab_ = true; }
  std::u16string Take() { return std::move(out_); }

 private:
  void Put(char16_t c) {
    if (!out_.empty()) {
      if (breaks_ > 0) {
        out_.append(static_cast<size_t>(breaks_), u'\n');
      } else if (tab_) {
        out_ += u'\t';
      } else if (space_) {
        out_ += u' ';
      }
    }
    breaks_ = 0;
    tab_ = space_ = false;
    out_ += c;
  }

  std::u16string out_;
  int breaks_ = 0;
  bool tab_ = false;
  bool space_ = false;
};

void WriteText(TextWriter& writer, const Node& node, bool preformatted) {
  for (const auto& child : node.children) {
    const Node& c = *child;
    if (c.IsText()) {
      writer.Text(c.value, preformatted);
      continue;
    }
    if (!c.IsElement() || IsHidden(c)) continue;
    if (c.name == u"br") {
      writer.LineBreak();
      continue;
    }
    bool block = IsBlock(c.name);
    if (block) writer.BlockEdge();
    if (IsCell(&c) && IsCell(c.PreviousSibling())) writer.CellSeparator();
    WriteText(writer, c, preformatted || c.name == u"pre" || c.name == u"listing" || c.name == u"xmp");
    if (block) writer.BlockEdge();
  }
}

}  // namespace

std::u16string Markup(const Node& node) {
  std::u16string out;
  AppendMarkup(out, node);
  return out;
}

std::u16string InnerMarkup(const Node& node) {
  std::u16string out;
  AppendChildren(out, node);
  return out;
}

std::u16string InnerText(const Node& node) {
  if (node.IsText()) return node.value;
  TextWriter writer;
  WriteText(writer, node, node.name == u"pre");
  return writer.Take();
}

}  // namespace standin::html
