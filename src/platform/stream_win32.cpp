#include <windows.h>

#include <iterator>

#include "platform/stream.h"
#include "platform/text.h"

namespace platform::file_io {
namespace {

// Sharing by the mode's sharing nibble: compatible and exclusive share nothing.
DWORD ShareMode(uint16_t mode) {
  static constexpr DWORD kShare[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
  size_t index = (mode & 0xF0u) >> 4;
  return index < std::size(kShare) ? kShare[index] : 0;
}

DWORD Access(uint16_t mode) {
  static constexpr DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE,
                                      GENERIC_READ | GENERIC_WRITE};
  return kAccess[mode & 3u];
}

FileHandle FromWin32(HANDLE handle) {
  if (handle == INVALID_HANDLE_VALUE) return {};
  return FileHandle(reinterpret_cast<intptr_t>(handle));
}

HANDLE AsWin32(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

FileHandle Create(const std::u16string& fileName, uint16_t mode) {
  return FromWin32(CreateFileW(AsWide(fileName), GENERIC_READ | GENERIC_WRITE, ShareMode(mode), nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

FileHandle Open(const std::u16string& fileName, uint16_t mode) {
  return FromWin32(CreateFileW(AsWide(fileName), Access(mode), ShareMode(mode), nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
}

FileHandle OpenForAppend(const std::u16string& fileName) {
  return FromWin32(CreateFileW(AsWide(fileName), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

int32_t Read(intptr_t handle, void* buffer, int32_t count) {
  DWORD done = 0;
  if (!ReadFile(AsWin32(handle), buffer, static_cast<DWORD>(count), &done, nullptr)) return -1;
  return static_cast<int32_t>(done);
}

int32_t Write(intptr_t handle, const void* buffer, int32_t count) {
  DWORD done = 0;
  if (!WriteFile(AsWin32(handle), buffer, static_cast<DWORD>(count), &done, nullptr)) return -1;
  return static_cast<int32_t>(done);
}

int64_t Seek(intptr_t handle, int64_t offset, int32_t origin) {
  // FILE_BEGIN, FILE_CURRENT and FILE_END are numbered like the stream's origins.
  LARGE_INTEGER distance, position;
  distance.QuadPart = offset;
  if (!SetFilePointerEx(AsWin32(handle), distance, &position, static_cast<DWORD>(origin))) return -1;
  return position.QuadPart;
}

void Close(intptr_t handle) noexcept { CloseHandle(AsWin32(handle)); }

std::u16string FullPath(const std::u16string& fileName) {
  DWORD length = GetFullPathNameW(AsWide(fileName), 0, nullptr, nullptr);
  if (length == 0) return fileName;
  std::wstring full(length, L'\0');
  length = GetFullPathNameW(AsWide(fileName), length, full.data(), nullptr);
  full.resize(length);
  return std::u16string(AsUtf16(full.c_str()), full.size());
}

}  // namespace platform::file_io
