// The download strip: a line for each download, newest first, with its progress and end; the
// taskbar that follows it; the close question while downloads run, asked in the system's own box.

#include <windows.h>

#include <string>
#include <vector>

#include "shell/download_fixture.h"
#include "shell/palette.h"

namespace {

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
  // A full bar: the error colour shows on all of the button, not on what arrived.
  EXPECT_EQ(system_.taskbar.back().done, 1u);
  EXPECT_EQ(system_.taskbar.back().total, 1u);
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

// Each file is marked as from the Internet the moment it exists, with the page's address; once
// saved and closed the attachment service sees it, and a file it removed is never "saved". A
// volume that cannot hold the mark does not stop the download.
TEST_F(DownloadStrip, EachDownloadIsMarkedWhenCreatedAndShownToTheAttachmentServiceOnceSaved) {
  const std::u16string page = u"http://" + std::u16string(shell::ServiceHost) + u"/dom";
  form_->chrome->Browser()->GetMainFrame()->LoadUrl(page);
  WaitIdle();
  using Verdict = ui::AttachmentVerdict;
  using State = shell::DownloadLine::State;
  struct Case {
    Verdict verdict;
    DWORD markError;
    State state;
  } cases[] = {{Verdict::Unavailable, 0, State::Saved},
               {Verdict::Kept, 0, State::Saved},
               {Verdict::Removed, 0, State::Short},
               {Verdict::Unavailable, ERROR_INVALID_PARAMETER, State::Saved}};
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(++n);
    system_.chosenFile = folder_.File(u"marked" + platform::Utf8ToUtf16(std::to_string(n)) + u".pdf");
    system_.attachmentVerdict = c.verdict;
    system_.zoneMarkError = c.markError;
    system_.zoneMarks.clear();
    system_.attachments.clear();
    {
      ControlCall call(Control(), "request.get_download_handler");
      EXPECT_EQ(AskForHandler(call, u"a.pdf", 3), 1);
      ASSERT_EQ(system_.zoneMarks.size(), 1u) << "marked before any content";
      EXPECT_EQ(system_.zoneMarks[0].path, system_.chosenFile);
      EXPECT_EQ(system_.zoneMarks[0].text, "[ZoneTransfer]\r\nZoneId=3\r\nHostUrl=" + platform::Utf16ToUtf8(page) + "\r\n");
      auto* download = reinterpret_cast<TCefDownloadHandler*>(call.ObjectAt(4));
      ASSERT_NE(download, nullptr) << "the download goes on";
      char chunk[] = "abc";
      EXPECT_EQ(download->received_data(download, chunk, 3), 3);
      download->complete(download);
      download->base.release(&download->base);
      EXPECT_TRUE(system_.attachments.empty()) << "not before the file is closed";
    }
    ASSERT_EQ(system_.attachments.size(), 1u);
    EXPECT_EQ(system_.attachments[0].path, system_.chosenFile);
    EXPECT_EQ(system_.attachments[0].source, page);
    const shell::DownloadLine& line = Strip().Lines().front();  // newest first
    EXPECT_EQ(line.state, c.state);
    if (c.state == State::Short) EXPECT_NE(line.note.find(u"보안 검사"), std::u16string::npos);
  }
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
  EXPECT_EQ(system_.messageBoxes[0].text,
            u"다운로드 1개가 아직 끝나지 않았습니다. 지금 종료하면 받던 파일은 완성되지 않은 채로 남습니다. "
            u"종료하시겠습니까?");
  EXPECT_EQ(system_.messageBoxes[0].flags & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
  EXPECT_TRUE(IsWindowVisible(window)) << "no: the program stays";
  EXPECT_EQ(Strip().Running(), 1u);

  system_.messageBoxAnswer = IDYES;
  form_->BtnCloseClick(form_->BtnClose);
  EXPECT_EQ(system_.messageBoxes.size(), 2u);
  EXPECT_FALSE(IsWindowVisible(window)) << "yes: it closes";
}

// The strip's clock is the test's: lines end and close at the moments the test sets.
class StripLines : public DownloadStrip {
 protected:
  void SetUp() override {
    DownloadStrip::SetUp();
    Strip().SetClock([this] { return now_; });
  }
  int AddLine(int n) { return Strip().Add(folder_.File(u"f" + platform::IntToText(n) + u".bin"), 100); }
  void End(int id, shell::DownloadEnd::Kind kind) { Strip().Ended(id, shell::DownloadEnd{kind, 10, {}}); }
  std::vector<int> Ids() {
    std::vector<int> ids;
    for (const shell::DownloadLine& line : Strip().Lines()) ids.push_back(line.id);
    return ids;
  }
  // A left click on the strip's line at index, x from the strip's right edge.
  void ClickLine(size_t index, int fromRight) {
    HWND strip = Strip().Handle();
    LPARAM at = MAKELPARAM(Strip().Width() - fromRight,
                           static_cast<int>(index) * shell::TDownloadStrip::kLineHeight + 13);
    SendMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(strip, WM_LBUTTONUP, 0, at);
  }
  // The colour behind "+N", painted on the strip's last shown line.
  COLORREF MoreBackground() {
    RedrawWindow(Strip().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetDC(Strip().Handle());
    int y = static_cast<int>(Strip().Shown() - 1) * shell::TDownloadStrip::kLineHeight + 3;
    COLORREF color = GetPixel(dc, Strip().Width() - 82, y);
    ReleaseDC(Strip().Handle(), dc);
    return color;
  }

  uint64_t now_ = 100000;
};

TEST_F(StripLines, NewestFirstInPlaceThreeShownAndPlusNOpensUpToSixUntilThePointerLeaves) {
  std::vector<int> ids;
  for (int i = 0; i < 5; ++i) ids.push_back(AddLine(i));
  End(ids[3], shell::DownloadEnd::Kind::Saved);
  Strip().Tick();
  EXPECT_EQ(Ids(), (std::vector<int>{ids[4], ids[3], ids[2], ids[1], ids[0]})) << "newest first, in place when ended";
  EXPECT_EQ(Strip().Shown(), 3u);
  EXPECT_EQ(Strip().Hidden(), 2u);
  EXPECT_EQ(Strip().Height(), 3 * shell::TDownloadStrip::kLineHeight);
  EXPECT_EQ(MoreBackground(), shell::palette::kTitleBackground);
  End(ids[0], shell::DownloadEnd::Kind::CutShort);
  Strip().Tick();
  EXPECT_EQ(MoreBackground(), RGB(96, 34, 32)) << "a hidden line ended short: \"+N\" in the error colours";

  ClickLine(2, 60);
  EXPECT_EQ(Strip().Shown(), 5u);
  EXPECT_EQ(Strip().Height(), 5 * shell::TDownloadStrip::kLineHeight);
  SendMessageW(Strip().Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Strip().Shown(), 3u);

  // Beyond six lines the oldest saved line closes; running and short lines stay whatever their number.
  ids.push_back(AddLine(5));
  ids.push_back(AddLine(6));
  EXPECT_EQ(Ids(), (std::vector<int>{ids[6], ids[5], ids[4], ids[2], ids[1], ids[0]}));
  ids.push_back(AddLine(7));
  EXPECT_EQ(Strip().Lines().size(), 7u);
  ClickLine(2, 60);
  EXPECT_EQ(Strip().Shown(), 6u);
  EXPECT_EQ(Strip().Hidden(), 1u);
  SendMessageW(Strip().Handle(), WM_MOUSELEAVE, 0, 0);
}

TEST_F(StripLines, ASavedLineClosesAfterEightSecondsButNotWhileThePointerIsOnTheStrip) {
  int first = AddLine(1), second = AddLine(2);
  End(first, shell::DownloadEnd::Kind::Saved);
  now_ += 1000;
  End(second, shell::DownloadEnd::Kind::Saved);
  now_ += shell::TDownloadStrip::kSavedShownMs - 1001;
  Strip().Tick();
  EXPECT_EQ(Strip().Lines().size(), 2u);
  now_ += 1;
  Strip().Tick();
  EXPECT_EQ(Ids(), (std::vector<int>{second}));

  SendMessageW(Strip().Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  now_ += 5000;
  Strip().Tick();
  EXPECT_EQ(Ids(), (std::vector<int>{second})) << "nothing moves under the pointer";
  SendMessageW(Strip().Handle(), WM_MOUSELEAVE, 0, 0);
  Strip().Tick();
  EXPECT_TRUE(Strip().Lines().empty());
}

// The close question is the system's own box, with its own modal loop: the download goes on
// while it is open, and a second close request meanwhile asks nothing more.
struct OpenBox {
  shell::TMainForm* form = nullptr;
  const shell::TDownloadStrip* strip = nullptr;
  uint64_t openedAt = 0;
  int64_t receivedAtOpen = -1, receivedAtAnswer = -1;
};
OpenBox g_openBox;

BOOL CALLBACK AnswerNo(HWND window, LPARAM) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) == L"#32770") PostMessageW(window, WM_COMMAND, IDNO, 0);
  return TRUE;
}

