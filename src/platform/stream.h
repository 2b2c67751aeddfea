#pragma once
// The program's byte streams: an abstract seekable stream with 64-bit positions, a stream
// over memory and a stream over a file.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/errors.h"

namespace platform {

// Where a seek counts from; the numbers are the runtime's seek origins as well.
enum TSeekOrigin : int32_t {
  soBeginning = 0,
  soCurrent = 1,
  soEnd = 2,
};

class TStream {
 public:
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;
  virtual ~TStream() = default;

  // Reads up to count bytes; answers how many were read (0 at the end or on failure).
  virtual int32_t Read(void* buffer, int32_t count) = 0;
  // Writes up to count bytes; answers how many were written (0 on failure).
  virtual int32_t Write(const void* buffer, int32_t count) = 0;
  // Moves the position and answers the new one. An origin outside the three leaves the
  // position where it was.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  // The size in bytes; the default asks the stream by seeking to its end and back.
  virtual int64_t Size();

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t position) { Seek(position, soBeginning); }
};

// A stream over a block of memory that grows as it is written.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;

  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(FMemory.size()); }

  // Changes the size, keeping the bytes that remain; the position stays within the size.
  void SetSize(int64_t size);
  void Clear();
  uint8_t* Memory() noexcept { return FMemory.data(); }
  const uint8_t* Memory() const noexcept { return FMemory.data(); }

 private:
  std::vector<uint8_t> FMemory;
  int64_t FPosition = 0;
};

// The classic open modes: one access mode combined with one sharing mode, or the create
// mode (which opens for reading and writing) combined with a sharing mode.
inline constexpr uint16_t fmCreate = 0xFF00;
inline constexpr uint16_t fmOpenRead = 0x0000;
inline constexpr uint16_t fmOpenWrite = 0x0001;
inline constexpr uint16_t fmOpenReadWrite = 0x0002;
inline constexpr uint16_t fmShareCompat = 0x0000;
inline constexpr uint16_t fmShareExclusive = 0x0010;
inline constexpr uint16_t fmShareDenyWrite = 0x0020;
inline constexpr uint16_t fmShareDenyRead = 0x0030;
inline constexpr uint16_t fmShareDenyNone = 0x0040;

class EStreamError : public Exception {
 public:
  using Exception::Exception;
};

// "Cannot create file "%s". %s": the full path and the system's text for the error.
class EFCreateError : public EStreamError {
 public:
  EFCreateError(const std::u16string& fullPath, const std::u16string& systemText);
};

// "Cannot open file "%s". %s": the full path and the system's text for the error.
class EFOpenError : public EStreamError {
 public:
  EFOpenError(const std::u16string& fullPath, const std::u16string& systemText);
};

// An open file of the operating system, closed when its owner lets go of it.
class FileHandle {
 public:
  FileHandle() noexcept = default;
  explicit FileHandle(intptr_t handle) noexcept : handle_(handle) {}
  FileHandle(FileHandle&& other) noexcept : handle_(other.release()) {}
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { reset(); }

  static constexpr intptr_t kInvalid = -1;
  intptr_t get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != kInvalid; }
  intptr_t release() noexcept;
  void reset() noexcept;

 private:
  intptr_t handle_ = kInvalid;
};

// A stream over a file, opened or created by path (UTF-16) and mode; closed on destruction.
class TFileStream : public TStream {
 public:
  // Raises EFCreateError or EFOpenError when the file cannot be created or opened.
  TFileStream(const std::u16string& fileName, uint16_t mode);

  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;

  const std::u16string& FileName() const noexcept { return FFileName; }

 private:
  std::u16string FFileName;
  FileHandle FHandle;
};

// The operating system's side of file streams, per platform. Failures answer an empty
// handle or -1 and leave the error in LastOSError().
namespace file_io {
FileHandle Create(const std::u16string& fileName, uint16_t mode);
FileHandle Open(const std::u16string& fileName, uint16_t mode);
// Opens for writing at the end, creating the file when it does not exist; every write
// appends, also when others append to the same file. Shared with everyone.
FileHandle OpenForAppend(const std::u16string& fileName);
int32_t Read(intptr_t handle, void* buffer, int32_t count);
int32_t Write(intptr_t handle, const void* buffer, int32_t count);
int64_t Seek(intptr_t handle, int64_t offset, int32_t origin);
void Close(intptr_t handle) noexcept;
std::u16string FullPath(const std::u16string& fileName);
}  // namespace file_io

}  // namespace platform
