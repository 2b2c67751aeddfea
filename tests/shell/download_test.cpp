// Saving downloads: the main window's download event with the save dialog answered by the
// test, the file it creates, and real downloads of the test service through the window's
// browser; connections that break and disks that refuse.

#include <windows.h>

#include <cderr.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "platform/text.h"
#include "shell/download_handler.h"
#include "shell/main_form_fixture.h"
#include "standin_callbacks/control_call.h"
#include "support/fake_system.h"
#include "ui/save_dialog.h"

namespace {

using callback_testing::ControlCall;
namespace fs = std::filesystem;

const testing_support::StandinControl& Control() { return testing_support::ProgramStandin(); }

// A folder of the test's own, removed at the end.
class TempFolder {
 public:
  TempFolder() {
    static int counter = 0;
    path_ = fs::temp_directory_path() / ("qvn-downloads-" + std::to_string(GetCurrentProcessId()) + "-" +
                                         std::to_string(++counter));
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::u16string File(const std::u16string& name) const { return (path_ / fs::path(name)).u16string(); }

 private:
  fs::path path_;
};

std::string ReadAll(const std::u16string& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Whether another program could open the file for reading now.
bool OthersCanOpen(const std::u16string& path) {
  HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

// The test service's download pattern: byte i is i % 251.
std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

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

class Downloads : public shell_testing::MainFormFixture {
 protected:
  // Raises the runtime's question for a download handler on the window's browser.
  int64_t AskForHandler(ControlCall& call, const std::u16string& fileName, int64_t length = 1000) {
    call.Text(1, u"application/pdf").Text(2, fileName).Int(3, length);
    EXPECT_EQ(testing_support::WithRawBrowser(form_->chrome->Browser(), [&](TCefBrowser* b) { return call.Fire(b); }),
              1);
    return call.Answer();
  }
  // Sends the browser to a download of the test service and waits until it was delivered.
  void Download(const std::string& query) {
    int32_t before = BrowserValue("downloads");
    cef::Ref<cef::ICefFrame> frame = form_->chrome->Browser()->GetMainFrame();
    frame->LoadUrl(u"http://" + std::u16string(shell::ServiceHost) + platform::Utf8ToUtf16("/download?" + query));
    bool done = testing_support::PumpUntil([&] {
      return BrowserValue("downloads") > before && BrowserValue("deliveries") == 0;
    }, 30000);
    ASSERT_TRUE(done) << "the download did not finish: " << BrowserValue("downloads") << " downloads, "
                      << BrowserValue("deliveries") << " sending, " << BrowserValue("loads.pending")
                      << " loads pending, error " << BrowserValue("error.code");
    testing_support::PumpFor(50);  // the runtime's last release of the handler
  }
  int32_t BrowserValue(const char* key) { return testing_support::BrowserValue(form_->chrome->Browser(), key); }
  // The browser still browses: the program is up and its loop turns.
  void ExpectBrowsing() {
    form_->chrome->Browser()->GetMainFrame()->LoadUrl(u"http://" + std::u16string(shell::ServiceHost) + u"/dom");
    WaitIdle();
    EXPECT_EQ(form_->chrome->Browser()->GetMainFrame()->GetUrl(),
              u"http://" + std::u16string(shell::ServiceHost) + u"/dom");
  }

  testing_support::FakeSystem system_;
  TempFolder folder_;
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

// ---- the strip, the taskbar and the close question

class DownloadStrip : public Downloads {
 protected:
  shell::TDownloadStrip& Strip() { return *form_->DownloadStrip; }
  // What downloads report reaches the screen and the taskbar on the strip's next tick.
  void Settle() { testing_support::PumpFor(250); }
  // A left click on the strip at a point of its first line.
  void ClickStrip(int x) {
    HWND strip = Strip().Handle();
    SendMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, shell::TDownloadStrip::kLineHeight / 2));
    SendMessageW(strip, WM_LBUTTONUP, 0, MAKELPARAM(x, shell::TDownloadStrip::kLineHeight / 2));
  }
  // The browser has the panel but for its margins and the strip.
  void ExpectBrowserAboveStrip() {
    const ui::Rect& browser = form_->chrome->Bounds();
    int strip = Strip().Visible() ? Strip().Height() : 0;
    EXPECT_EQ(browser.bottom() + strip + form_->Panel2->Padding().bottom, form_->Panel2->Height());
    if (Strip().Visible()) {
      EXPECT_EQ(Strip().Top(), browser.bottom());
    }
  }
};

TEST_F(DownloadStrip, ASavedDownloadSaysSoAndOpensItsFileOrFolderWhileTheTaskbarFollows) {
  system_.chosenFile = folder_.File(u"공고 1.pdf");
  Download("size=300000&rate=1000000&name=a.pdf");  // slow enough for the ticks to see it run
  Settle();
  ASSERT_EQ(Strip().Lines().size(), 1u);
  EXPECT_EQ(Strip().Lines()[0].state, shell::DownloadLine::State::Saved);
  EXPECT_EQ(Strip().Lines()[0].received, 300000);
  EXPECT_TRUE(Strip().Visible());
  ExpectBrowserAboveStrip();

  ClickStrip(340);
  ClickStrip(400);
  ASSERT_EQ(system_.shellCalls.size(), 2u);
  EXPECT_EQ(system_.shellCalls[0].verb, u"open");
  EXPECT_EQ(system_.shellCalls[0].file, system_.chosenFile);
  EXPECT_EQ(system_.shellCalls[1].file, u"explorer.exe");
  EXPECT_EQ(system_.shellCalls[1].parameters, u"/select,\"" + system_.chosenFile + u"\"");

  // Progress while it ran, cleared once it was saved.
  ASSERT_GE(system_.taskbar.size(), 2u);
  EXPECT_EQ(system_.taskbar.back().state, ui::TaskbarProgress::None);
  uint64_t done = 0;
  for (size_t i = 0; i + 1 < system_.taskbar.size(); ++i) {
    const auto& call = system_.taskbar[i];
    EXPECT_EQ(call.window, form_->Handle());
    EXPECT_EQ(call.state, ui::TaskbarProgress::Normal);
    EXPECT_EQ(call.total, 300000u);
    EXPECT_GE(call.done, done);
    done = call.done;
  }

  ClickStrip(form_->Panel2->Width() - 19);
  EXPECT_TRUE(Strip().Lines().empty());
  EXPECT_FALSE(Strip().Visible());
  ExpectBrowserAboveStrip();
}

TEST_F(DownloadStrip, ADownloadCutShortIsToldAndStaysUntilClosedWithTheTaskbarInError) {
  system_.chosenFile = folder_.File(u"cut.bin");
  Download("size=500000&drop=100000&name=cut.bin");
  Settle();
  ASSERT_EQ(Strip().Lines().size(), 1u);
  const shell::DownloadLine& line = Strip().Lines()[0];
  EXPECT_EQ(line.state, shell::DownloadLine::State::Short);
  EXPECT_NE(line.note.find(u"연결이 일찍 끊겼습니다"), std::u16string::npos);
  EXPECT_EQ(ReadAll(system_.chosenFile).size(), 100000u) << "what arrived stays";
  ASSERT_FALSE(system_.taskbar.empty());
  EXPECT_EQ(system_.taskbar.back().state, ui::TaskbarProgress::Error);
  size_t calls = system_.taskbar.size();

  Settle();
  EXPECT_EQ(Strip().Lines().size(), 1u) << "a failure does not close by itself";
  EXPECT_EQ(system_.taskbar.size(), calls);
  ClickStrip(340);
  EXPECT_TRUE(system_.shellCalls.empty()) << "a short download has nothing to open";
  ClickStrip(form_->Panel2->Width() - 19);
  EXPECT_TRUE(Strip().Lines().empty());
  ASSERT_EQ(system_.taskbar.size(), calls + 1);
  EXPECT_EQ(system_.taskbar.back().state, ui::TaskbarProgress::None);
}

// The runtime may drop its last reference on a thread of its own: the end is taken on the
// window's thread, where the strip lives.
TEST_F(DownloadStrip, AHandlerLetGoOnAnotherThreadEndsItsLineOnTheWindowsThread) {
  std::u16string path = folder_.File(u"elsewhere.bin");
  int id = Strip().Add(path, 3);
  auto handler = base::MakeRef<shell::TCefStreamDownloadHandler>(
      std::make_unique<platform::TFileStream>(path, platform::fmCreate), shell::DownloadWatch{Strip().Observer(), id, 3});
  char bytes[] = "abc";
  EXPECT_EQ(handler->ReceivedData(bytes, 3), 3);
  handler->Complete();
  std::thread([h = std::move(handler)]() mutable { h = nullptr; }).join();
  EXPECT_EQ(ReadAll(path), "abc") << "the file closed with the handler";
  EXPECT_EQ(Strip().Lines()[0].state, shell::DownloadLine::State::Running) << "nothing touched from the other thread";
  Settle();
  EXPECT_EQ(Strip().Lines()[0].state, shell::DownloadLine::State::Saved);
}

TEST_F(DownloadStrip, ClosingWhileADownloadRunsAsksTheUserButEndingTheSessionDoesNot) {
  HWND window = form_->Handle();
  ASSERT_TRUE(IsWindowVisible(window));
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(system_.messageBoxes.empty()) << "nothing runs: no question";
  ShowWindow(window, SW_SHOW);

  system_.chosenFile = folder_.File(u"running.bin");
  ControlCall call(Control(), "request.get_download_handler");
  EXPECT_EQ(AskForHandler(call, u"running.bin", -1), 1);
  // The strip's tick, however slow the machine (a fixed pause missed it in emulation).
  testing_support::PumpUntil([&] { return !system_.taskbar.empty(); }, 10000);
  ASSERT_FALSE(system_.taskbar.empty());
  EXPECT_EQ(system_.taskbar.back().state, ui::TaskbarProgress::Indeterminate) << "the length is not known";
  SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
  SendMessageW(window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
  EXPECT_TRUE(system_.messageBoxes.empty()) << "Windows ending the session is not asked about";

  system_.messageBoxAnswer = IDNO;
  SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_EQ(system_.messageBoxes.size(), 1u);
  EXPECT_EQ(system_.messageBoxes[0].text, u"다운로드가 진행 중입니다. 종료하시겠습니까?");
  EXPECT_EQ(system_.messageBoxes[0].flags & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
  EXPECT_TRUE(IsWindowVisible(window)) << "no: the program stays";
  EXPECT_EQ(Strip().Running(), 1u);

  system_.messageBoxAnswer = IDYES;
  form_->BtnCloseClick(form_->BtnClose);
  EXPECT_EQ(system_.messageBoxes.size(), 2u);
  EXPECT_FALSE(IsWindowVisible(window)) << "yes: it closes";
}

// On the 32-bit program the length crosses the runtime's interface in two 32-bit slots and
// the received count outgrows 32 bits: both arrive whole at the strip, the taskbar and the
// end. The file is the null device, which takes the 4 GiB without keeping them.
TEST_F(DownloadStrip, ALengthPastThirtyTwoBitsArrivesWholeAtTheStripTheTaskbarAndTheEnd) {
  const int64_t length = (int64_t{1} << 32) + 0x5A5A5;  // halves 1 and 0x5A5A5: a swap shows
  system_.chosenFile = u"NUL";
  {
    ControlCall call(Control(), "request.get_download_handler");
    EXPECT_EQ(AskForHandler(call, u"disc.iso", length), 1);
    ASSERT_EQ(Strip().Lines().size(), 1u);
    EXPECT_EQ(Strip().Lines()[0].total, length) << "announced";
    TCefBase* handler = call.ObjectAt(4);
    ASSERT_NE(handler, nullptr);
    auto* download = reinterpret_cast<TCefDownloadHandler*>(handler);
    std::vector<char> chunk(1 << 20);
    for (int64_t left = length; left > 0;) {
      const auto size = static_cast<int32_t>(std::min<int64_t>(left, static_cast<int64_t>(chunk.size())));
      ASSERT_EQ(download->received_data(download, chunk.data(), size), size) << left << " bytes left";
      left -= size;
    }
    // The strip takes what it was told on its next tick.
    testing_support::PumpUntil([&] { return !system_.taskbar.empty() && system_.taskbar.back().done > 0; }, 10000);
    EXPECT_EQ(Strip().Lines()[0].received, length) << "received while running";
    ASSERT_FALSE(system_.taskbar.empty());
    EXPECT_EQ(system_.taskbar.back().total, static_cast<uint64_t>(length));
    EXPECT_EQ(system_.taskbar.back().done, static_cast<uint64_t>(length));
    download->complete(download);
    handler->release(handler);
  }
  testing_support::PumpUntil([&] { return Strip().Lines().empty() || Strip().Lines()[0].state != shell::DownloadLine::State::Running; }, 10000);
  ASSERT_EQ(Strip().Lines().size(), 1u);
  EXPECT_EQ(Strip().Lines()[0].state, shell::DownloadLine::State::Saved) << "the end counts every byte";
  EXPECT_EQ(Strip().Lines()[0].received, length);
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
