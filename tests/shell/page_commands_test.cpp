// The page commands of the main window: keys and mouse buttons taken in the application's
// message hook, the zoom steps, and the find strip.

#include <windows.h>

#include <string>
#include <vector>

#include "shell/main_form_fixture.h"
#include "shell/page_commands.h"
#include "shell/palette.h"
#include "platform/text.h"
#include "support/raw_browser.h"

namespace {

// Listens after the page commands: a key it sees unhandled is dispatched to its window.
class Recorder : public ui::IMessageHook {
 public:
  Recorder() { ui::Application().AddMessageHook(this); }
  ~Recorder() { ui::Application().RemoveMessageHook(this); }
  void OnMessage(MSG& msg, bool& handled) override {
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSKEYUP ||
        msg.message == WM_XBUTTONDOWN || msg.message == WM_MOUSEWHEEL)
      (handled ? taken : passed).push_back(static_cast<UINT>(msg.wParam));
  }
  std::vector<UINT> taken, passed;
};

class PageCommands : public shell_testing::MainFormFixture {
 protected:
  void TearDown() override {
    Hold(shell::kNoModifier);
    MainFormFixture::TearDown();
  }
  // The system's key state as the page commands read it.
  static void Hold(unsigned modifiers) {
    BYTE state[256]{};
    GetKeyboardState(state);
    state[VK_CONTROL] = modifiers & shell::kCtrl ? 0x80 : 0;
    state[VK_SHIFT] = modifiers & shell::kShift ? 0x80 : 0;
    state[VK_MENU] = modifiers & shell::kAlt ? 0x80 : 0;
    SetKeyboardState(state);
  }
  // Presses key with the modifiers on window and turns the loop until the queue is empty.
  void Press(HWND window, UINT key, unsigned modifiers = shell::kNoModifier) {
    Hold(modifiers);
    PostMessageW(window, modifiers & shell::kAlt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1);
    Drain();
  }
  void Drain() {
    MSG msg;
    ASSERT_TRUE(testing_support::PumpUntil([&] { return !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE); }));
  }
  HWND Page() { return form_->chrome->BrowserHandle(); }
  cef::Ref<cef::ICefBrowser> Browser() { return form_->chrome->Browser(); }
  int Calls(const char* member) { return testing_support::ProgramStandin().standin_call_count(member); }
  void Visit(const std::u16string& path) {
    Browser()->GetMainFrame()->LoadUrl(shell_testing::ServiceHome() + path);
    WaitIdle();
  }
};

TEST_F(PageCommands, EachKeyRunsItsCommandAndOtherKeysReachThePage) {
  WaitIdle();
  Visit(u"/bids");
  Visit(u"/bids/2");
  struct Row {
    UINT key;
    unsigned modifiers;
    const char* member;
  };
  const Row rows[] = {
      {VK_F5, shell::kNoModifier, "browser.reload"},
      {'R', shell::kCtrl, "browser.reload"},
      {VK_F5, shell::kCtrl, "browser.reload_ignore_cache"},
      {VK_F5, shell::kShift, "browser.reload_ignore_cache"},
      {VK_LEFT, shell::kAlt, "browser.go_back"},
      {VK_RIGHT, shell::kAlt, "browser.go_forward"},
      {'P', shell::kCtrl, "frame.print"},
      {VK_OEM_PLUS, shell::kCtrl, "browser.set_zoom_level"},
      {VK_OEM_PLUS, shell::kCtrl | shell::kShift, "browser.set_zoom_level"},
      {VK_ADD, shell::kCtrl, "browser.set_zoom_level"},
      {VK_OEM_MINUS, shell::kCtrl, "browser.set_zoom_level"},
      {VK_SUBTRACT, shell::kCtrl, "browser.set_zoom_level"},
      {'0', shell::kCtrl, "browser.set_zoom_level"},
      {VK_NUMPAD0, shell::kCtrl, "browser.set_zoom_level"},
  };
  Recorder recorder;
  for (const Row& row : rows) {
    int before = Calls(row.member);
    Press(Page(), row.key, row.modifiers);
    EXPECT_EQ(Calls(row.member), before + 1) << row.member << " from key " << row.key << "/" << row.modifiers;
    WaitIdle();
  }
  EXPECT_EQ(recorder.taken.size(), std::size(rows));
  EXPECT_TRUE(recorder.passed.empty());

  // Ctrl+F opens the find strip; Esc closes it again.
  Press(Page(), 'F', shell::kCtrl);
  EXPECT_TRUE(form_->FindStrip->IsOpen());
  int stops = Calls("browser.stop_finding");
  Press(form_->FindStrip->TextBox(), VK_ESCAPE);
  EXPECT_FALSE(form_->FindStrip->IsOpen());
  EXPECT_EQ(Calls("browser.stop_finding"), stops + 1);

  // Esc stops a load only between the load's start and end; otherwise the page keeps it,
  // as it keeps Backspace, plain letters, Ctrl+Alt combinations and what the input method composes.
  cef::Ref<cef::ICefFrame> main = Browser()->GetMainFrame();
  int stopped = Calls("browser.stop_load");
  form_->chrome->doOnLoadStart(Browser(), main);
  Press(Page(), VK_ESCAPE);
  EXPECT_EQ(Calls("browser.stop_load"), stopped + 1);
  // A load that ends in an error ends the loading state as a load end does.
  form_->chrome->doOnLoadStart(Browser(), main);
  std::u16string errorText;
  form_->chrome->doOnLoadError(Browser(), main, -105, u"http://nowhere.example/", errorText);
  recorder.passed.clear();
  Press(Page(), VK_ESCAPE);
  Press(Page(), VK_BACK);
  Press(Page(), 'F');
  Press(Page(), 'F', shell::kCtrl | shell::kAlt);
  Press(Page(), VK_PROCESSKEY);
  Press(Page(), VK_PROCESSKEY, shell::kCtrl);
  EXPECT_EQ(Calls("browser.stop_load"), stopped + 1);
  EXPECT_EQ(recorder.passed, (std::vector<UINT>{VK_ESCAPE, VK_BACK, 'F', 'F', VK_PROCESSKEY, VK_PROCESSKEY}));
  EXPECT_FALSE(form_->FindStrip->IsOpen());
}

