// The runtime's stream readers and writers over memory, files and the program's own
// handlers.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "standin_document/wire_objects.h"

namespace standin_tests {
namespace {

namespace fs = std::filesystem;

// A writer's members, and a program's write handler's: the header, then write, seek,
// tell and flush.
struct WriterMembers {
  TCefBase base;
  uint32_t(CEF_CALLBACK* write)(WriterMembers* self, const void* ptr, uint32_t size, uint32_t n);
  int32_t(CEF_CALLBACK* seek)(WriterMembers* self, int32_t offset, int32_t whence);
  int32_t(CEF_CALLBACK* tell)(WriterMembers* self);
  int32_t(CEF_CALLBACK* flush)(WriterMembers* self);
};

WriterMembers* Members(TCefStreamWriter* writer) { return reinterpret_cast<WriterMembers*>(writer); }

std::vector<uint8_t> Bytes(const char* text) { return std::vector<uint8_t>(text, text + std::strlen(text)); }

// Reads everything left, in reads of up to chunk bytes.
std::vector<uint8_t> ReadAll(TCefStreamReader* reader, uint32_t chunk = 3) {
  std::vector<uint8_t> all, buffer(chunk);
  while (uint32_t got = reader->read(reader, buffer.data(), 1, chunk)) all.insert(all.end(), buffer.begin(), buffer.begin() + got);
  return all;
}

// A file of the test's own, removed again at the end.
class TempFile {
 public:
  explicit TempFile(const std::u16string& name) : path_(fs::temp_directory_path() / fs::path(name)) {}
  ~TempFile() {
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  void Write(const std::vector<uint8_t>& bytes) const {
    std::ofstream out(path_, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  std::u16string Name() const { return path_.u16string(); }

 private:
  fs::path path_;
};

// A program's read handler over a block of bytes, recording how it is called.
class ReadHandler : public TestObject<TCefReadHandler> {
 public:
  explicit ReadHandler(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
    wire().read = [](TCefReadHandler* self, void* ptr, uint32_t size, uint32_t n) CEF_CALLBACK {
      return Of<ReadHandler>(self).Read(ptr, size, n);
    };
    wire().seek = [](TCefReadHandler* self, int32_t offset, int32_t whence) CEF_CALLBACK {
      auto& h = Of<ReadHandler>(self);
      h.seeks.push_back({offset, whence});
      return h.seekAnswer;
    };
    wire().tell = [](TCefReadHandler* self) CEF_CALLBACK { return Of<ReadHandler>(self).tellAnswer; };
    wire().eof = [](TCefReadHandler* self) CEF_CALLBACK { return Of<ReadHandler>(self).eofAnswer; };
  }
  std::vector<std::pair<uint32_t, uint32_t>> reads;
  std::vector<std::pair<int32_t, int32_t>> seeks;
  int32_t seekAnswer = 1234, tellAnswer = -77;
  TCefBool eofAnswer = 7;

 private:
  uint32_t Read(void* ptr, uint32_t size, uint32_t n) {
    reads.push_back({size, n});
    size_t count = std::min<size_t>(static_cast<size_t>(size) * n, bytes_.size() - position_);
    if (count) std::memcpy(ptr, bytes_.data() + position_, count);
    position_ += count;
    return static_cast<uint32_t>(count / size);
  }
  std::vector<uint8_t> bytes_;
  size_t position_ = 0;
};

class WriteHandler : public TestObject<WriterMembers> {
 public:
  WriteHandler() {
    wire().write = [](WriterMembers* self, const void* ptr, uint32_t size, uint32_t n) CEF_CALLBACK {
      auto& h = Of<WriteHandler>(self);
      auto* p = static_cast<const uint8_t*>(ptr);
      h.written.insert(h.written.end(), p, p + size * n);
      return n;
    };
    wire().seek = [](WriterMembers* self, int32_t offset, int32_t whence) CEF_CALLBACK {
      Of<WriteHandler>(self).seeks.push_back({offset, whence});
      return -5;
    };
    wire().tell = [](WriterMembers* self) CEF_CALLBACK { return static_cast<int32_t>(Of<WriteHandler>(self).written.size()); };
    wire().flush = [](WriterMembers* self) CEF_CALLBACK { return ++Of<WriteHandler>(self).flushes; };
  }
  std::vector<uint8_t> written;
  std::vector<std::pair<int32_t, int32_t>> seeks;
  int32_t flushes = 0;
};

using StreamsTest = WireTest;

TEST_F(StreamsTest, AReaderOverDataKeepsItsOwnCopyAndCountsWholeItems) {
  std::vector<uint8_t> data = Bytes("0123456789");
  Own<TCefStreamReader> reader(api().cef_stream_reader_create_for_data(data.data(), 10));
  ASSERT_NE(reader, nullptr);
  data.assign(10, 'x');
  uint8_t buffer[12] = {};
  EXPECT_EQ(reader->read(reader.get(), buffer, 4, 3), 2u) << "10 bytes read: two whole items of four";
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 10), "0123456789");
  EXPECT_EQ(reader->tell(reader.get()), 10) << "the part of the last item is consumed";
  EXPECT_EQ(reader->eof(reader.get()), 1);
  EXPECT_EQ(reader->read(reader.get(), buffer, 1, 12), 0u);
  EXPECT_EQ(reader->read(reader.get(), buffer, 0, 12), 0u) << "items of no size";

  Own<TCefStreamReader> empty(api().cef_stream_reader_create_for_data(nullptr, 0));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->eof(empty.get()), 1);
}

TEST_F(StreamsTest, SeekMovesWithinTheDataFromEachOrigin) {
  std::vector<uint8_t> data = Bytes("0123456789");
  Own<TCefStreamReader> reader(api().cef_stream_reader_create_for_data(data.data(), 10));
  TCefStreamReader* r = reader.get();
  EXPECT_EQ(r->eof(r), 0);
  EXPECT_EQ(r->seek(r, -4, 2), 0);
  EXPECT_EQ(r->tell(r), 6);
  EXPECT_EQ(r->seek(r, 2, 1), 0);
  EXPECT_EQ(r->tell(r), 8);
  EXPECT_EQ(r->seek(r, -3, 1), 0);
  EXPECT_EQ(ReadAll(r), Bytes("56789"));
  EXPECT_EQ(r->seek(r, 0, 2), 0);
  EXPECT_EQ(r->eof(r), 1);
  EXPECT_EQ(r->seek(r, 3, 0), 0);
  EXPECT_EQ(r->eof(r), 0);
  EXPECT_EQ(r->seek(r, -1, 0), -1) << "before the start";
  EXPECT_EQ(r->seek(r, 11, 0), -1) << "beyond the end";
  EXPECT_EQ(r->seek(r, 1, 2), -1);
  EXPECT_EQ(r->seek(r, 0, 3), -1) << "no such origin";
  EXPECT_EQ(r->tell(r), 3) << "a failed seek leaves the position";
}

TEST_F(StreamsTest, AReaderOverAFileReadsItsBytes) {
  TempFile file(u"standin 읽기.bin");
  std::vector<uint8_t> content;
  for (int i = 0; i < 70000; ++i) content.push_back(static_cast<uint8_t>(i * 7));
  file.Write(content);
  std::u16string path = file.Name();
  TCefString name = View(path);
  Own<TCefStreamReader> reader(api().cef_stream_reader_create_for_file(&name));
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(ReadAll(reader.get(), 4096), content);
  EXPECT_EQ(reader->eof(reader.get()), 1);

  std::u16string missing = file.Name() + u".missing";
  TCefString missingName = View(missing);
  EXPECT_EQ(api().cef_stream_reader_create_for_file(&missingName), nullptr);
}

TEST_F(StreamsTest, AReaderOverAHandlerForwardsEveryCallAndAnswerUnchanged) {
  ReadHandler handler(Bytes("abcdefghij"));
  Own<TCefStreamReader> reader(api().cef_stream_reader_create_for_handler(handler.Hand()));
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(handler.refs(), 1) << "the reader holds the handler";
  uint8_t buffer[12] = {};
  EXPECT_EQ(reader->read(reader.get(), buffer, 4, 3), 2u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 10), "abcdefghij");
  ASSERT_EQ(handler.reads.size(), 1u);
  EXPECT_EQ(handler.reads[0], (std::pair<uint32_t, uint32_t>{4, 3}));
  EXPECT_EQ(reader->seek(reader.get(), -4, 1), 1234);
  ASSERT_EQ(handler.seeks.size(), 1u);
  EXPECT_EQ(handler.seeks[0], (std::pair<int32_t, int32_t>{-4, 1}));
  EXPECT_EQ(reader->tell(reader.get()), -77);
  EXPECT_EQ(reader->eof(reader.get()), 7);
  reader.reset();
  EXPECT_EQ(handler.refs(), 0) << "released with the reader";
}

TEST_F(StreamsTest, AFailedCreationReleasesTheHandler) {
  ReadHandler handler({});
  control().standin_fail_next("cef_stream_reader_create_for_handler", 1);
  EXPECT_EQ(api().cef_stream_reader_create_for_handler(handler.Hand()), nullptr);
  EXPECT_EQ(handler.refs(), 0);
  EXPECT_EQ(api().cef_stream_reader_create_for_handler(nullptr), nullptr);
}

TEST_F(StreamsTest, AFileWriterWritesSeeksAndFlushes) {
  TempFile file(u"standin 쓰기.bin");
  std::u16string path = file.Name();
  TCefString name = View(path);
  Own<TCefStreamWriter> writer(api().cef_stream_writer_create_for_file(&name));
  ASSERT_NE(writer, nullptr);
  WriterMembers* w = Members(writer.get());
  EXPECT_EQ(w->base.size, sizeof(WriterMembers));
  EXPECT_EQ(w->write(w, "abcdef", 2, 3), 3u) << "three items of two bytes";
  EXPECT_EQ(w->tell(w), 6);
  EXPECT_EQ(w->seek(w, -4, 1), 0);
  EXPECT_EQ(w->write(w, "XY", 1, 2), 2u);
  EXPECT_EQ(w->seek(w, 0, 2), 0);
  EXPECT_EQ(w->write(w, "!", 1, 1), 1u);
  EXPECT_EQ(w->seek(w, -1, 0), -1);
  EXPECT_EQ(w->seek(w, 0, 7), -1);
  EXPECT_EQ(w->flush(w), 0);
  char buffer[16] = {};
  ASSERT_EQ(control().standin_writer_contents(writer.get(), buffer, sizeof buffer), 7);
  EXPECT_EQ(std::string(buffer, 7), "abXYef!");
  writer.reset();

  // What was written is there for a reader once the writer is gone.
  Own<TCefStreamReader> reader(api().cef_stream_reader_create_for_file(&name));
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(ReadAll(reader.get()), Bytes("abXYef!"));
}

TEST_F(StreamsTest, AWriterForAFileThatCannotBeCreatedIsNull) {
  std::u16string name = (fs::temp_directory_path() / "no such folder" / "file.bin").u16string();
  TCefString s = View(name);
  EXPECT_EQ(api().cef_stream_writer_create_for_file(&s), nullptr);
}

TEST_F(StreamsTest, AWriterOverAHandlerForwardsAndReleasesIt) {
  WriteHandler handler;
  Own<TCefStreamWriter> writer(
      api().cef_stream_writer_create_for_handler(reinterpret_cast<TCefWriteHandler*>(handler.Hand())));
  ASSERT_NE(writer, nullptr);
  WriterMembers* w = Members(writer.get());
  EXPECT_EQ(w->write(w, "hello", 1, 5), 5u);
  EXPECT_EQ(w->tell(w), 5);
  EXPECT_EQ(w->seek(w, 3, 2), -5) << "the handler's answer, unchanged";
  EXPECT_EQ(handler.seeks, (std::vector<std::pair<int32_t, int32_t>>{{3, 2}}));
  EXPECT_EQ(w->flush(w), 1);
  EXPECT_EQ(std::string(handler.written.begin(), handler.written.end()), "hello");
  EXPECT_EQ(control().standin_writer_contents(writer.get(), nullptr, 0), -1) << "only a file writer can tell";
  EXPECT_EQ(handler.refs(), 1);
  writer.reset();
  EXPECT_EQ(handler.refs(), 0);
}

}  // namespace
}  // namespace standin_tests
