#include "ui/panel.h"

#include "ui/form_reader.h"

namespace ui {

void TPanel::CreateParams(WindowParams& params) {
  TWinControl::CreateParams(params);
  params.className = u"TPanel";
}

bool TPanel::ReadProperty(const LayoutProperty& p, FormReader& reader) {
  // The panel has no bevel, a flat border and no caption: these settings are all it knows.
  if (p.name == u"BevelOuter" || p.name == u"BevelInner") reader.Expect(p, u"bvNone");
  else if (p.name == u"ShowCaption" || p.name == u"ParentBackground") reader.Expect(p, u"False");
  else return TWinControl::ReadProperty(p, reader);
  return true;
}

}  // namespace ui