TEST_F(PageCommands, BackAndForwardOnlyWhenTheBrowserCan) {
  WaitIdle();
  // One page only: neither way is open, and the mouse's extra buttons ask the same question.
  int back = Calls("browser.go_back"), forward = Calls("browser.go_forward");
  Press(Page(), VK_LEFT, shell::kAlt);
  PostMessageW(Page(), WM_XBUTTONDOWN, MAKEWPARAM(0, XBUTTON2), MAKELPARAM(10, 10));
  Drain();
  EXPECT_EQ(Calls("browser.go_back"), back);
  EXPECT_EQ(Calls("browser.go_forward"), forward);
  Visit(u"/bids");
  Visit(u"/bids/2");
  // A quick second press arrives as a double-click and goes back once more.
  PostMessageW(Page(), WM_XBUTTONDOWN, MAKEWPARAM(0, XBUTTON1), MAKELPARAM(10, 10));
  PostMessageW(Page(), WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), MAKELPARAM(10, 10));
  Drain();
  WaitIdle();
  PostMessageW(Page(), WM_XBUTTONDBLCLK, MAKEWPARAM(0, XBUTTON1), MAKELPARAM(10, 10));
  Drain();
  WaitIdle();
  EXPECT_EQ(Calls("browser.go_back"), back + 2);
  EXPECT_EQ(Browser()->GetMainFrame()->GetUrl(), shell_testing::ServiceHome() + u"/auth");
  // Alt released after Alt+Right is taken too: alone it would open the window's menu mode.
  Recorder recorder;
  Press(Page(), VK_RIGHT, shell::kAlt);
  PostMessageW(Page(), WM_SYSKEYUP, VK_MENU, 0xC0000001);
  Drain();
  PostMessageW(Page(), WM_SYSKEYUP, VK_MENU, 0xC0000001);
  Drain();
  EXPECT_EQ(Calls("browser.go_forward"), forward + 1);
  EXPECT_EQ(recorder.taken, (std::vector<UINT>{VK_RIGHT, VK_MENU}));
  EXPECT_EQ(recorder.passed, (std::vector<UINT>{VK_MENU}));
  WaitIdle();
}

TEST_F(PageCommands, ZoomStepsByHalfWithinFiveEitherWay) {
  WaitIdle();
  cef::Ref<cef::ICefBrowser> browser = Browser();
  Press(Page(), VK_OEM_PLUS, shell::kCtrl);
  EXPECT_EQ(browser->GetZoomLevel(), 0.5);
  for (int i = 0; i < 12; ++i) Press(Page(), VK_ADD, shell::kCtrl);
  EXPECT_EQ(browser->GetZoomLevel(), 5.0);
  Press(Page(), VK_OEM_MINUS, shell::kCtrl);
  EXPECT_EQ(browser->GetZoomLevel(), 4.5);
  Press(Page(), '0', shell::kCtrl);
  EXPECT_EQ(browser->GetZoomLevel(), 0.0);
  for (int i = 0; i < 12; ++i) Press(Page(), VK_SUBTRACT, shell::kCtrl);
  EXPECT_EQ(browser->GetZoomLevel(), -5.0);
  Press(Page(), VK_NUMPAD0, shell::kCtrl);
  EXPECT_EQ(browser->GetZoomLevel(), 0.0);
  // Ctrl with the wheel over the page: one step per notch.
  RECT page{};
  GetWindowRect(Page(), &page);
  LPARAM at = MAKELPARAM((page.left + page.right) / 2, (page.top + page.bottom) / 2);
  Hold(shell::kCtrl);
  PostMessageW(Page(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, 2 * WHEEL_DELTA), at);
  Drain();
  EXPECT_EQ(browser->GetZoomLevel(), 1.0);
  PostMessageW(Page(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -WHEEL_DELTA), at);
  Drain();
  EXPECT_EQ(browser->GetZoomLevel(), 0.5);
  // A level set by someone else off the steps comes back onto them.
  EXPECT_EQ(shell::NextZoomLevel(0.3, 1), 1.0);
}

