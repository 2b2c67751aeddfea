#include "cef/ceflib/streams.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <stdexcept>

#include "cef/ceflib/download.h"
#include "fake_objects.h"
#include "platform/text.h"
#include "support/failure.h"

namespace {

using namespace cef;
using fakes::Answers;
using fakes::Calls;
using Log = std::vector<std::string>;

std::unique_ptr<platform::TMemoryStream> MemoryWith(const std::string& text) {
  auto stream = std::make_unique<platform::TMemoryStream>();
  stream->Write(text.data(), static_cast<int32_t>(text.size()));
  stream->SetPosition(0);
  return stream;
}

// A custom reader whose lock can be probed from another thread.
class ProbedReader : public TCefCustomStreamReader {
 public:
  using TCefCustomStreamReader::TCefCustomStreamReader;
  TCefReadHandler* Handler() { return Struct<TCefReadHandler>(); }
  bool LockIsFree() {
    return std::async(std::launch::async, [this] {
             std::unique_lock lock(CriticalSection(), std::try_to_lock);
             return lock.owns_lock();
           }).get();
  }
};

// A stream that claims a position beyond 4 GiB without holding the bytes.
class HugeStream : public platform::TStream {
 public:
  int32_t Read(void*, int32_t) override { return 0; }
  int32_t Write(const void*, int32_t) override { return 0; }
  int64_t Seek(int64_t offset, platform::TSeekOrigin origin) override {
    if (origin == platform::soBeginning) position_ = offset;
    if (origin == platform::soCurrent) position_ += offset;
    if (origin == platform::soEnd) position_ = kSize + offset;
    return position_;
  }
  static constexpr int64_t kSize = (int64_t{5} << 32) + 100;

 private:
  int64_t position_ = 0;
};

// A stream whose every operation fails.
class FailingStream : public platform::TStream {
 public:
  int32_t Read(void*, int32_t) override { throw platform::Exception(u"the disk went away"); }
  int32_t Write(const void*, int32_t) override { throw platform::Exception(u"the disk went away"); }
  int64_t Seek(int64_t, platform::TSeekOrigin) override { throw platform::Exception(u"the disk went away"); }
};

// A program stream that tells when it is destroyed.
class WatchedStream : public platform::TMemoryStream {
 public:
  explicit WatchedStream(bool* destroyed) : destroyed_(destroyed) {}
  ~WatchedStream() override { *destroyed_ = true; }