void CALLBACK WatchTheBox(HWND, UINT, UINT_PTR, DWORD) {
  OpenBox& box = g_openBox;
  int64_t received = box.strip->Lines()[0].received;
  if (box.receivedAtOpen < 0) {
    box.openedAt = GetTickCount64();
    box.receivedAtOpen = received;
    return;
  }
  // Once answered, any box still open is answered too: a second question must not hang the test.
  if (box.receivedAtAnswer >= 0) {
    EnumThreadWindows(GetCurrentThreadId(), AnswerNo, 0);
    return;
  }
  if (GetTickCount64() - box.openedAt < 1000) return;
  box.receivedAtAnswer = received;
  SendMessageW(box.form->Handle(), WM_CLOSE, 0, 0);
  EnumThreadWindows(GetCurrentThreadId(), AnswerNo, 0);
}

TEST_F(DownloadStrip, ADownloadGoesOnWhileTheCloseQuestionIsOpenAndASecondCloseAsksNothing) {
  system_.chosenFile = folder_.File(u"slow.bin");
  system_.realMessageBoxes = true;
  form_->chrome->Browser()->GetMainFrame()->LoadUrl(u"http://" + std::u16string(shell::ServiceHost) +
                                                   u"/download?size=900000&rate=300000&name=slow.bin");
  ASSERT_TRUE(testing_support::PumpUntil([&] { return Strip().Running() == 1 && Strip().Lines()[0].received > 0; }));

  g_openBox = OpenBox{form_.get(), &Strip()};
  UINT_PTR watch = SetTimer(nullptr, 0, 50, WatchTheBox);
  SendMessageW(form_->Handle(), WM_CLOSE, 0, 0);
  KillTimer(nullptr, watch);
  ASSERT_GE(g_openBox.receivedAtAnswer, 0) << "the box was answered by the watch";
  EXPECT_GT(g_openBox.receivedAtAnswer, g_openBox.receivedAtOpen) << "bytes arrived while the box was open";
  EXPECT_EQ(system_.messageBoxes.size(), 1u) << "the second close asked nothing";
  EXPECT_TRUE(IsWindowVisible(form_->Handle())) << "no: the program stays";

  ASSERT_TRUE(testing_support::PumpUntil([&] { return Strip().Running() == 0; }, 30000));
  EXPECT_EQ(Strip().Lines()[0].state, shell::DownloadLine::State::Saved);
  EXPECT_EQ(ReadAll(system_.chosenFile), Pattern(900000));
  Settle();
}


}  // namespace
