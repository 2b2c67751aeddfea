// Stream readers and writers behind their wire members, with the places they read from
// and write to.

#include "streams.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace standin {
namespace {

// The low 32 bits of a position, as the members' 32-bit answers carry it.
int32_t LowBits(int64_t position) { return static_cast<int32_t>(static_cast<uint32_t>(position)); }

// The place that (offset, whence) names, or false when it is outside [0, size].
bool Place(int32_t offset, int32_t whence, int64_t position, int64_t size, int64_t& target) {
  if (whence < 0 || whence > 2) return false;
  int64_t base = whence == 0 ? 0 : whence == 1 ? position : size;
  target = base + offset;
  return target >= 0 && target <= size;
}

class Memory final : public ByteSource {
 public:
  explicit Memory(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  uint32_t Read(void* ptr, uint32_t size, uint32_t n) override {
    if (size == 0 || !ptr) return 0;
    std::lock_guard lock(lock_);
    uint64_t wanted = static_cast<uint64_t>(size) * n;
    size_t count = static_cast<size_t>(std::min<uint64_t>(wanted, bytes_.size() - position_));
    if (count) std::memcpy(ptr, bytes_.data() + position_, count);
    position_ += count;
    return static_cast<uint32_t>(count / size);
  }
  int32_t Seek(int32_t offset, int32_t whence) override {
    std::lock_guard lock(lock_);
    int64_t target = 0;
    if (!Place(offset, whence, static_cast<int64_t>(position_), static_cast<int64_t>(bytes_.size()), target))
      return -1;
    position_ = static_cast<size_t>(target);
    return 0;
  }
  int32_t Tell() override {
    std::lock_guard lock(lock_);
    return LowBits(static_cast<int64_t>(position_));
  }
  TCefBool Eof() override {
    std::lock_guard lock(lock_);
    return position_ >= bytes_.size() ? 1 : 0;
  }

 private:
  std::mutex lock_;
  std::vector<uint8_t> bytes_;
  size_t position_ = 0;
};

// The program's handler is called directly: a read costs no allocation, which matters
// when a page streams megabytes through it.
class Handler final : public ByteSource {
 public:
  explicit Handler(Held handler) : handler_(std::move(handler)) {}

  uint32_t Read(void* ptr, uint32_t size, uint32_t n) override {
    auto* h = handler_.as<TCefReadHandler>();
    return h->read ? h->read(h, ptr, size, n) : 0;
  }
  int32_t Seek(int32_t offset, int32_t whence) override {
    auto* h = handler_.as<TCefReadHandler>();
    return h->seek ? h->seek(h, offset, whence) : -1;
  }
  int32_t Tell() override {
    auto* h = handler_.as<TCefReadHandler>();
    return h->tell ? h->tell(h) : -1;
  }
  TCefBool Eof() override {
    auto* h = handler_.as<TCefReadHandler>();
    return h->eof ? h->eof(h) : 1;
  }

 private:
  Held handler_;
};

FILE* OpenFile(const std::u16string& path, const wchar_t* wideMode, const char* mode) {
#ifdef _WIN32
  (void)mode;
  return _wfopen(reinterpret_cast<const wchar_t*>(path.c_str()), wideMode);
#else
  (void)wideMode;
  return std::fopen(ToUtf8(path).c_str(), mode);
#endif
}

int SeekFile(FILE* file, int64_t offset, int origin) {
#ifdef _WIN32
  return _fseeki64(file, offset, origin);
#else
  return fseeko(file, static_cast<off_t>(offset), origin);
#endif
}

int64_t TellFile(FILE* file) {
#ifdef _WIN32
  return _ftelli64(file);
#else
  return static_cast<int64_t>(ftello(file));
#endif
}

class FileWriter final : public ByteSink {
 public:
  FileWriter(FILE* file, std::u16string path) : file_(file), path_(std::move(path)) {}
  ~FileWriter() override { std::fclose(file_); }

  uint32_t Write(const void* ptr, uint32_t size, uint32_t n) override {
    if (size == 0 || !ptr) return 0;
    std::lock_guard lock(lock_);
    return static_cast<uint32_t>(std::fwrite(ptr, size, n, file_));
  }
  int32_t Seek(int32_t offset, int32_t whence) override {
    static const int kOrigins[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (whence < 0 || whence > 2) return -1;
    std::lock_guard lock(lock_);
    return SeekFile(file_, offset, kOrigins[whence]) == 0 ? 0 : -1;
  }
  int32_t Tell() override {
    std::lock_guard lock(lock_);
    return LowBits(TellFile(file_));
  }
  int32_t Flush() override {
    std::lock_guard lock(lock_);
    return std::fflush(file_) == 0 ? 0 : -1;
  }
  bool Contents(std::vector<uint8_t>& bytes) override {
    std::lock_guard lock(lock_);
    return std::fflush(file_) == 0 && ReadWholeFile(path_, bytes);
  }

 private:
  std::mutex lock_;
  FILE* file_;
  std::u16string path_;
};

class HandlerWriter final : public ByteSink {
 public:
  explicit HandlerWriter(Held handler) : handler_(std::move(handler)) {}

