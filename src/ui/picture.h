#pragma once
// Pictures: images decoded once into 32-bit premultiplied bitmaps, drawn opaque or
// blended. Formats are registered with the picture registry by file extension; GIF and
// PNG are decoded through GDI+, which is loaded when the first picture needs it.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "ui/gdi.h"

namespace ui {

class TBitmap {
 public:
  TBitmap(int width, int height);  // zeroed 32-bit top-down DIB section

  int Width() const { return width_; }
  int Height() const { return height_; }
  uint32_t* Pixels() const { return pixels_; }  // premultiplied ARGB, row by row
  HBITMAP Handle() const { return bitmap_.get(); }
  // Draws into dest: stretched when the sizes differ; blended by alpha when transparent.
  void Draw(HDC dc, const RECT& dest, bool transparent) const;

 private:
  int width_;
  int height_;
  UniqueBitmap bitmap_;
  uint32_t* pixels_ = nullptr;
};

class TPicture {
 public:
  bool Empty() const { return !bitmap_; }
  int Width() const { return bitmap_ ? bitmap_->Width() : 0; }
  int Height() const { return bitmap_ ? bitmap_->Height() : 0; }
  const TBitmap* Bitmap() const { return bitmap_.get(); }
  // Decodes data with the format registered for the name's extension.
  void LoadFromBytes(const std::u16string& name, std::string_view data);
  // Loads the RCDATA resource of that name (its extension tells the format).
  void LoadFromResource(const std::u16string& name);

 private:
  std::shared_ptr<TBitmap> bitmap_;
};

// A decoder: the bytes of one picture into a bitmap; raises on data it cannot read.
using PictureDecoder = std::function<std::shared_ptr<TBitmap>(std::string_view data)>;
void RegisterPictureFormat(const std::u16string& extension, PictureDecoder decoder);
void UnregisterPictureFormats() noexcept;

// GIF and PNG through GDI+: registers both; the finalisation shuts GDI+ down again.
void RegisterGdiplusPictureFormats();
void UnregisterGdiplusPictureFormats() noexcept;

}  // namespace ui
