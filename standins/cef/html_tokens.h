#pragma once
// The parser's first stage: the page's characters cut into tags and text, character
// references decoded. The tree builder in html.cpp gives the tokens their structure.

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace standin::html::tokens {

using Attributes = std::vector<std::pair<std::u16string, std::u16string>>;

struct Token {
  enum class Kind { StartTag, EndTag, Text };
  Kind kind = Kind::Text;
  std::u16string name;  // tags: lower case
  Attributes attributes;
  bool selfClosing = false;
  std::u16string text;  // text: references decoded
};

class Tokenizer {
 public:
  // The source must outlive the tokenizer; its line ends are already plain '\n'.
  explicit Tokenizer(std::u16string_view source) : source_(source) {}
  // The next token; false at the end of the source. Comments, doctypes and processing
  // instructions are skipped.
  bool Next(Token& token);

 private:
  bool RawText(Token& token);
  bool Markup(Token& token);
  bool StartTag(Token& token);
  bool EndTag(Token& token);
  void Text(Token& token);
  void SkipTo(std::u16string_view end);
  void ReadAttributes(Token& token);
  std::u16string ReadAttributeValue();

  std::u16string_view source_;
  size_t pos_ = 0;
  // After <script>, <title> and their kind: the element whose end tag ends the raw text.
  std::u16string rawElement_;
  bool rawDecodes_ = false;
};

// Text with its character references (&amp; &#39; &#x1F600; ...) decoded as a browser
// does; inside attribute values a legacy name without ';' followed by a letter, digit or
// '=' stays as written.
std::u16string DecodeReferences(std::u16string_view text, bool inAttribute);

// Elements whose content is raw text, and those of them whose references are decoded.
bool IsRawTextElement(std::u16string_view name);
// Elements that never have content or an end tag.
bool IsVoidElement(std::u16string_view name);
// Whether name is one of names.
bool OneOf(std::u16string_view name, std::initializer_list<std::u16string_view> names);
bool IsEscapableRawTextElement(std::u16string_view name);

bool IsAsciiBlank(char16_t c);
bool IsAsciiAlpha(char16_t c);
char16_t AsciiLower(char16_t c);

}  // namespace standin::html::tokens
