#include "platform/stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/text.h"
#include "support/failure.h"

namespace {

using namespace platform;
using testing_support::FailureMessage;

TEST(MemoryStreamTest, WritesGrowTheStreamAndReadsStopAtItsEnd) {
  TMemoryStream stream;
  EXPECT_EQ(stream.Write("hello world", 11), 11);
  EXPECT_EQ(stream.Size(), 11);
  EXPECT_EQ(stream.Position(), 11);
  char buffer[16] = {};
  EXPECT_EQ(stream.Read(buffer, 4), 0) << "at the end";
  EXPECT_EQ(stream.Seek(6, soBeginning), 6);
  EXPECT_EQ(stream.Read(buffer, 16), 5);
  EXPECT_EQ(std::string(buffer, 5), "world");
  EXPECT_EQ(stream.Seek(-5, soEnd), 6);
  EXPECT_EQ(stream.Seek(-6, soCurrent), 0);
  EXPECT_EQ(stream.Write("J", 1), 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Memory()), 11), "Jello world");
}

TEST(MemoryStreamTest, WritingBeyondTheEndFillsTheGapWithZeros) {
  TMemoryStream stream;
  stream.Seek(4, soBeginning);
  EXPECT_EQ(stream.Write("x", 1), 1);
  ASSERT_EQ(stream.Size(), 5);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Memory()), 5), std::string("\0\0\0\0x", 5));
  stream.SetSize(2);
  EXPECT_EQ(stream.Position(), 2) << "the position stays within the size";
  stream.Clear();
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.Position(), 0);
}

class FileStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("stream_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::u16string Path(const char* name) { return (folder_ / name).u16string(); }
  std::filesystem::path folder_;
};

TEST_F(FileStreamTest, ACreatedFileIsWrittenSeekedAndReadBack) {
  {
    TFileStream stream(Path("data.bin"), fmCreate);
    EXPECT_EQ(stream.Write("0123456789", 10), 10);
    EXPECT_EQ(stream.Size(), 10);
    EXPECT_EQ(stream.Seek(-3, soEnd), 7);
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, 8), 3);
    EXPECT_EQ(std::string(buffer, 3), "789");
    EXPECT_EQ(stream.Position(), 10);
  }
  char buffer[4] = {};
  {
    TFileStream reader(Path("data.bin"), fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(reader.Size(), 10);
    EXPECT_EQ(reader.Write("x", 1), 0) << "a failed write answers 0";
    EXPECT_EQ(reader.Read(buffer, 4), 4);
    EXPECT_EQ(std::string(buffer, 4), "0123");
  }
  TFileStream writer(Path("data.bin"), fmOpenWrite);
  EXPECT_EQ(writer.Read(buffer, 4), 0) << "a failed read answers 0";
}

TEST_F(FileStreamTest, CreatingReplacesAnExistingFile) {
  std::ofstream(folder_ / "old.txt", std::ios::binary) << "a long old content";
  {
    TFileStream stream(Path("old.txt"), fmCreate);
    stream.Write("new", 3);
  }
  EXPECT_EQ(std::filesystem::file_size(folder_ / "old.txt"), 3u);
}

TEST_F(FileStreamTest, AMissingFileRaisesTheOpenErrorWithItsFullPath) {
  std::u16string message = FailureMessage<EFOpenError>([&] { TFileStream(Path("missing.txt"), fmOpenRead); });
  std::u16string prefix = u"Cannot open file \"" + Path("missing.txt") + u"\". ";
  ASSERT_EQ(message.rfind(prefix, 0), 0u) << Utf16ToUtf8(message);
  EXPECT_GT(message.size(), prefix.size()) << "the system's text follows";
}

TEST_F(FileStreamTest, AFileThatCannotBeCreatedRaisesTheCreateError) {
  std::u16string path = (folder_ / "no_such_folder" / "file.txt").u16string();
  std::u16string message = FailureMessage<EFCreateError>([&] { TFileStream(path, fmCreate); });
  EXPECT_EQ(message.rfind(u"Cannot create file \"" + path + u"\". ", 0), 0u) << Utf16ToUtf8(message);
}

