#pragma once
// Bytes from the program to the runtime: wrappers over the runtime's stream readers, and
// the program's own reader, which answers the runtime's calls from a program stream.

#include <cstdint>
#include <memory>
#include <string>

#include "cef/ceflib/base_own.h"
#include "cef/ceflib/wrapper_support.h"
#include "platform/stream.h"

namespace cef {

// A runtime stream reader.
class ICefStreamReader : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{DD5361CB-E558-49C5-A4BD-D1CE84ADB277}");
  using Parent = ICefBase;

  // Reads up to n items of size bytes into ptr; answers the number of items read.
  virtual uint32_t Read(void* ptr, uint32_t size, uint32_t n) = 0;
  // whence: 0 from the beginning, 1 from the current position, 2 from the end.
  virtual int32_t Seek(int32_t offset, int32_t whence) = 0;
  virtual int32_t Tell() = 0;
  virtual bool Eof() = 0;
};
template <>
struct CefWireOf<ICefStreamReader> {
  using type = TCefStreamReader;
};

// The program's side of a reader that the runtime reads through.
class ICefCustomStreamReader : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{BBCFF23A-6FE7-4C28-B13E-6D2ACA5C83B7}");
  using Parent = ICefBase;

  virtual uint32_t Read(void* ptr, uint32_t size, uint32_t n) = 0;
  virtual int32_t Seek(int32_t offset, int32_t whence) = 0;
  virtual int32_t Tell() = 0;
  virtual bool Eof() = 0;
};
template <>
struct CefWireOf<ICefCustomStreamReader> {
  using type = TCefReadHandler;
};

// Presents a program stream to the runtime. The runtime may call it from its own threads
// while the program uses the same stream, so every operation holds the reader's lock for
// its whole stream access.
class TCefCustomStreamReader : public TCefBaseOwn, public virtual ICefCustomStreamReader {
 public:
  // Reads a stream that the reader owns and destroys together with itself.
  explicit TCefCustomStreamReader(std::unique_ptr<platform::TStream> stream);
  // Reads a stream that the caller keeps alive for as long as the runtime may read it.
  explicit TCefCustomStreamReader(platform::TStream& stream);
  // Reads a file, sharing it with readers but denying others write access; raises
  // EFOpenError when it cannot be opened.
  explicit TCefCustomStreamReader(const std::u16string& fileName);

  // Reads up to size × n bytes (an unsigned 32-bit product) and answers the whole items
  // read; the bytes of a partly read last item stay consumed.
  uint32_t Read(void* ptr, uint32_t size, uint32_t n) override;
  // Answers the new position, truncated to 32 bits.
  int32_t Seek(int32_t offset, int32_t whence) override;
  // The position's low 32 bits.
  int32_t Tell() override;
  bool Eof() override;

 protected:
  ~TCefCustomStreamReader() override;
  void* FindInterface(const Guid& iid) noexcept override;

 private:
  TCefCustomStreamReader(std::unique_ptr<platform::TStream> owned, platform::TStream* borrowed);

  static uint32_t CEF_CALLBACK cef_read(TCefReadHandler* self, void* ptr, uint32_t size, uint32_t n);
  static int32_t CEF_CALLBACK cef_seek(TCefReadHandler* self, int32_t offset, int32_t whence);
  static int32_t CEF_CALLBACK cef_tell(TCefReadHandler* self);
  static TCefBool CEF_CALLBACK cef_eof(TCefReadHandler* self);

  // Set exactly when the reader owns the stream; FStream points at it either way.
  std::unique_ptr<platform::TStream> FOwnedStream;
  platform::TStream* FStream;
};

class TCefStreamReaderRef : public TCefRefOf<ICefStreamReader> {
 public:
  using TCefRefOf::TCefRefOf;

  uint32_t Read(void* ptr, uint32_t size, uint32_t n) override;
  int32_t Seek(int32_t offset, int32_t whence) override;
  int32_t Tell() override;
  bool Eof() override;

  static Ref<ICefStreamReader> UnWrap(TCefStreamReader* data);

  // The runtime's readers; each answers null when the runtime answers null.
  static Ref<ICefStreamReader> CreateForFile(const std::u16string& fileName);
  static Ref<ICefStreamReader> CreateForData(void* data, uint32_t size);
  static Ref<ICefStreamReader> CreateForCustomStream(const Ref<ICefCustomStreamReader>& stream);
  // A runtime reader over a program stream, through a new TCefCustomStreamReader, which
  // lives as long as the runtime's reader holds it. The first form hands the stream over:
  // it is destroyed with the custom reader. The second borrows it: the caller keeps it
  // alive while the runtime may read.
  static Ref<ICefStreamReader> CreateForStream(std::unique_ptr<platform::TStream> stream);
  static Ref<ICefStreamReader> CreateForStream(platform::TStream& stream);
};

}  // namespace cef
