#include "ui/image.h"

#include "ui/form_reader.h"

namespace ui {

void TImage::SetPicture(const TPicture& picture) {
  picture_ = picture;
  FitToPicture();
  Invalidate();
}

void TImage::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  FitToPicture();
}

void TImage::FitToPicture() {
  if (autoSize_ && !picture_.Empty() && GetAlign() == Align::None)
    SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
}

void TImage::Paint(HDC dc) {
  const TBitmap* bitmap = picture_.Bitmap();
  if (!bitmap) return;
  const Rect& b = Bounds();
  RECT dest;
  if (stretch) {
    dest = {b.left, b.top, b.right(), b.bottom()};
  } else if (center) {
    int x = b.left + (b.width - bitmap->Width()) / 2;
    int y = b.top + (b.height - bitmap->Height()) / 2;
    dest = {x, y, x + bitmap->Width(), y + bitmap->Height()};
  } else {
    dest = {b.left, b.top, b.left + bitmap->Width(), b.top + bitmap->Height()};
  }
  // Only the control's own area is drawn on, whatever the picture's size.
  int saved = SaveDC(dc);
  IntersectClipRect(dc, b.left, b.top, b.right(), b.bottom());
  bitmap->Draw(dc, dest, transparent);
  RestoreDC(dc, saved);
}

bool TImage::ReadProperty(const LayoutProperty& p, FormReader& reader) {
  if (p.name == u"Picture") {
    TPicture picture;
    picture.LoadFromResource(reader.String(p));
    SetPicture(picture);
  } else if (p.name == u"Stretch") stretch = reader.Boolean(p);
  else if (p.name == u"Center") center = reader.Boolean(p);
  else if (p.name == u"Transparent") transparent = reader.Boolean(p);
  else if (p.name == u"AutoSize") SetAutoSize(reader.Boolean(p));
  else return TGraphicControl::ReadProperty(p, reader);
  return true;
}

}  // namespace ui