TEST_F(FileStreamTest, ARelativeNameIsReportedWithItsFullPath) {
  std::u16string message =
      FailureMessage<EFOpenError>([&] { TFileStream(u"stream_test_no_such_relative_file", fmOpenRead); });
  std::u16string full = (std::filesystem::current_path() / "stream_test_no_such_relative_file").u16string();
  EXPECT_EQ(message.rfind(u"Cannot open file \"" + full + u"\". ", 0), 0u) << Utf16ToUtf8(message);
}

// Counts below one move nothing and answer 0; origins outside the three leave the position.
void CheckCountsAndOrigins(TStream& stream) {
  ASSERT_EQ(stream.Write("abcd", 4), 4);
  struct Step {
    int32_t count;
    int32_t done;
  };
  for (Step step : {Step{-1, 0}, Step{0, 0}, Step{1, 1}}) {
    stream.SetPosition(1);
    EXPECT_EQ(stream.Write("x", step.count), step.done) << "writing " << step.count;
    EXPECT_EQ(stream.Position(), 1 + step.done);
    char byte = 0;
    stream.SetPosition(1);
    EXPECT_EQ(stream.Read(&byte, step.count), step.done) << "reading " << step.count;
    EXPECT_EQ(stream.Position(), 1 + step.done);
    EXPECT_EQ(byte, step.done ? 'x' : 0);
  }
  char byte;
  EXPECT_EQ(stream.Seek(0, soEnd), 4);
  EXPECT_EQ(stream.Read(&byte, 1), 0) << "at the end";
  struct Origin {
    int32_t origin;
    int64_t position;
  };
  for (Origin o : {Origin{-1, 2}, Origin{soBeginning, 1}, Origin{soCurrent, 3}, Origin{soEnd, 5}, Origin{3, 2}}) {
    stream.SetPosition(2);
    EXPECT_EQ(stream.Seek(1, static_cast<TSeekOrigin>(o.origin)), o.position) << "origin " << o.origin;
    EXPECT_EQ(stream.Position(), o.position) << "origin " << o.origin;
  }
}

TEST_F(FileStreamTest, CountsAndOriginsAtTheEdges) {
  TMemoryStream memory;
  {
    SCOPED_TRACE("memory");
    CheckCountsAndOrigins(memory);
  }
  TFileStream file(Path("edges.bin"), fmCreate);
  SCOPED_TRACE("file");
  CheckCountsAndOrigins(file);
}

// Pairs of openers, with the sharing modes of Windows and with the advisory locks that stand
// in for them elsewhere. The outcomes agree except where the second opener takes no lock.
TEST_F(FileStreamTest, TheSecondOpenerIsLetInOnlyWhereTheFirstSharesTheFile) {
#ifdef _WIN32
  constexpr bool kAdvisoryLocks = false;
#else
  constexpr bool kAdvisoryLocks = true;
#endif
  struct Openers {
    uint16_t first;
    uint16_t second;
    bool opens;
  };
  constexpr Openers kOpeners[] = {
      {fmCreate, fmOpenRead | fmShareDenyWrite, false},
      {fmOpenRead | fmShareCompat, fmOpenRead | fmShareDenyWrite, false},
      {fmOpenRead | fmShareExclusive, fmOpenRead | fmShareDenyWrite, false},
      {fmOpenRead | fmShareDenyWrite, fmOpenRead | fmShareDenyWrite, true},
      {fmOpenRead | fmShareDenyWrite, fmOpenReadWrite | fmShareExclusive, false},
      {fmOpenRead | fmShareDenyWrite, fmOpenWrite | fmShareDenyNone, kAdvisoryLocks},
      {fmOpenRead | fmShareDenyRead, fmOpenRead | fmShareDenyWrite, false},
      {fmOpenWrite | fmShareDenyRead, fmOpenWrite | fmShareDenyNone, true},
      {fmOpenRead | fmShareDenyNone, fmOpenReadWrite | fmShareDenyNone, true},
      {fmOpenRead | (fmShareDenyNone + 0x10), fmOpenRead | fmShareDenyWrite, false},  // shares nothing
  };
  TFileStream(Path("shared.bin"), fmCreate).Write("abc", 3);
  for (const Openers& o : kOpeners) {
    TFileStream first(Path("shared.bin"), o.first);
    bool opens = true;
    try {
      TFileStream second(Path("shared.bin"), o.second);
    } catch (const EFOpenError&) {
      opens = false;
    }
    EXPECT_EQ(opens, o.opens) << std::hex << o.first << " then " << o.second;
  }
}

}  // namespace
