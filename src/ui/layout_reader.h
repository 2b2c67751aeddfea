#pragma once
// The text of a form resource: nested objects with typed properties, in the manner of a
// form designer's text format:
//
//   object MainForm: TMainForm
//     Caption = 'QVN'          // strings in single quotes, '' for a quote
//     ClientWidth = 1058       // integers
//     Align = alTop            // identifiers
//     Anchors = [akTop, akRight]
//     object Panel1: TPanel
//       ...
//     end
//   end
//
// Portable: the reader builds a tree; the framework turns it into controls.

#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"

namespace ui {

struct LayoutValue {
  enum class Kind { Integer, String, Identifier, Set };
  Kind kind = Kind::Integer;
  long long integer = 0;
  std::u16string text;               // String and Identifier
  std::vector<std::u16string> set;   // Set
};

struct LayoutProperty {
  std::u16string name;  // may be dotted: Padding.Left
  LayoutValue value;
  int line = 0;
};

struct LayoutObject {
  std::u16string name;
  std::u16string className;
  std::vector<LayoutProperty> properties;
  std::vector<LayoutObject> children;
  int line = 0;
};

class ELayoutError : public platform::Exception {
 public:
  ELayoutError(const std::u16string& what, int line);
};

// Reads a UTF-8 layout text; raises ELayoutError naming the line of the first fault.
LayoutObject ReadLayout(std::string_view text);

}  // namespace ui
