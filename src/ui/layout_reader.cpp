#include "ui/layout_reader.h"

#include <cctype>

#include "platform/text.h"

namespace ui {

ELayoutError::ELayoutError(const std::u16string& what, int line)
    : Exception(u"Form resource, line " + platform::IntToText(line) + u": " + what) {}

namespace {

struct Token {
  enum class Kind { End, Identifier, Integer, String, Symbol } kind = Kind::End;
  std::string text;
  long long integer = 0;
  int line = 1;
};

class Lexer {
 public:
  explicit Lexer(std::string_view text) : s_(text) {}

  Token Next() {
    SkipBlanksAndComments();
    Token t;
    t.line = line_;
    if (i_ >= s_.size()) return t;
    char c = s_[i_];
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      t.kind = Token::Kind::Identifier;
      while (i_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_])) || s_[i_] == '_' || s_[i_] == '.'))
        t.text.push_back(s_[i_++]);
    } else if (std::isdigit(static_cast<unsigned char>(c)) || (c == '-' && i_ + 1 < s_.size() &&
                                                               std::isdigit(static_cast<unsigned char>(s_[i_ + 1])))) {
      t.kind = Token::Kind::Integer;
      t.text.push_back(s_[i_++]);
      while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) t.text.push_back(s_[i_++]);
      if (t.text.size() > 18) throw ELayoutError(u"number out of range", line_);
      t.integer = std::stoll(t.text);
    } else if (c == '\'') {
      t.kind = Token::Kind::String;
      ++i_;
      for (;;) {
        if (i_ >= s_.size() || s_[i_] == '\n') throw ELayoutError(u"unterminated string", t.line);
        if (s_[i_] == '\'') {
          if (i_ + 1 < s_.size() && s_[i_ + 1] == '\'') {
            t.text.push_back('\'');
            i_ += 2;
            continue;
          }
          ++i_;
          break;
        }
        t.text.push_back(s_[i_++]);
      }
    } else if (c == ':' || c == '=' || c == '[' || c == ']' || c == ',') {
      t.kind = Token::Kind::Symbol;
      t.text.push_back(s_[i_++]);
    } else {
      throw ELayoutError(u"unexpected character '" + platform::Utf8ToUtf16(std::string(1, c)) + u"'", line_);
    }
    return t;
  }

 private:
  void SkipBlanksAndComments() {
    while (i_ < s_.size()) {
      if (s_[i_] == '\n') {
        ++line_;
        ++i_;
      } else if (std::isspace(static_cast<unsigned char>(s_[i_]))) {
        ++i_;
      } else if (s_.substr(i_, 2) == "//") {
        while (i_ < s_.size() && s_[i_] != '\n') ++i_;
      } else {
        break;
      }
    }
  }

  std::string_view s_;
  size_t i_ = 0;
  int line_ = 1;
};

class Parser {
 public:
  explicit Parser(std::string_view text) : lexer_(text) { Advance(); }

  LayoutObject Document() {
    LayoutObject root = Object();
    if (t_.kind != Token::Kind::End) Fail(u"text after the last 'end'");
    return root;
  }

 private:
  void Advance() { t_ = lexer_.Next(); }
  [[noreturn]] void Fail(const std::u16string& what) { throw ELayoutError(what, t_.line); }
  bool IsSymbol(char c) const { return t_.kind == Token::Kind::Symbol && t_.text[0] == c; }
  bool IsWord(std::string_view word) const { return t_.kind == Token::Kind::Identifier && t_.text == word; }

  std::u16string Identifier(const char16_t* what) {
    if (t_.kind != Token::Kind::Identifier) Fail(std::u16string(u"expected ") + what);
    std::u16string name = platform::Utf8ToUtf16(t_.text);
    Advance();
    return name;
  }

  void Expect(char c) {
    if (!IsSymbol(c)) Fail(u"expected '" + std::u16string(1, static_cast<char16_t>(c)) + u"'");
    Advance();
  }

  LayoutObject Object() {
    if (!IsWord("object")) Fail(u"expected 'object'");
    LayoutObject o;
    o.line = t_.line;
    Advance();
    o.name = Identifier(u"an object name");
    Expect(':');
    o.className = Identifier(u"a class name");
    while (!IsWord("end")) {
      if (t_.kind == Token::Kind::End) Fail(u"'end' missing for object " + o.name);
      if (IsWord("object")) {
        o.children.push_back(Object());
        continue;
      }
      LayoutProperty p;
      p.line = t_.line;
      p.name = Identifier(u"a property name");
      Expect('=');
      p.value = Value();
      o.properties.push_back(std::move(p));
    }
    Advance();
    return o;
  }

  LayoutValue Value() {
    LayoutValue v;
    switch (t_.kind) {
      case Token::Kind::Integer:
        v.kind = LayoutValue::Kind::Integer;
        v.integer = t_.integer;
        Advance();
        return v;
      case Token::Kind::String:
        v.kind = LayoutValue::Kind::String;
        v.text = platform::Utf8ToUtf16(t_.text);
        Advance();
        return v;
      case Token::Kind::Identifier:
        if (IsWord("end") || IsWord("object")) break;  // a value is missing
        v.kind = LayoutValue::Kind::Identifier;
        v.text = platform::Utf8ToUtf16(t_.text);
        Advance();
        return v;
      case Token::Kind::Symbol:
        if (IsSymbol('[')) {
          v.kind = LayoutValue::Kind::Set;
          Advance();
          while (!IsSymbol(']')) {
            v.set.push_back(Identifier(u"a set member"));
            if (IsSymbol(',')) Advance();
            else if (!IsSymbol(']')) Fail(u"expected ',' or ']'");
          }
          Advance();
          return v;
        }
        [[fallthrough]];
      case Token::Kind::End:
        break;
    }
    Fail(u"expected a value");
  }

  Lexer lexer_;
  Token t_;
};

}  // namespace

LayoutObject ReadLayout(std::string_view text) {
  // A UTF-8 byte order mark is allowed and ignored.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return Parser(text).Document();
}

}  // namespace ui
