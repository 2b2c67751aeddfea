// File streams over POSIX descriptors. Windows sharing modes have no exact counterpart
// here; the nearest is an advisory flock taken right after opening: compatible, exclusive
// and deny-read openers take an exclusive lock, deny-write openers a shared one, deny-none
// openers none. So an exclusive opener shuts out every other locking opener, and readers
// that deny writing share the file with each other but not with an exclusive opener. A
// lock that cannot be had fails the open at once, as a sharing violation does on Windows.

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/stream.h"
#include "platform/text.h"

namespace platform::file_io {
namespace {

int LockFor(uint16_t mode) {
  switch ((mode & 0xF0u) >> 4) {
    case 2: return LOCK_SH;
    case 4: return 0;
    default: return LOCK_EX;
  }
}

int AccessFlags(uint16_t mode) {
  switch (mode & 3u) {
    case 0: return O_RDONLY;
    case 1: return O_WRONLY;
    default: return O_RDWR;
  }
}

// Closes fd without losing the error that made the caller give up on it.
void CloseKeepingError(int fd) {
  int error = errno;
  ::close(fd);
  errno = error;
}

FileHandle OpenLocked(const std::u16string& fileName, int flags, uint16_t mode, bool truncate) {
  int fd = ::open(Utf16ToUtf8(fileName).c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) return {};
  int lock = LockFor(mode);
  // Truncating only after the lock is held spares a file that someone else holds exclusively.
  if ((lock && ::flock(fd, lock | LOCK_NB) != 0) || (truncate && ::ftruncate(fd, 0) != 0)) {
    CloseKeepingError(fd);
    return {};
  }
  return FileHandle(fd);
}

int Descriptor(intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

FileHandle Create(const std::u16string& fileName, uint16_t mode) {
  return OpenLocked(fileName, O_RDWR | O_CREAT, mode, true);
}

FileHandle Open(const std::u16string& fileName, uint16_t mode) {
  return OpenLocked(fileName, AccessFlags(mode), mode, false);
}

FileHandle OpenForAppend(const std::u16string& fileName) {
  return OpenLocked(fileName, O_WRONLY | O_APPEND | O_CREAT, fmShareDenyNone, false);
}

int32_t Read(intptr_t handle, void* buffer, int32_t count) {
  ssize_t n;
  do n = ::read(Descriptor(handle), buffer, static_cast<size_t>(count));
  while (n < 0 && errno == EINTR);
  return static_cast<int32_t>(n);
}

int32_t Write(intptr_t handle, const void* buffer, int32_t count) {
  ssize_t n;
  do n = ::write(Descriptor(handle), buffer, static_cast<size_t>(count));
  while (n < 0 && errno == EINTR);
  return static_cast<int32_t>(n);
}

int64_t Seek(intptr_t handle, int64_t offset, int32_t origin) {
  static constexpr int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  return static_cast<int64_t>(::lseek(Descriptor(handle), static_cast<off_t>(offset), kWhence[origin]));
}

void Close(intptr_t handle) noexcept { ::close(Descriptor(handle)); }

std::u16string FullPath(const std::u16string& fileName) {
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(std::filesystem::path(Utf16ToUtf8(fileName)), error);
  if (error) return fileName;
  return Utf8ToUtf16(full.lexically_normal().string());
}

}  // namespace platform::file_io