  uint32_t Write(const void* ptr, uint32_t size, uint32_t n) override {
    auto* h = handler_.as<WriteHandlerWire>();
    return h->write ? h->write(h, ptr, size, n) : 0;
  }
  int32_t Seek(int32_t offset, int32_t whence) override {
    auto* h = handler_.as<WriteHandlerWire>();
    return h->seek ? h->seek(h, offset, whence) : -1;
  }
  int32_t Tell() override {
    auto* h = handler_.as<WriteHandlerWire>();
    return h->tell ? h->tell(h) : -1;
  }
  int32_t Flush() override {
    auto* h = handler_.as<WriteHandlerWire>();
    return h->flush ? h->flush(h) : -1;
  }
  bool Contents(std::vector<uint8_t>&) override { return false; }

 private:
  Held handler_;
};

}  // namespace

std::unique_ptr<ByteSource> MemorySource(std::vector<uint8_t> bytes) {
  return std::make_unique<Memory>(std::move(bytes));
}

std::unique_ptr<ByteSource> HandlerSource(Held handler) { return std::make_unique<Handler>(std::move(handler)); }

std::unique_ptr<ByteSink> FileSink(const std::u16string& path) {
  FILE* file = OpenFile(path, L"wb", "wb");
  return file ? std::make_unique<FileWriter>(file, path) : nullptr;
}

std::unique_ptr<ByteSink> HandlerSink(Held handler) { return std::make_unique<HandlerWriter>(std::move(handler)); }

StreamReader::StreamReader(std::unique_ptr<ByteSource> source) : source_(std::move(source)) {
  wire_.read = [](TCefStreamReader* self, void* ptr, uint32_t size, uint32_t n) CEF_CALLBACK -> uint32_t {
    auto* r = Self<StreamReader>(self, "read");
    return r && r->source_ ? r->source_->Read(ptr, size, n) : 0;
  };
  wire_.seek = [](TCefStreamReader* self, int32_t offset, int32_t whence) CEF_CALLBACK -> int32_t {
    auto* r = Self<StreamReader>(self, "seek");
    return r && r->source_ ? r->source_->Seek(offset, whence) : -1;
  };
  wire_.tell = [](TCefStreamReader* self) CEF_CALLBACK -> int32_t {
    auto* r = Self<StreamReader>(self, "tell");
    return r && r->source_ ? r->source_->Tell() : -1;
  };
  wire_.eof = [](TCefStreamReader* self) CEF_CALLBACK -> TCefBool {
    auto* r = Self<StreamReader>(self, "eof");
    return r && r->source_ ? r->source_->Eof() : 1;
  };
}

StreamWriter::StreamWriter(std::unique_ptr<ByteSink> sink) : sink_(std::move(sink)) {
  wire_.write = [](WriterWire* self, const void* ptr, uint32_t size, uint32_t n) CEF_CALLBACK -> uint32_t {
    auto* w = Self<StreamWriter>(self, "write");
    return w && w->sink_ ? w->sink_->Write(ptr, size, n) : 0;
  };
  wire_.seek = [](WriterWire* self, int32_t offset, int32_t whence) CEF_CALLBACK -> int32_t {
    auto* w = Self<StreamWriter>(self, "seek");
    return w && w->sink_ ? w->sink_->Seek(offset, whence) : -1;
  };
  wire_.tell = [](WriterWire* self) CEF_CALLBACK -> int32_t {
    auto* w = Self<StreamWriter>(self, "tell");
    return w && w->sink_ ? w->sink_->Tell() : -1;
  };
  wire_.flush = [](WriterWire* self) CEF_CALLBACK -> int32_t {
    auto* w = Self<StreamWriter>(self, "flush");
    return w && w->sink_ ? w->sink_->Flush() : -1;
  };
}

std::vector<uint8_t> ReadRest(TCefStreamReader* reader) {
  constexpr uint32_t kChunk = 65536;
  std::vector<uint8_t> bytes;
  if (!reader || !reader->read) return bytes;
  for (;;) {
    size_t had = bytes.size();
    bytes.resize(had + kChunk);
    uint32_t got = std::min(reader->read(reader, bytes.data() + had, 1, kChunk), kChunk);
    bytes.resize(had + got);
    if (got == 0) return bytes;
  }
}

bool ReadWholeFile(const std::u16string& path, std::vector<uint8_t>& bytes) {
  FILE* file = OpenFile(path, L"rb", "rb");
  if (!file) return false;
  bytes.clear();
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
  std::fclose(file);
  return true;
}

}  // namespace standin
