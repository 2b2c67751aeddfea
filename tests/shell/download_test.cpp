// Saving downloads: the main window's download event with the save dialog answered by the
// test, the file it creates, and real downloads of the test service through the window's
// browser; connections that break and disks that refuse.

#include "shell/download_fixture.h"

namespace {

// A stream whose nth write fails and whose other writes take everything.
class FlakyStream : public platform::TStream {
 public:
  explicit FlakyStream(int failing) : failing_(failing) {}
  int32_t Read(void*, int32_t) override { return 0; }
  int32_t Write(const void* buffer, int32_t count) override {
    if (++writes_ == failing_) return 0;
    bytes.append(static_cast<const char*>(buffer), static_cast<size_t>(count));
    return count;
  }
  int64_t Seek(int64_t, platform::TSeekOrigin) override { return static_cast<int64_t>(bytes.size()); }

  std::string bytes;

 private:
  int failing_;
  int writes_ = 0;
};

TEST_F(Downloads, TheDialogProposesTheServersNameAndTheFileExistsEmptyAndLockedAtOnce) {
  system_.chosenFile = folder_.File(u"공고서.pdf");
  {
    ControlCall call(Control(), "request.get_download_handler");
    EXPECT_EQ(AskForHandler(call, u"공고서.pdf"), 1);
    ASSERT_EQ(system_.saveDialogs.size(), 1u);
    EXPECT_EQ(system_.saveDialogs[0].fileName, u"공고서.pdf");
    ASSERT_TRUE(fs::exists(fs::path(system_.chosenFile)));
    EXPECT_EQ(fs::file_size(fs::path(system_.chosenFile)), 0u) << "created before any content";
    EXPECT_FALSE(OthersCanOpen(system_.chosenFile)) << "no sharing while the handler lives";
    TCefBase* handler = call.ObjectAt(4);
    ASSERT_NE(handler, nullptr) << "a handler went back to the runtime";
    auto* download = reinterpret_cast<TCefDownloadHandler*>(handler);
    char chunk[] = "abc";
    EXPECT_EQ(download->received_data(download, chunk, 3), 3);
    download->complete(download);
    handler->release(handler);
    EXPECT_FALSE(OthersCanOpen(system_.chosenFile)) << "Complete does not close the file; the call still holds it";
  }
  EXPECT_TRUE(OthersCanOpen(system_.chosenFile)) << "the file closes with the handler's last release";
  EXPECT_EQ(ReadAll(system_.chosenFile), "abc");
}

TEST_F(Downloads, TheDialogAsksBeforeReplacingAndAConfirmedReplaceEmptiesTheFileAtOnce) {
  system_.chosenFile = folder_.File(u"old.bin");
  std::ofstream(fs::path(system_.chosenFile), std::ios::binary) << "old content";
  {
    ControlCall call(Control(), "request.get_download_handler");
    EXPECT_EQ(AskForHandler(call, u"new.bin"), 1);
    ASSERT_EQ(system_.saveDialogs.size(), 1u);
    EXPECT_TRUE(system_.saveDialogs[0].overwritePrompt) << "the dialog's own question before a file is replaced";
    EXPECT_EQ(fs::file_size(fs::path(system_.chosenFile)), 0u);
  }
  EXPECT_EQ(ReadAll(system_.chosenFile), "");
}

TEST_F(Downloads, TheDialogGetsANameItAcceptsInsteadOfTheServersBadOne) {
  system_.saveOutcome = ui::DialogOutcome::Cancelled;
  ControlCall call(Control(), "request.get_download_handler");
  EXPECT_EQ(AskForHandler(call, u"..\\..\\공고:2024?.pdf. "), 1);
  ASSERT_EQ(system_.saveDialogs.size(), 1u);
  EXPECT_EQ(system_.saveDialogs[0].fileName, u"공고_2024_.pdf");
}

// The dialog refusing to open is not the user cancelling: it is said, with its reason.
TEST_F(Downloads, ADialogThatFailsToOpenIsReportedWithItsReason) {
  system_.saveOutcome = ui::DialogOutcome::Failed;
  system_.saveError = FNERR_INVALIDFILENAME;
  system_.chosenFile = folder_.File(u"never.bin");
  ControlCall call(Control(), "request.get_download_handler");
  EXPECT_EQ(AskForHandler(call, u"never.bin"), 0) << "the runtime gets the neutral answer";
  EXPECT_EQ(call.ObjectAt(4), nullptr);
  ASSERT_EQ(system_.messageBoxes.size(), 1u);
  EXPECT_EQ(system_.messageBoxes[0].text, ui::SaveDialogFailure(FNERR_INVALIDFILENAME));
  EXPECT_NE(system_.messageBoxes[0].text.find(u"0x3002"), std::u16string::npos);
  EXPECT_FALSE(fs::exists(fs::path(system_.chosenFile)));
  EXPECT_TRUE(form_->DownloadStrip->Lines().empty());
}

TEST_F(Downloads, ACancelledDialogCreatesNothingAndAnswersTrueWithoutAHandler) {
  system_.saveOutcome = ui::DialogOutcome::Cancelled;
  system_.chosenFile = folder_.File(u"never.bin");
  ControlCall call(Control(), "request.get_download_handler");
  EXPECT_EQ(AskForHandler(call, u"never.bin"), 1);
  EXPECT_EQ(call.ObjectAt(4), nullptr);
  EXPECT_FALSE(fs::exists(fs::path(system_.chosenFile)));
  EXPECT_TRUE(system_.messageBoxes.empty());
}

TEST_F(Downloads, AFileThatCannotBeCreatedIsReportedWithItsPathAndTheSystemsReason) {
  system_.chosenFile = folder_.File(u"missing folder\\file.bin");
  ControlCall call(Control(), "request.get_download_handler");
  EXPECT_EQ(AskForHandler(call, u"file.bin"), 0) << "the runtime gets the neutral answer";
  EXPECT_EQ(call.ObjectAt(4), nullptr) << "no handler";
  ASSERT_EQ(system_.messageBoxes.size(), 1u) << "reported once, to the user";
  const std::u16string& text = system_.messageBoxes[0].text;
  const std::u16string expected = u"Cannot create file \"" + system_.chosenFile + u"\". ";
  EXPECT_EQ(text.substr(0, expected.size()), expected);
  EXPECT_GT(text.size(), expected.size()) << "the system's reason follows";
}

// Records what a handler tells its observer.
class RecordingObserver : public shell::IDownloadObserver {
 public:
  void DownloadProgress(int id, int64_t received) override { progress.push_back({id, received}); }
  void DownloadEnded(int id, const shell::DownloadEnd& end) override { ends.push_back({id, end}); }
  std::vector<std::pair<int, int64_t>> progress;
  std::vector<std::pair<int, shell::DownloadEnd>> ends;
};

// A chunk that cannot be written ends the file there: the next chunk would leave a gap.
TEST_F(Downloads, AfterARefusedChunkNothingMoreIsWrittenAndTheDownloadEndsShort) {
  std::u16string path = folder_.File(u"read-only.bin");
  std::ofstream(fs::path(path), std::ios::binary) << "x";
  auto observer = std::make_shared<RecordingObserver>();
  {
    platform::TFileStream readOnly(path, platform::fmOpenRead | platform::fmShareDenyNone);
    auto handler = base::MakeRef<shell::TCefStreamDownloadHandler>(readOnly, shell::DownloadWatch{observer, 7, 0});
    char chunk[16] = {};
    EXPECT_EQ(handler->ReceivedData(chunk, sizeof chunk), 0);
    handler->Complete();
  }
  ASSERT_EQ(observer->ends.size(), 1u) << "told once, when the handler goes";
  EXPECT_EQ(observer->ends[0].first, 7);
  EXPECT_EQ(observer->ends[0].second.kind, shell::DownloadEnd::Kind::WriteFailed);
  EXPECT_FALSE(observer->ends[0].second.reason.empty()) << "the system's reason";

  // Three chunks, the second refused: the file ends where the refusal was.
  FlakyStream flaky(2);
  {
    auto handler = base::MakeRef<shell::TCefStreamDownloadHandler>(flaky);
    char a[] = "AAAA", b[] = "BBBB", c[] = "CCCC";
    EXPECT_EQ(handler->ReceivedData(a, 4), 4);
    EXPECT_EQ(handler->ReceivedData(b, 4), 0);
    EXPECT_EQ(handler->ReceivedData(c, 4), 0);
  }
  EXPECT_EQ(flaky.bytes, "AAAA");
}

// Without Complete the connection ended early, whether or not a length was announced.
TEST_F(Downloads, WhetherADownloadWasSavedFollowsCompleteAndTheAnnouncedLength) {
  struct Case {
    int64_t length;
    bool complete;
    shell::DownloadEnd::Kind kind;
  };
  using K = shell::DownloadEnd::Kind;
  for (const Case& c : {Case{-1, false, K::CutShort}, Case{-1, true, K::Saved}, Case{8, true, K::CutShort},
                        Case{4, true, K::Saved}}) {
    SCOPED_TRACE(testing::Message() << "length " << c.length << (c.complete ? ", completed" : ", not completed"));
    auto observer = std::make_shared<RecordingObserver>();
    FlakyStream sink(0);
    {
      auto handler = base::MakeRef<shell::TCefStreamDownloadHandler>(sink, shell::DownloadWatch{observer, 1, c.length});
      char chunk[] = "abcd";
      EXPECT_EQ(handler->ReceivedData(chunk, 4), 4);
      if (c.complete) handler->Complete();
    }
    ASSERT_EQ(observer->ends.size(), 1u);
    EXPECT_EQ(observer->ends[0].second.kind, c.kind);
  }
}

TEST_F(Downloads, ADownloadOfSeveralMebibytesArrivesByteForByte) {
  system_.chosenFile = folder_.File(u"bid-1.pdf");
  Download("size=3145728&name=bid-1.pdf");
  ASSERT_EQ(system_.saveDialogs.size(), 1u);
  EXPECT_EQ(system_.saveDialogs[0].fileName, u"bid-1.pdf");
  EXPECT_TRUE(OthersCanOpen(system_.chosenFile)) << "closed once the runtime let go";
  EXPECT_TRUE(ReadAll(system_.chosenFile) == Pattern(3145728)) << "the content differs";
}

TEST_F(Downloads, AZeroByteDownloadLeavesAnEmptyFile) {
  system_.chosenFile = folder_.File(u"empty.bin");
  Download("size=0&name=empty.bin");
  ASSERT_TRUE(fs::exists(fs::path(system_.chosenFile)));
  EXPECT_EQ(fs::file_size(fs::path(system_.chosenFile)), 0u);
}

// ---- a connection that breaks, a disk that refuses

// The test service breaks the connection after `drop` of `size` bytes. The runtime asks for
// the handler with the announced size, sends what arrived and lets the handler go.
TEST_F(Downloads, AConnectionBrokenMidwayLeavesExactlyWhatArrivedInAClosedFile) {
  struct Case {
    const char* name;
    int size, drop;
  };
  // Within a chunk, on a chunk's edge, and before the first byte.
  for (const Case& c :
       {Case{"mid.bin", 1048576, 300001}, Case{"edge.bin", 1048576, 131072}, Case{"none.bin", 5000, 0}}) {
    SCOPED_TRACE(c.name);
    system_.chosenFile = folder_.File(platform::Utf8ToUtf16(c.name));
    Download("size=" + std::to_string(c.size) + "&drop=" + std::to_string(c.drop) + "&name=" + c.name);
    EXPECT_EQ(BrowserValue("download.cut_short"), 1) << "the test service broke the connection";
    EXPECT_EQ(BrowserValue("download.length"), c.size) << "the handler was asked for with the announced size";
    EXPECT_TRUE(OthersCanOpen(system_.chosenFile)) << "the runtime let the handler go and the file closed";
    EXPECT_TRUE(ReadAll(system_.chosenFile) == Pattern(static_cast<size_t>(c.drop)))
        << "holds " << ReadAll(system_.chosenFile).size() << " bytes";
  }
  EXPECT_EQ(system_.saveDialogs.size(), 3u);
  EXPECT_TRUE(system_.messageBoxes.empty());
  ExpectBrowsing();
}

// Whether a new handle could write the file now.
bool Writable(const std::u16string& path) {
  HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

class RefusedFiles : public Downloads {
 protected:
  // An existing file with something in it, chosen in the dialog.
  void ChooseExisting(const std::u16string& name) {
    system_.chosenFile = folder_.File(name);
    std::ofstream(fs::path(system_.chosenFile), std::ios::binary) << "precious";
  }
  // The program is asked for a handler for the chosen file and must refuse: the error box
  // names the file and gives the system's reason, and the file keeps what it held.
  void ExpectRefused() {
    {
      ControlCall call(Control(), "request.get_download_handler");
      EXPECT_EQ(AskForHandler(call, u"file.pdf"), 0) << "the runtime gets the neutral answer";
      EXPECT_EQ(call.ObjectAt(4), nullptr) << "no handler";
    }
    ASSERT_EQ(system_.messageBoxes.size(), 1u);
    const std::u16string expected = u"Cannot create file \"" + system_.chosenFile + u"\". ";
    EXPECT_EQ(system_.messageBoxes[0].text.substr(0, expected.size()), expected);
    EXPECT_GT(system_.messageBoxes[0].text.size(), expected.size()) << "the system's reason follows";
  }
};

TEST_F(RefusedFiles, AReadOnlyFileIsReportedAndKeptAsItWas) {
  ChooseExisting(u"read-only.pdf");
  const auto* path = reinterpret_cast<const wchar_t*>(system_.chosenFile.c_str());
  ASSERT_TRUE(SetFileAttributesW(path, FILE_ATTRIBUTE_READONLY));
  // Wine keeps the mark in the file's permissions, which a user with every right (as the
  // tests' machines run) may ignore: then the file is not read-only to anyone.
  if (Writable(system_.chosenFile)) {
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    GTEST_SKIP() << "this system lets its user write a read-only file";
  }
  ExpectRefused();
  SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadAll(system_.chosenFile), "precious");
  ExpectBrowsing();
}

// Another program holds the file open without sharing it: refused the same way, whoever
// the user is.
TEST_F(RefusedFiles, AFileThatAnotherProgramHoldsIsReportedAndKeptAsItWas) {
  ChooseExisting(u"held.pdf");
  HANDLE held = CreateFileW(reinterpret_cast<const wchar_t*>(system_.chosenFile.c_str()), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ExpectRefused();
  CloseHandle(held);
  EXPECT_EQ(ReadAll(system_.chosenFile), "precious");
  ExpectBrowsing();
}

TEST_F(RefusedFiles, AFolderThatRefusesNewFilesIsReported) {
  const std::u16string folder = folder_.File(u"locked");
  ASSERT_TRUE(CreateDirectoryW(reinterpret_cast<const wchar_t*>(folder.c_str()), nullptr));
  ASSERT_TRUE(SetFileAttributesW(reinterpret_cast<const wchar_t*>(folder.c_str()), FILE_ATTRIBUTE_READONLY));
  auto unlock = [&] { SetFileAttributesW(reinterpret_cast<const wchar_t*>(folder.c_str()), FILE_ATTRIBUTE_NORMAL); };
  // Windows ignores the read-only mark on folders, and so may a system that runs the tests
  // with every right: then no folder refuses, and there is nothing to test.
  const std::u16string probe = folder + u"\\probe";
  HANDLE h =
      CreateFileW(reinterpret_cast<const wchar_t*>(probe.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    CloseHandle(h);
    DeleteFileW(reinterpret_cast<const wchar_t*>(probe.c_str()));
    unlock();
    GTEST_SKIP() << "this system lets a read-only folder take new files";
  }
  system_.chosenFile = folder + u"\\new.pdf";
  ExpectRefused();
  unlock();
  EXPECT_FALSE(fs::exists(fs::path(system_.chosenFile)));
}

// A stream whose writes fail once `limit` bytes are in, as a full disk would: the write
// that reaches the limit is partial, every later one takes nothing.
class FailingStream : public platform::TStream {
 public:
  explicit FailingStream(size_t limit) : limit_(limit) {}
  int32_t Read(void*, int32_t) override { return 0; }
  int32_t Write(const void* buffer, int32_t count) override {
    ++writes;
    size_t taken = std::min(static_cast<size_t>(count), limit_ - bytes.size());
    bytes.append(static_cast<const char*>(buffer), taken);
    return static_cast<int32_t>(taken);
  }
  int64_t Seek(int64_t, platform::TSeekOrigin) override { return static_cast<int64_t>(bytes.size()); }

  std::string bytes;
  int writes = 0;

 private:
  size_t limit_;
};

// The program's handler over a borrowed stream, counting its own end.
class WatchedHandler : public shell::TCefStreamDownloadHandler {
 public:
  WatchedHandler(platform::TStream& stream, int& destroyed) : TCefStreamDownloadHandler(stream), destroyed_(destroyed) {}
  ~WatchedHandler() override { ++destroyed_; }

 private:
  int& destroyed_;
};

TEST_F(Downloads, AWriteThatFailsMidwayEndsTheDownloadAndTheProgramStaysUp) {
  FailingStream stream(200000);
  int handlers = 0, destroyed = 0;
  form_->chrome->SetOnGetDownloadHandler([&](ui::TObject*, const cef::Ref<cef::ICefBrowser>&, const std::u16string&,
                                             const std::u16string&, int64_t, cef::Ref<cef::ICefDownloadHandler>& handler,
                                             bool& result) {
    ++handlers;
    handler = base::MakeRef<WatchedHandler>(stream, destroyed);
    result = true;
  });
  Download("size=1048576&name=full-disk.bin");
  EXPECT_EQ(handlers, 1);
  EXPECT_EQ(destroyed, 1) << "the runtime let go of the handler";
  EXPECT_TRUE(stream.bytes == Pattern(200000)) << "holds " << stream.bytes.size() << " bytes";
  // Three whole chunks of 64 KiB and the partial fourth; the fifth is refused without
  // reaching the stream, after which the runtime sent nothing more.
  EXPECT_EQ(stream.writes, 4);
  EXPECT_TRUE(system_.messageBoxes.empty());
  ExpectBrowsing();
}

}  // namespace
