#include "cef/ceflib/streams.h"

#include <algorithm>
#include <limits>
#include <mutex>

#include "cef/ceflib/guard.h"

namespace cef {

TCefCustomStreamReader::TCefCustomStreamReader(std::unique_ptr<platform::TStream> owned, platform::TStream* borrowed)
    : TCefBaseOwn(sizeof(TCefReadHandler)),
      FOwnedStream(std::move(owned)),
      FStream(FOwnedStream ? FOwnedStream.get() : borrowed) {
  auto* handler = Struct<TCefReadHandler>();
  handler->read = &cef_read;
  handler->seek = &cef_seek;
  handler->tell = &cef_tell;
  handler->eof = &cef_eof;
}

TCefCustomStreamReader::TCefCustomStreamReader(std::unique_ptr<platform::TStream> stream)
    : TCefCustomStreamReader(std::move(stream), nullptr) {}

TCefCustomStreamReader::TCefCustomStreamReader(platform::TStream& stream) : TCefCustomStreamReader(nullptr, &stream) {}

TCefCustomStreamReader::TCefCustomStreamReader(const std::u16string& fileName)
    : TCefCustomStreamReader(
          std::make_unique<platform::TFileStream>(fileName, platform::fmOpenRead | platform::fmShareDenyWrite)) {}

// The owned stream goes with the member, before the base frees the structure.
TCefCustomStreamReader::~TCefCustomStreamReader() = default;

uint32_t TCefCustomStreamReader::Read(void* ptr, uint32_t size, uint32_t n) {
  // An item size of 0 would divide by zero below: such a read asks for no bytes and is
  // answered with no items.
  if (size == 0) return 0;
  std::lock_guard lock(CriticalSection());
  const uint32_t wanted = size * n;
  auto* out = static_cast<uint8_t*>(ptr);
  uint32_t done = 0;
  // A stream reads at most 2 GiB at a time.
  while (done < wanted) {
    auto chunk = static_cast<int32_t>(std::min<uint32_t>(wanted - done, std::numeric_limits<int32_t>::max()));
    int32_t got = FStream->Read(out + done, chunk);
    if (got <= 0) break;
    done += static_cast<uint32_t>(got);
    if (got < chunk) break;
  }
  return done / size;
}

int32_t TCefCustomStreamReader::Seek(int32_t offset, int32_t whence) {
  std::lock_guard lock(CriticalSection());
  return static_cast<int32_t>(FStream->Seek(offset, static_cast<platform::TSeekOrigin>(whence)));
}

int32_t TCefCustomStreamReader::Tell() {
  std::lock_guard lock(CriticalSection());
  return static_cast<int32_t>(static_cast<uint32_t>(FStream->Position()));
}

bool TCefCustomStreamReader::Eof() {
  std::lock_guard lock(CriticalSection());
  return FStream->Size() == FStream->Position();
}

void* TCefCustomStreamReader::FindInterface(const Guid& iid) noexcept {
  if (void* found = base::InterfaceFor<ICefCustomStreamReader>(this, iid)) return found;
  return TCefBaseOwn::FindInterface(iid);
}

// After a failure the runtime hears: nothing read, the seek and the position failed, and
// the stream is over, so that it stops reading.
uint32_t CEF_CALLBACK TCefCustomStreamReader::cef_read(TCefReadHandler* self, void* ptr, uint32_t size, uint32_t n) {
  return Guarded(0u, [&] { return Self<TCefCustomStreamReader>(self)->Read(ptr, size, n); });
}

int32_t CEF_CALLBACK TCefCustomStreamReader::cef_seek(TCefReadHandler* self, int32_t offset, int32_t whence) {
  return Guarded(-1, [&] { return Self<TCefCustomStreamReader>(self)->Seek(offset, whence); });
}

int32_t CEF_CALLBACK TCefCustomStreamReader::cef_tell(TCefReadHandler* self) {
  return Guarded(-1, [&] { return Self<TCefCustomStreamReader>(self)->Tell(); });
}

TCefBool CEF_CALLBACK TCefCustomStreamReader::cef_eof(TCefReadHandler* self) {
  return Guarded(1, [&] { return CefBool(Self<TCefCustomStreamReader>(self)->Eof()); });
}

uint32_t TCefStreamReaderRef::Read(void* ptr, uint32_t size, uint32_t n) { return Call(&TCefStreamReader::read, ptr, size, n); }

int32_t TCefStreamReaderRef::Seek(int32_t offset, int32_t whence) { return Call(&TCefStreamReader::seek, offset, whence); }

int32_t TCefStreamReaderRef::Tell() { return Call(&TCefStreamReader::tell); }

bool TCefStreamReaderRef::Eof() { return CallBool(&TCefStreamReader::eof); }

Ref<ICefStreamReader> TCefStreamReaderRef::UnWrap(TCefStreamReader* data) { return UnWrapAs<TCefStreamReaderRef, ICefStreamReader>(data); }

Ref<ICefStreamReader> TCefStreamReaderRef::CreateForFile(const std::u16string& fileName) {
  TCefString name = CefStringView(fileName);
  return UnWrap(CEF_API(cef_stream_reader_create_for_file)(&name));
}

Ref<ICefStreamReader> TCefStreamReaderRef::CreateForData(void* data, uint32_t size) {
  return UnWrap(CEF_API(cef_stream_reader_create_for_data)(data, size));
}

Ref<ICefStreamReader> TCefStreamReaderRef::CreateForCustomStream(const Ref<ICefCustomStreamReader>& stream) {
  auto create = CEF_API(cef_stream_reader_create_for_handler);
  return UnWrap(create(CefWrapAs(stream)));
}

Ref<ICefStreamReader> TCefStreamReaderRef::CreateForStream(std::unique_ptr<platform::TStream> stream) {
  return CreateForCustomStream(base::MakeRef<TCefCustomStreamReader>(std::move(stream)));
}

Ref<ICefStreamReader> TCefStreamReaderRef::CreateForStream(platform::TStream& stream) {
  return CreateForCustomStream(base::MakeRef<TCefCustomStreamReader>(stream));
}

}  // namespace cef
