#include "ui/form_reader.h"

#include <map>

#include "ui/form.h"
#include "ui/image.h"
#include "ui/panel.h"
#include "ui/save_dialog.h"

namespace ui {
namespace {

std::map<std::u16string, FormReader::Factory>& Classes() {
  static std::map<std::u16string, FormReader::Factory> classes = {
      {u"TPanel", [](TComponent* owner) -> TComponent* { return owner->CreateOwned<TPanel>(); }},
      {u"TImage", [](TComponent* owner) -> TComponent* { return owner->CreateOwned<TImage>(); }},
      {u"TSaveDialog", [](TComponent* owner) -> TComponent* { return owner->CreateOwned<TSaveDialog>(); }},
  };
  return classes;
}

}  // namespace

void FormReader::RegisterClass(const std::u16string& name, Factory factory) { Classes()[name] = std::move(factory); }

void FormReader::Read(TForm& form, const LayoutObject& root) {
  if (root.className != form.ClassName())
    throw ELayoutError(u"the resource describes a " + root.className + u", not a " + form.ClassName(), root.line);
  FormReader reader(form);
  form.SetName(root.name);
  reader.ReadProperties(form, root);
  reader.ReadChildren(form, root);
  for (TComponent* c : reader.created_) c->Loaded();
  form.Loaded();
}

void FormReader::ReadProperties(TComponent& component, const LayoutObject& object) {
  for (const LayoutProperty& p : object.properties)
    if (!component.ReadProperty(p, *this)) Fail(p, u"no property " + p.name + u" in " + object.className);
}

void FormReader::ReadChildren(TComponent& container, const LayoutObject& object) {
  for (const LayoutObject& child : object.children) {
    auto factory = Classes().find(child.className);
    if (factory == Classes().end()) throw ELayoutError(u"unknown class " + child.className, child.line);
    if (form_.FindComponent(child.name)) throw ELayoutError(u"a second component named " + child.name, child.line);
    // Every component belongs to the form; the controls sit in their container.
    TComponent* component = factory->second(&form_);
    component->SetName(child.name);
    if (auto* control = dynamic_cast<TControl*>(component)) {
      auto* parent = dynamic_cast<TWinControl*>(&container);
      if (!parent) throw ELayoutError(child.name + u" needs a windowed container", child.line);
      control->SetParent(parent);
    }
    created_.push_back(component);
    ReadProperties(*component, child);
    ReadChildren(*component, child);
  }
}

const LayoutValue& FormReader::Value(const LayoutProperty& p, LayoutValue::Kind kind, const char16_t* what) {
  if (p.value.kind != kind) Fail(p, p.name + u" needs " + what);
  return p.value;
}

void FormReader::Fail(const LayoutProperty& p, const std::u16string& why) { throw ELayoutError(why, p.line); }

long long FormReader::Integer(const LayoutProperty& p) {
  return Value(p, LayoutValue::Kind::Integer, u"a number").integer;
}

bool FormReader::Boolean(const LayoutProperty& p) {
  const std::u16string& v = Value(p, LayoutValue::Kind::Identifier, u"True or False").text;
  if (v == u"True") return true;
  if (v == u"False") return false;
  Fail(p, p.name + u" needs True or False");
}

std::u16string FormReader::String(const LayoutProperty& p) {
  return Value(p, LayoutValue::Kind::String, u"a quoted string").text;
}

std::u16string FormReader::Identifier(const LayoutProperty& p) {
  return Value(p, LayoutValue::Kind::Identifier, u"a name").text;
}

void FormReader::Expect(const LayoutProperty& p, const std::u16string& identifier) {
  if (Identifier(p) != identifier) Fail(p, p.name + u" can only be " + identifier);
}

TColor FormReader::Color(const LayoutProperty& p) {
  if (p.value.kind == LayoutValue::Kind::Integer) {
    if (p.value.integer < 0 || p.value.integer > 0xFFFFFF) Fail(p, u"a colour is an RGB value from 0 to $FFFFFF");
    return static_cast<TColor>(p.value.integer);
  }
  const std::u16string v = Identifier(p);
  if (v == u"clBtnFace") return clBtnFace;
  if (v == u"clWindow") return clWindow;
  if (v == u"clWindowText") return clWindowText;
  Fail(p, u"unknown colour " + v);
}

Align FormReader::AlignValue(const LayoutProperty& p) {
  static const std::map<std::u16string, Align> kAligns = {
      {u"alNone", Align::None}, {u"alTop", Align::Top},     {u"alBottom", Align::Bottom},
      {u"alLeft", Align::Left}, {u"alRight", Align::Right}, {u"alClient", Align::Client}};
  auto it = kAligns.find(Identifier(p));
  if (it == kAligns.end()) Fail(p, u"unknown alignment " + p.value.text);
  return it->second;
}

const std::vector<std::u16string>& FormReader::SetValue(const LayoutProperty& p) {
  return Value(p, LayoutValue::Kind::Set, u"a set").set;
}

Anchors FormReader::AnchorsValue(const LayoutProperty& p) {
  Anchors a{false, false, false, false};
  for (const std::u16string& edge : Value(p, LayoutValue::Kind::Set, u"a set of edges").set) {
    if (edge == u"akLeft") a.left = true;
    else if (edge == u"akTop") a.top = true;
    else if (edge == u"akRight") a.right = true;
    else if (edge == u"akBottom") a.bottom = true;
    else Fail(p, u"unknown anchor " + edge);
  }
  return a;
}

Cursor FormReader::CursorValue(const LayoutProperty& p) {
  const std::u16string v = Identifier(p);
  if (v == u"crDefault") return Cursor::Default;
  if (v == u"crHandPoint") return Cursor::HandPoint;
  if (v == u"crArrow") return Cursor::Arrow;
  Fail(p, u"unknown cursor " + v);
}

const std::any* FormReader::FindMethod(const LayoutProperty& p) {
  const TForm::Method* method = form_.FindMethod(Identifier(p));
  if (!method) Fail(p, u"the form has no method " + p.value.text);
  return method;
}

}  // namespace ui
