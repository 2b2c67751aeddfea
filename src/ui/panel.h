#pragma once

#include "ui/control.h"

namespace ui {

// A flat panel that paints its own background and shows no caption.
class TPanel : public TWinControl {
 public:
  explicit TPanel(TComponent* owner) : TWinControl(owner) {}
  bool ReadProperty(const LayoutProperty& property, FormReader& reader) override;

 protected:
  void CreateParams(WindowParams& params) override;
};

}  // namespace ui
