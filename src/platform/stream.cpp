#include "platform/stream.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace platform {

int64_t TStream::Size() {
  int64_t position = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(position, soBeginning);
  return size;
}

int32_t TMemoryStream::Read(void* buffer, int32_t count) {
  int64_t size = Size();
  if (count <= 0 || FPosition < 0 || FPosition >= size) return 0;
  auto n = static_cast<int32_t>(std::min<int64_t>(count, size - FPosition));
  std::memcpy(buffer, FMemory.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int32_t TMemoryStream::Write(const void* buffer, int32_t count) {
  if (count <= 0 || FPosition < 0) return 0;
  int64_t end = FPosition + count;
  if (end > Size()) {
    // Growing by at least half keeps a run of small writes linear.
    size_t wanted = static_cast<size_t>(end);
    if (wanted > FMemory.capacity()) FMemory.reserve(std::max(wanted, FMemory.capacity() * 3 / 2));
    FMemory.resize(wanted);
  }
  std::memcpy(FMemory.data() + FPosition, buffer, static_cast<size_t>(count));
  FPosition = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case soBeginning: FPosition = offset; break;
    case soCurrent: FPosition += offset; break;
    case soEnd: FPosition = Size() + offset; break;
  }
  return FPosition;
}

void TMemoryStream::SetSize(int64_t size) {
  FMemory.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
  FPosition = std::min(FPosition, Size());
}

void TMemoryStream::Clear() {
  FMemory.clear();
  FMemory.shrink_to_fit();
  FPosition = 0;
}

EFCreateError::EFCreateError(const std::u16string& fullPath, const std::u16string& systemText)
    : EStreamError(u"Cannot create file \"" + fullPath + u"\". " + systemText) {}

EFOpenError::EFOpenError(const std::u16string& fullPath, const std::u16string& systemText)
    : EStreamError(u"Cannot open file \"" + fullPath + u"\". " + systemText) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    reset();
    handle_ = other.release();
  }
  return *this;
}

intptr_t FileHandle::release() noexcept { return std::exchange(handle_, kInvalid); }

void FileHandle::reset() noexcept {
  if (handle_ != kInvalid) file_io::Close(release());
}

TFileStream::TFileStream(const std::u16string& fileName, uint16_t mode) : FFileName(fileName) {
  bool creating = (mode & fmCreate) == fmCreate;
  FHandle = creating ? file_io::Create(fileName, mode) : file_io::Open(fileName, mode);
  if (FHandle) return;
  // The error is taken before the full path is asked for, which may touch it.
  OSErrorInfo error = LastOSError();
  std::u16string fullPath = file_io::FullPath(fileName);
  if (creating) throw EFCreateError(fullPath, error.text);
  throw EFOpenError(fullPath, error.text);
}

int32_t TFileStream::Read(void* buffer, int32_t count) {
  if (count <= 0) return 0;
  return std::max(file_io::Read(FHandle.get(), buffer, count), 0);
}

int32_t TFileStream::Write(const void* buffer, int32_t count) {
  if (count <= 0) return 0;
  return std::max(file_io::Write(FHandle.get(), buffer, count), 0);
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  // An unknown origin leaves the position where it was, as in the memory stream.
  if (origin != soBeginning && origin != soCurrent && origin != soEnd) return Position();
  return file_io::Seek(FHandle.get(), offset, origin);
}

}  // namespace platform
