#pragma once
// What the download tests share: a folder of their own, the test service's byte pattern, and
// the main window with its save dialog answered by the test; for the strip, its clicks.

#include <windows.h>

#include <cderr.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

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

}  // namespace