 private:
  bool* destroyed_;
};

class CustomReaderTest : public fakes::FakeTest {};

TEST_F(CustomReaderTest, ReadCountsWholeItemsAndConsumesAPartOfTheLast) {
  Ref<ProbedReader> reader = base::MakeRef<ProbedReader>(MemoryWith("0123456789"));
  char buffer[12] = {};
  EXPECT_EQ(reader->Read(buffer, 4, 3), 2u) << "10 of 12 bytes: two whole items";
  EXPECT_EQ(std::string(buffer, 10), "0123456789");
  EXPECT_EQ(reader->Tell(), 10);
  EXPECT_TRUE(reader->Eof());
  EXPECT_EQ(reader->Read(buffer, 1, 4), 0u) << "at the end";
}

TEST_F(CustomReaderTest, ReadWithAnItemSizeOfZeroAnswersNoItemsAndReadsNothing) {
  Ref<ProbedReader> reader = base::MakeRef<ProbedReader>(MemoryWith("abc"));
  char buffer[4] = {};
  EXPECT_EQ(reader->Read(buffer, 0, 3), 0u);
  EXPECT_EQ(reader->Handler()->read(reader->Handler(), buffer, 0, 1000), 0u);
  EXPECT_EQ(reader->Tell(), 0);
  EXPECT_TRUE(reports.empty());
}

TEST_F(CustomReaderTest, SeekUsesTheRuntimesOriginsAndAnswersTheNewPosition) {
  Ref<ProbedReader> reader = base::MakeRef<ProbedReader>(MemoryWith(std::string(32, 'x')));
  EXPECT_EQ(reader->Seek(10, 0), 10);
  EXPECT_EQ(reader->Seek(-4, 1), 6);
  EXPECT_EQ(reader->Seek(0, 2), 32);
  EXPECT_EQ(reader->Seek(-2, 2), 30);
  EXPECT_EQ(reader->Tell(), 30);
}

TEST_F(CustomReaderTest, TellBeyondFourGibibytesAnswersTheLowThirtyTwoBits) {
  HugeStream huge;
  Ref<ProbedReader> reader = base::MakeRef<ProbedReader>(huge);
  reader->Seek(0, 2);
  EXPECT_EQ(reader->Tell(), 100);
  EXPECT_TRUE(reader->Eof()) << "the 64-bit size and position are compared";
}

TEST_F(CustomReaderTest, EofIsTrueOnAnEmptyStreamAndTheCallbackAnswersExactlyOneOrZero) {
  Ref<ProbedReader> empty = base::MakeRef<ProbedReader>(std::make_unique<platform::TMemoryStream>());
  EXPECT_EQ(empty->Handler()->eof(empty->Handler()), 1);
  Ref<ProbedReader> full = base::MakeRef<ProbedReader>(MemoryWith("abc"));
  TCefReadHandler* handler = full->Handler();
  EXPECT_EQ(handler->eof(handler), 0);
  char buffer[3];
  EXPECT_EQ(handler->read(handler, buffer, 1, 3), 3u);
  EXPECT_EQ(handler->eof(handler), 1);
  EXPECT_EQ(handler->seek(handler, 1, 0), 1);
  EXPECT_EQ(handler->tell(handler), 1);
}

TEST_F(CustomReaderTest, AFailingStreamReleasesTheLockAndTheCallbacksAnswerTheirNeutralValues) {
  FailingStream failing;
  Ref<ProbedReader> reader = base::MakeRef<ProbedReader>(failing);
  char buffer[4];
  EXPECT_THROW(reader->Read(buffer, 1, 4), platform::Exception);
  EXPECT_TRUE(reader->LockIsFree());
  TCefReadHandler* handler = reader->Handler();
  EXPECT_EQ(handler->read(handler, buffer, 1, 4), 0u);
  EXPECT_EQ(handler->seek(handler, 0, 0), -1);
  EXPECT_EQ(handler->tell(handler), -1);
  EXPECT_EQ(handler->eof(handler), 1);
  EXPECT_TRUE(reader->LockIsFree());
  EXPECT_EQ(reports, std::vector<std::u16string>(4, u"the disk went away"));
}

TEST_F(CustomReaderTest, OperationsHoldTheLockWhileTheyTouchTheStream) {
  class LockCheckingStream : public platform::TMemoryStream {
   public:
    ProbedReader* reader = nullptr;
    bool lockedDuringRead = false;
    int32_t Read(void* buffer, int32_t count) override {
      lockedDuringRead = !reader->LockIsFree();
      return TMemoryStream::Read(buffer, count);
    }
  } stream;
  Ref<ProbedReader> reader = base::MakeRef<ProbedReader>(stream);
  stream.reader = reader.get();
  char buffer[1];
  reader->Read(buffer, 1, 1);
  EXPECT_TRUE(stream.lockedDuringRead);
}

TEST_F(CustomReaderTest, AReaderOverAFileOwnsTheFileAndAMissingFileRaisesTheOpenError) {
  std::filesystem::path file = std::filesystem::temp_directory_path() / "ceflib_custom_reader.txt";
  std::ofstream(file, std::ios::binary) << "file bytes";
  {
    Ref<ProbedReader> reader = base::MakeRef<ProbedReader>(file.u16string());
    char buffer[10];
    EXPECT_EQ(reader->Read(buffer, 5, 2), 2u);
    EXPECT_EQ(std::string(buffer, 10), "file bytes");
  }
  std::error_code error;
  EXPECT_TRUE(std::filesystem::remove(file, error)) << "the reader closed its file";
  std::u16string message = testing_support::FailureMessage<platform::EFOpenError>(
      [&] { base::MakeRef<ProbedReader>(file.u16string()); });
  EXPECT_EQ(message.rfind(u"Cannot open file \"" + file.u16string() + u"\". ", 0), 0u) << platform::Utf16ToUtf8(message);
}

class StreamReaderTest : public fakes::FakeTest {};

TEST_F(StreamReaderTest, AnOwnedStreamIsDestroyedWhenTheRuntimeReleasesTheReader) {
  bool destroyed = false;
  auto stream = std::make_unique<WatchedStream>(&destroyed);
  stream->Write("through the runtime", 19);
  stream->SetPosition(0);
  Ref<ICefStreamReader> reader = TCefStreamReaderRef::CreateForStream(std::move(stream));
  ASSERT_TRUE(reader);
  char buffer[19];
  EXPECT_EQ(reader->Read(buffer, 1, sizeof buffer), 19u);
  EXPECT_EQ(std::string(buffer, 19), "through the runtime");
  EXPECT_TRUE(reader->Eof());
  EXPECT_EQ(standin().standin_held_objects(), 1) << "the runtime's reader holds the custom reader";
  EXPECT_FALSE(destroyed);
  reader.reset();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(standin().standin_held_objects(), 0);
}

TEST_F(StreamReaderTest, ABorrowedStreamOutlivesTheReader) {
  bool destroyed = false;
  {
    WatchedStream stream(&destroyed);
    stream.Write("kept", 4);
    stream.SetPosition(0);
    Ref<ICefStreamReader> reader = TCefStreamReaderRef::CreateForStream(stream);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->Seek(2, 0), 2) << "the runtime passes the custom reader's answer on";
    reader.reset();
    EXPECT_FALSE(destroyed);
    char buffer[2];
    EXPECT_EQ(stream.Read(buffer, 2), 2);
    EXPECT_EQ(std::string(buffer, 2), "pt");
  }
  EXPECT_TRUE(destroyed);
}

