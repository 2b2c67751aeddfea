#pragma once

#include "ui/control.h"
#include "ui/picture.h"

namespace ui {

// A picture in a graphic control: stretched to the control, centred, or at its top left;
// sized to the picture when AutoSize; blended when Transparent.
class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* owner) : TGraphicControl(owner) {}

  TPicture& Picture() { return picture_; }
  void SetPicture(const TPicture& picture);
  bool stretch = false;
  bool center = false;
  bool transparent = false;
  void SetAutoSize(bool autoSize);

  void Paint(HDC dc) override;
  bool ReadProperty(const LayoutProperty& property, FormReader& reader) override;

 private:
  void FitToPicture();
  TPicture picture_;
  bool autoSize_ = false;
};

}  // namespace ui
