#pragma once
// Turns a form resource into the form's components: classes by name, properties through
// each component's ReadProperty, events bound to the form's published methods.

#include <any>
#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/layout_reader.h"

namespace ui {

class TForm;

class FormReader {
 public:
  // Reads root's properties into the form and creates its children, then tells every
  // component it has been loaded. The resource must name the form's own class.
  static void Read(TForm& form, const LayoutObject& root);

  // Classes a resource may name: a factory making the component with its owner.
  using Factory = std::function<TComponent*(TComponent* owner)>;
  static void RegisterClass(const std::u16string& name, Factory factory);

  long long Integer(const LayoutProperty& p);
  bool Boolean(const LayoutProperty& p);
  std::u16string String(const LayoutProperty& p);
  std::u16string Identifier(const LayoutProperty& p);
  TColor Color(const LayoutProperty& p);
  Align AlignValue(const LayoutProperty& p);
  Anchors AnchorsValue(const LayoutProperty& p);
  // The identifiers of a set value: [a, b, c].
  const std::vector<std::u16string>& SetValue(const LayoutProperty& p);
  Cursor CursorValue(const LayoutProperty& p);
  TNotifyEvent NotifyMethod(const LayoutProperty& p) { return Method<TNotifyEvent>(p); }
  TMouseEvent MouseMethod(const LayoutProperty& p) { return Method<TMouseEvent>(p); }
  // The form's method that the property names, which must be an Event.
  template <class Event>
  Event Method(const LayoutProperty& p) {
    const std::any* method = FindMethod(p);
    if (const auto* event = std::any_cast<Event>(method)) return *event;
    Fail(p, p.value.text + u" does not fit " + p.name);
  }
  // The property must have exactly this identifier as its value.
  void Expect(const LayoutProperty& p, const std::u16string& identifier);
  // The property is known and has no effect here.
  void Accept(const LayoutProperty&) {}
  [[noreturn]] void Fail(const LayoutProperty& p, const std::u16string& why);

 private:
  explicit FormReader(TForm& form) : form_(form) {}
  void ReadProperties(TComponent& component, const LayoutObject& object);
  void ReadChildren(TComponent& container, const LayoutObject& object);
  const LayoutValue& Value(const LayoutProperty& p, LayoutValue::Kind kind, const char16_t* what);
  // The form's method that the property names; fails when the form has none.
  const std::any* FindMethod(const LayoutProperty& p);

  TForm& form_;
  std::vector<TComponent*> created_;
};

}  // namespace ui