TEST_F(StreamReaderTest, TheRuntimesReadersOverFilesAndData) {
  char data[] = "in memory";
  Ref<ICefStreamReader> overData = TCefStreamReaderRef::CreateForData(data, 9);
  ASSERT_TRUE(overData);
  char buffer[9];
  EXPECT_EQ(overData->Read(buffer, 3, 3), 3u);
  EXPECT_EQ(std::string(buffer, 9), "in memory");
  std::filesystem::path missing = std::filesystem::temp_directory_path() / "ceflib_no_such_reader_file";
  EXPECT_FALSE(TCefStreamReaderRef::CreateForFile(missing.u16string()));
  EXPECT_FALSE(TCefStreamReaderRef::UnWrap(nullptr));
}

TEST_F(StreamReaderTest, TheWrapperForwardsEachOperationAndItsAnswer) {
  fakes::FakeStreamReader fake;
  Ref<ICefStreamReader> reader = TCefStreamReaderRef::UnWrap(fake.Hand());
  char buffer[8];
  Answers().integer = 3;
  EXPECT_EQ(reader->Read(buffer, 2, 4), 3u);
  Answers().integer = -7;
  EXPECT_EQ(reader->Seek(-5, 2), -7);
  Answers().integer = 12;
  EXPECT_EQ(reader->Tell(), 12);
  Answers().boolean = 5;
  EXPECT_TRUE(reader->Eof());
  EXPECT_EQ(Calls(), (Log{"read " + fakes::Ptr(buffer) + " 2 4", "seek -5 2", "tell", "eof"}));
  reader.reset();
  EXPECT_EQ(fake.refs, 1);
}

// A download handler that remembers what it received.
class RecordingDownload : public TCefDownloadHandlerOwn {
 public:
  int32_t ReceivedData(void* data, int32_t dataSize) override {
    if (dataSize < 0) throw std::runtime_error("a negative chunk");
    received.append(static_cast<const char*>(data), static_cast<size_t>(dataSize));
    return answer;
  }
  void Complete() override {
    if (failComplete) throw std::runtime_error("cannot close the file");
    ++completed;
  }
  TCefDownloadHandler* Handler() { return Struct<TCefDownloadHandler>(); }

  std::string received;
  int32_t answer = 0;
  int completed = 0;
  bool failComplete = false;
};

TEST_F(StreamReaderTest, DownloadChunksReachTheHandlerAndItsAnswerReachesTheRuntimeUnchanged) {
  Ref<RecordingDownload> download = base::MakeRef<RecordingDownload>();
  TCefDownloadHandler* handler = reinterpret_cast<TCefDownloadHandler*>(CefWrap(download));
  char chunk[] = "chunk";
  download->answer = -42;
  EXPECT_EQ(handler->received_data(handler, chunk, 5), -42);
  download->answer = 5;
  EXPECT_EQ(handler->received_data(handler, chunk, 3), 5);
  handler->complete(handler);
  EXPECT_EQ(download->received, "chunkchu");
  EXPECT_EQ(download->completed, 1);
  EXPECT_EQ(handler->base.get_refct(&handler->base), 2) << "the program's and the runtime's";
  fakes::Release(handler);
  EXPECT_TRUE(base::interface_cast<ICefDownloadHandler>(download));
}

TEST_F(StreamReaderTest, AFailingDownloadHandlerIsReportedAndTakesNothing) {
  Ref<RecordingDownload> download = base::MakeRef<RecordingDownload>();
  TCefDownloadHandler* handler = download->Handler();
  download->answer = 9;
  EXPECT_EQ(handler->received_data(handler, nullptr, -1), 0);
  download->failComplete = true;
  handler->complete(handler);
  EXPECT_EQ(reports, (std::vector<std::u16string>{u"a negative chunk", u"cannot close the file"}));
}

}  // namespace