TEST_F(PageCommands, WithoutABrowserNoKeyIsTaken) {
  ASSERT_NO_FATAL_FAILURE(RemakeFormWithoutABrowser());
  Recorder recorder;
  HWND window = form_->chrome->Handle();
  for (UINT key : {UINT{VK_F5}, UINT{'R'}, UINT{'F'}, UINT{'P'}, UINT{VK_OEM_PLUS}, UINT{'0'}})
    Press(window, key, key == VK_F5 ? shell::kNoModifier : shell::kCtrl);
  Press(window, VK_LEFT, shell::kAlt);
  Press(window, VK_ESCAPE);
  EXPECT_TRUE(recorder.taken.empty());
  EXPECT_EQ(recorder.passed.size(), 8u);
  EXPECT_FALSE(form_->FindStrip->IsOpen());
}

TEST_F(PageCommands, TheFindStripCountsMatchesOfTheCurrentSearchOnly) {
  WaitIdle();
  Visit(u"/bids");
  shell::TFindStrip& strip = *form_->FindStrip;
  cef::TChromium& chrome = *form_->chrome;
  Press(Page(), 'F', shell::kCtrl);
  ASSERT_TRUE(strip.IsOpen());
  // The page is made shorter, not covered.
  EXPECT_EQ(strip.Bounds(), (ui::Rect{2, 0, 1052, shell::TFindStrip::kHeight}));
  EXPECT_EQ(chrome.Bounds(), (ui::Rect{2, shell::TFindStrip::kHeight, 1052, 662 - shell::TFindStrip::kHeight}));
  EXPECT_EQ(GetFocus(), strip.TextBox());
  // The box draws what is typed, Korean included, in the program's own face, not the system's.
  HFONT face = shell::palette::ControlFont();
  LOGFONTW described{};
  ASSERT_EQ(GetObjectW(face, sizeof described, &described), int(sizeof described));
  EXPECT_EQ(described.lfCharSet, HANGUL_CHARSET);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(strip.TextBox(), WM_GETFONT, 0, 0)), face);

  // Typing searches; each new text flips the identifier.
  SetWindowTextW(strip.TextBox(), L"Bid");
  bool first = strip.Identifier();
  EXPECT_EQ(testing_support::BrowserValue(Browser(), "find.identifier"), first ? 1 : 0);
  EXPECT_EQ(testing_support::BrowserValue(Browser(), "find.find_next"), 0);
  Drain();
  int matches = testing_support::BrowserValue(Browser(), "find.matches");
  ASSERT_GE(matches, 3);
  EXPECT_EQ(strip.CountText(), u"1 / " + platform::IntToText(matches));

  // Enter and Shift+Enter move through the matches, wrapping at the ends.
  Press(strip.TextBox(), VK_RETURN);
  EXPECT_EQ(strip.CountText(), u"2 / " + platform::IntToText(matches));
  EXPECT_EQ(testing_support::BrowserValue(Browser(), "find.find_next"), 1);
  Press(strip.TextBox(), VK_RETURN, shell::kShift);
  Press(strip.TextBox(), VK_RETURN, shell::kShift);
  EXPECT_EQ(strip.CountText(), platform::IntToText(matches) + u" / " + platform::IntToText(matches));
  EXPECT_EQ(testing_support::BrowserValue(Browser(), "find.forward"), 0);

  // A new text is a new search; a late answer to the old one changes nothing.
  SetWindowTextW(strip.TextBox(), L"Bid 2");
  EXPECT_NE(strip.Identifier(), first);
  Drain();
  EXPECT_EQ(strip.CountText(), u"1 / 1");
  TCefRect nowhere{};
  chrome.doOnFindResult(Browser(), 7, &nowhere, first, true, true);
  EXPECT_EQ(strip.CountText(), u"1 / 1");
  strip.SetMatchCase(true);
  EXPECT_EQ(testing_support::BrowserValue(Browser(), "find.match_case"), 1);
  EXPECT_EQ(strip.Identifier(), first);

  strip.Close();
  EXPECT_EQ(testing_support::BrowserValue(Browser(), "find.active"), 0);
  EXPECT_EQ(chrome.Bounds(), (ui::Rect{2, 0, 1052, 662}));
  Drain();
}

}  // namespace
