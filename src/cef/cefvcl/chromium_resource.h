#pragma once
// The browser control as form resources describe it: its own properties, its option set
// by name and its events bound to the form's methods.

namespace ui {
struct LayoutProperty;
class FormReader;
}  // namespace ui

namespace cef {

class TCustomChromium;

// Reads one of the control's own properties; false when the property is not one of them.
bool ReadChromiumProperty(TCustomChromium& control, const ui::LayoutProperty& property, ui::FormReader& reader);

}  // namespace cef
