#include "ui/picture.h"

#include <objidl.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "base/ref.h"
#include "platform/dynamic_library.h"
#include "platform/errors.h"
#include "ui/resources.h"

namespace ui {

// ---------------------------------------------------------------- TBitmap

TBitmap::TBitmap(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) platform::RaiseLastOSError();
  pixels_ = static_cast<uint32_t*>(bits);
}

void TBitmap::Draw(HDC dc, const RECT& dest, bool transparent) const {
  UniqueMemoryDc source(CreateCompatibleDC(dc));
  SelectScope selected(source.get(), bitmap_.get());
  int w = dest.right - dest.left, h = dest.bottom - dest.top;
  if (transparent) {
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, dest.left, dest.top, w, h, source.get(), 0, 0, width_, height_, blend);
  } else {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, dest.left, dest.top, w, h, source.get(), 0, 0, width_, height_, SRCCOPY);
  }
}

// ---------------------------------------------------------------- registry

namespace {

std::mutex g_formats_lock;
std::map<std::u16string, PictureDecoder>& Formats() {
  static std::map<std::u16string, PictureDecoder> formats;
  return formats;
}

std::u16string ExtensionOf(const std::u16string& name) {
  size_t dot = name.rfind(u'.');
  std::u16string ext = dot == std::u16string::npos ? std::u16string() : name.substr(dot + 1);
  for (char16_t& c : ext)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return ext;
}

}  // namespace

void RegisterPictureFormat(const std::u16string& extension, PictureDecoder decoder) {
  std::lock_guard lock(g_formats_lock);
  Formats()[ExtensionOf(u"." + extension)] = std::move(decoder);
}

void UnregisterPictureFormats() noexcept {
  std::lock_guard lock(g_formats_lock);
  Formats().clear();
}

void TPicture::LoadFromBytes(const std::u16string& name, std::string_view data) {
  PictureDecoder decoder;
  {
    std::lock_guard lock(g_formats_lock);
    auto it = Formats().find(ExtensionOf(name));
    if (it == Formats().end()) throw platform::Exception(u"Unknown picture format: " + name);
    decoder = it->second;
  }
  bitmap_ = decoder(data);
}

void TPicture::LoadFromResource(const std::u16string& name) { LoadFromBytes(name, LoadResourceBytes(name)); }

// ---------------------------------------------------------------- GDI+

namespace {

// The few flat GDI+ entries the decoder needs, loaded with the library on first use.
struct GdiplusStartupInput {
  UINT32 GdiplusVersion = 1;
  void* DebugEventCallback = nullptr;
  BOOL SuppressBackgroundThread = FALSE;
  BOOL SuppressExternalCodecs = FALSE;
};
struct GdiplusRect {
  INT X, Y, Width, Height;
};
struct GdiplusBitmapData {
  UINT Width;
  UINT Height;
  INT Stride;
  INT PixelFormat;
  void* Scan0;
  UINT_PTR Reserved;
};
constexpr INT kPixelFormat32bppPARGB = 0x000E200B;
constexpr UINT kImageLockModeRead = 1;

class Gdiplus {
 public:
  // The process's GDI+, started on first use.
  static Gdiplus& Get() {
    std::lock_guard lock(lock_);
    if (!instance_) instance_ = std::make_unique<Gdiplus>();
    return *instance_;
  }
  static void Shutdown() noexcept {
    std::lock_guard lock(lock_);
    instance_.reset();
  }

  Gdiplus() {
    platform::OSErrorInfo error{};
    library_ = platform::DynamicLibrary::Load(u"gdiplus.dll", &error);
    if (!library_) platform::RaiseOSError(error);
    Resolve(startup_, "GdiplusStartup");
    Resolve(shutdown_, "GdiplusShutdown");
    Resolve(fromStream_, "GdipCreateBitmapFromStream");
    Resolve(width_, "GdipGetImageWidth");
    Resolve(height_, "GdipGetImageHeight");
    Resolve(lock_bits_, "GdipBitmapLockBits");
    Resolve(unlock_bits_, "GdipBitmapUnlockBits");
    Resolve(dispose_, "GdipDisposeImage");
    GdiplusStartupInput input;
    if (startup_(&token_, &input, nullptr) != 0) throw platform::Exception(u"GDI+ could not be started");
  }
  ~Gdiplus() {
    if (token_) shutdown_(token_);
  }

  std::shared_ptr<TBitmap> Decode(std::string_view data) {
    auto stream = base::Ref<IStream>::Adopt(
        SHCreateMemStream(reinterpret_cast<const BYTE*>(data.data()), static_cast<UINT>(data.size())));
    if (!stream) throw platform::Exception(u"Out of memory while reading a picture");
    void* image = nullptr;
    int status = fromStream_(stream.get(), &image);
    stream.reset();
    if (status != 0 || !image) throw platform::Exception(u"The picture's data cannot be read");
    struct Disposer {
      Gdiplus& g;
      void* image;
      ~Disposer() { g.dispose_(image); }
    } disposer{*this, image};
    UINT w = 0, h = 0;
    width_(image, &w);
    height_(image, &h);
    auto bitmap = std::make_shared<TBitmap>(static_cast<int>(w), static_cast<int>(h));
    GdiplusRect rect{0, 0, static_cast<INT>(w), static_cast<INT>(h)};
    GdiplusBitmapData bits{};
    if (lock_bits_(image, &rect, kImageLockModeRead, kPixelFormat32bppPARGB, &bits) != 0)
      throw platform::Exception(u"The picture's pixels cannot be read");
    for (UINT y = 0; y < h; ++y)
      std::memcpy(bitmap->Pixels() + y * w, static_cast<const char*>(bits.Scan0) + static_cast<ptrdiff_t>(y) * bits.Stride,
                  w * 4);
    unlock_bits_(image, &bits);
    return bitmap;
  }

 private:
  template <class F>
  void Resolve(F& entry, const char* name) {
    entry = reinterpret_cast<F>(library_.Symbol(name));
    if (!entry) platform::RaiseLastOSError();
  }

  platform::DynamicLibrary library_;
  ULONG_PTR token_ = 0;
  int(WINAPI* startup_)(ULONG_PTR*, const GdiplusStartupInput*, void*) = nullptr;
  void(WINAPI* shutdown_)(ULONG_PTR) = nullptr;
  int(WINAPI* fromStream_)(IStream*, void**) = nullptr;
  int(WINAPI* width_)(void*, UINT*) = nullptr;
  int(WINAPI* height_)(void*, UINT*) = nullptr;
  int(WINAPI* lock_bits_)(void*, const GdiplusRect*, UINT, INT, GdiplusBitmapData*) = nullptr;
  int(WINAPI* unlock_bits_)(void*, GdiplusBitmapData*) = nullptr;
  int(WINAPI* dispose_)(void*) = nullptr;

  static inline std::mutex lock_;
  static inline std::unique_ptr<Gdiplus> instance_;
};

std::shared_ptr<TBitmap> DecodeWithGdiplus(std::string_view data) { return Gdiplus::Get().Decode(data); }

}  // namespace

void RegisterGdiplusPictureFormats() {
  RegisterPictureFormat(u"gif", DecodeWithGdiplus);
  RegisterPictureFormat(u"png", DecodeWithGdiplus);
}

void UnregisterGdiplusPictureFormats() noexcept {
  UnregisterPictureFormats();
  Gdiplus::Shutdown();
}

}  // namespace ui
