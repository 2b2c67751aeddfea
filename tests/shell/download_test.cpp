// Saving downloads: the main window's download event with the save dialog answered by the
// test, the file it creates, and real downloads of the test service through the window's
// browser.

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/text.h"
#include "shell/download_handler.h"
#include "shell/main_form_fixture.h"
#include "standin_callbacks/control_call.h"
#include "support/fake_system.h"

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

class Downloads : public shell_testing::MainFormFixture {
 protected:
  // Raises the runtime's question for a download handler on the window's browser.
  int64_t AskForHandler(ControlCall& call, const std::u16string& fileName, int64_t length = 1000) {
    call.Text(1, u"application/pdf").Text(2, fileName).Int(3, length);
    TCefBase* raw = form_->chrome->Browser()->Wrap();
    int32_t fired = call.Fire(reinterpret_cast<TCefBrowser*>(raw));
    raw->release(raw);
    EXPECT_EQ(fired, 1);
    return call.Answer();
  }
  // Sends the browser to a download of the test service and waits until it was delivered.
  void Download(const std::string& query) {
    cef::Ref<cef::ICefFrame> frame = form_->chrome->Browser()->GetMainFrame();
    frame->LoadUrl(u"http://" + std::u16string(shell::ServiceHost) + platform::Utf8ToUtf16("/download?" + query));
    TCefBase* raw = form_->chrome->Browser()->Wrap();
    auto* browser = reinterpret_cast<TCefBrowser*>(raw);
    bool done = testing_support::PumpUntil([&] {
      return Control().standin_browser_value(browser, "downloads") >= 1 &&
             Control().standin_browser_value(browser, "deliveries") == 0;
    }, 30000);
    raw->release(raw);
    ASSERT_TRUE(done) << "the download did not finish";
    testing_support::PumpFor(50);  // the runtime's last release of the handler
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
    EXPECT_FALSE(system_.saveDialogs[0].overwritePrompt) << "no question before replacing a file";
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

TEST_F(Downloads, AnExistingFileIsEmptiedAsTheDialogCloses) {
  system_.chosenFile = folder_.File(u"old.bin");
  std::ofstream(fs::path(system_.chosenFile), std::ios::binary) << "old content";
  {
    ControlCall call(Control(), "request.get_download_handler");
    EXPECT_EQ(AskForHandler(call, u"new.bin"), 1);
    EXPECT_EQ(fs::file_size(fs::path(system_.chosenFile)), 0u);
  }
  EXPECT_EQ(ReadAll(system_.chosenFile), "");
}

TEST_F(Downloads, ACancelledDialogCreatesNothingAndAnswersTrueWithoutAHandler) {
  system_.confirmSave = false;
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

TEST_F(Downloads, AFailingWriteAnswersZero) {
  std::u16string path = folder_.File(u"read-only.bin");
  std::ofstream(fs::path(path), std::ios::binary) << "x";
  platform::TFileStream readOnly(path, platform::fmOpenRead | platform::fmShareDenyNone);
  auto handler = base::MakeRef<shell::TCefStreamDownloadHandler>(readOnly);
  char chunk[16] = {};
  EXPECT_EQ(handler->ReceivedData(chunk, sizeof chunk), 0);
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

}  // namespace
