#pragma once
// The stand-in's stream readers and writers: over a file, over a block of memory, and
// over the program's own read or write handler.

#include <memory>
#include <string>
#include <vector>

#include "standin.h"

namespace standin {

// The runtime's stream writer with its members. The program never calls writers, so its
// contract fixes only their header; the members follow a reader's pattern: write, seek,
// tell and flush.
struct WriterWire {
  TCefBase base;
  uint32_t(CEF_CALLBACK* write)(WriterWire* self, const void* ptr, uint32_t size, uint32_t n);
  int32_t(CEF_CALLBACK* seek)(WriterWire* self, int32_t offset, int32_t whence);
  int32_t(CEF_CALLBACK* tell)(WriterWire* self);
  int32_t(CEF_CALLBACK* flush)(WriterWire* self);
};

// The program's write handler that cef_stream_writer_create_for_handler receives: the
// writer's members in the writer's order.
struct WriteHandlerWire {
  TCefBase base;
  uint32_t(CEF_CALLBACK* write)(WriteHandlerWire* self, const void* ptr, uint32_t size, uint32_t n);
  int32_t(CEF_CALLBACK* seek)(WriteHandlerWire* self, int32_t offset, int32_t whence);
  int32_t(CEF_CALLBACK* tell)(WriteHandlerWire* self);
  int32_t(CEF_CALLBACK* flush)(WriteHandlerWire* self);
};

// Where a reader's bytes come from. Seek answers 0 on success and -1 when the place is
// outside the stream; whence counts from the start (0), the position (1) or the end (2).
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint32_t Read(void* ptr, uint32_t size, uint32_t n) = 0;
  virtual int32_t Seek(int32_t offset, int32_t whence) = 0;
  virtual int32_t Tell() = 0;
  virtual TCefBool Eof() = 0;
};

// Where a writer's bytes go.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual uint32_t Write(const void* ptr, uint32_t size, uint32_t n) = 0;
  virtual int32_t Seek(int32_t offset, int32_t whence) = 0;
  virtual int32_t Tell() = 0;
  virtual int32_t Flush() = 0;
  // Everything written so far, when the sink can tell.
  virtual bool Contents(std::vector<uint8_t>& bytes) = 0;
};

// Reads its own copy of the bytes; a file reader reads the file's bytes as they were
// when it was opened.
std::unique_ptr<ByteSource> MemorySource(std::vector<uint8_t> bytes);
// Forwards every call, arguments and answers unchanged, to the program's handler, which
// it holds until it goes.
std::unique_ptr<ByteSource> HandlerSource(Held handler);

// Null when the file cannot be created; an existing file is replaced.
std::unique_ptr<ByteSink> FileSink(const std::u16string& path);
// Forwards every call unchanged to the program's handler, held until the sink goes.
std::unique_ptr<ByteSink> HandlerSink(Held handler);

class StreamReader final : public Wired<TCefStreamReader, Kind::StreamReader> {
 public:
  explicit StreamReader(std::unique_ptr<ByteSource> source);
  // A reader over its own copy of the bytes.
  explicit StreamReader(std::vector<uint8_t> bytes) : StreamReader(MemorySource(std::move(bytes))) {}
  // A reader over the program's read handler.
  explicit StreamReader(Held handler) : StreamReader(HandlerSource(std::move(handler))) {}

 protected:
  // Closes the file or releases the program's handler with the reader's last reference.
  void Retire() noexcept override { source_.reset(); }

 private:
  std::unique_ptr<ByteSource> source_;
};

class StreamWriter final : public Wired<WriterWire, Kind::StreamWriter> {
 public:
  explicit StreamWriter(std::unique_ptr<ByteSink> sink);
  bool Contents(std::vector<uint8_t>& bytes) { return sink_ && sink_->Contents(bytes); }

 protected:
  void Retire() noexcept override { sink_.reset(); }

 private:
  std::unique_ptr<ByteSink> sink_;
};

// Reads whatever is left in any reader through its members, from its position to its end.
std::vector<uint8_t> ReadRest(TCefStreamReader* reader);

// Files are read whole; the name is the program's UTF-16 path.
bool ReadWholeFile(const std::u16string& path, std::vector<uint8_t>& bytes);

}  // namespace standin
