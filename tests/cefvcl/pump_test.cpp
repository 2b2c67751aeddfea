// The message pump: work calls from the application loop's two hooks while a client
// exists, the one timer shared by every client, and silence without clients.

#include <windows.h>

#include <chrono>
#include <memory>

#include "cef/cefvcl/pump.h"
#include "cef/cefvcl/vcl_client_handler.h"
#include "cefvcl/chromium_fixture.h"
#include "standin_callbacks/control_call.h"
#include "ui/application.h"

namespace cefvcl_testing {
namespace {

using namespace cef;

int32_t WorkCalls() { return testing_support::ProgramStandin().standin_call_count("cef_do_message_loop_work"); }

// Whether the thread timer delivers a tick within the time, taking ticks out of the queue
// and nothing else.
bool TimerTicksWithin(int milliseconds) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  MSG msg;
  while (std::chrono::steady_clock::now() < end) {
    while (PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
      if (msg.hwnd == nullptr) return true;  // a thread timer's tick: no window
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_TIMER);
  }
  return false;
}

// Takes every message out of the queue without the application's loop, as a modal loop of
// the system does.
void ModalDrain(int milliseconds) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  MSG msg;
  while (std::chrono::steady_clock::now() < end) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

// A hook of the test's own, after the pump's: sees what the pump left in the flags.
class FlagWatcher : public ui::IMessageHook, public ui::IIdleHook {
 public:
  FlagWatcher() {
    ui::Application().AddMessageHook(this);
    ui::Application().AddIdleHook(this);
  }
  ~FlagWatcher() {
    ui::Application().RemoveMessageHook(this);
    ui::Application().RemoveIdleHook(this);
  }
  void OnMessage(MSG& msg, bool& handled) override {
    ++messages;
    if (msg.message == WM_QUIT) ++quits;
    if (handled) ++handledSeen;
  }
  void OnIdle(bool& done) override {
    ++idles;
    if (!done) ++notDoneSeen;
  }
  int messages = 0, quits = 0, handledSeen = 0, idles = 0, notDoneSeen = 0;
};

using Pump = ChromiumTest;

TEST_F(Pump, WithoutAClientThereIsNoTimerAndNoWorkCall) {
  ASSERT_EQ(ClientHandlerCount.load(), 0);
  ModalDrain(20);  // ticks left over from an earlier test
  int32_t before = WorkCalls();
  PostMessageW(ui::Application().Handle(), WM_NULL, 0, 0);
  for (int i = 0; i < 5; ++i) ui::Application().ProcessTurn(ui::WhenIdle::Return);
  EXPECT_EQ(WorkCalls(), before);
  EXPECT_FALSE(TimerTicksWithin(60));
}

TEST_F(Pump, EachMessageAndEachIdlePassIsOneUnitOfWork) {
  MakeForm("");
  ASSERT_EQ(ClientHandlerCount.load(), 1);
  ASSERT_NE(PumpTimerId, 0u);
  FlagWatcher watcher;
  PumpFor(30);
  ModalDrain(5);
  // Each turn takes one message, or makes one idle pass when the queue is empty.
  for (int i = 0; i < 20; ++i) {
    int32_t before = WorkCalls();
    if (i % 2 == 0) PostMessageW(form_->Handle(), WM_NULL, 0, 0);
    ui::Application().ProcessTurn(ui::WhenIdle::Return);
    EXPECT_EQ(WorkCalls(), before + 1) << "turn " << i;
  }
  // A tick the application's own loop takes: its hook makes the call, the timer's procedure none.
  bool tickTaken = false;
  for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
       !tickTaken && std::chrono::steady_clock::now() < end;) {
    MSG next;
    if (!PeekMessageW(&next, nullptr, 0, 0, PM_NOREMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      continue;
    }
    tickTaken = next.message == WM_TIMER && next.hwnd == nullptr;
    int32_t before = WorkCalls();
    ui::Application().ProcessTurn(ui::WhenIdle::Return);
    if (tickTaken) EXPECT_EQ(WorkCalls(), before + 1) << "one work call for the tick";
  }
  EXPECT_TRUE(tickTaken);
  EXPECT_GT(watcher.messages, 0);
  EXPECT_GT(watcher.idles, 0);
  EXPECT_EQ(watcher.handledSeen, 0) << "the pump never handles a message";
  EXPECT_EQ(watcher.notDoneSeen, 0) << "the pump never keeps the loop from sleeping";
}

TEST_F(Pump, TheQuitMessageNeverReachesTheHook) {
  MakeForm("");
  FlagWatcher watcher;
  ModalDrain(5);
  int32_t before = WorkCalls();
  PostQuitMessage(0);
  EXPECT_FALSE(ui::Application().ProcessTurn(ui::WhenIdle::Return)) << "the loop ends";
  EXPECT_EQ(WorkCalls(), before);
  EXPECT_EQ(watcher.quits, 0);
}

// A modal loop the application does not own (a message box, a menu, a move) gets its work
// calls from the timer's procedure, but never one inside a callback from the runtime, where
// the save dialog and the runtime's own modal loops run.
TEST_F(Pump, AModalLoopGetsWorkCallsUnlessItRunsInsideTheRuntime) {
  ChromeForm* form = MakeForm("");
  PumpFor(20);
  int32_t before = WorkCalls();
  ModalDrain(100);
  EXPECT_GE(WorkCalls() - before, 3) << "about one a tick";

  int32_t inside = -1;
  form->Chrome()->SetOnTitleChange([&](ui::TObject*, const Ref<ICefBrowser>&, const std::u16string&, bool&) {
    int32_t start = WorkCalls();
    ModalDrain(100);
    inside = WorkCalls() - start;
  });
  callback_testing::ControlCall call(Control(), "display.on_title_change");
  call.Text(1, u"a title");
  EXPECT_EQ(WithRawBrowser(form->Chrome()->Browser(), [&](TCefBrowser* b) { return call.Fire(b); }), 1);
  EXPECT_EQ(inside, 0) << "no work call inside a callback";
  form->Chrome()->SetOnTitleChange(nullptr);
}

TEST_F(Pump, TwoControlsShareOneTimerThatStopsWithTheLast) {
  ChromeForm* form = MakeForm("");
  UINT_PTR timer = PumpTimerId;
  ASSERT_NE(timer, 0u);
  auto second = std::make_unique<TChromium>(nullptr);
  second->SetParent(form);
  second->SetBounds(0, 0, 100, 100);
  second->Handle();
  ASSERT_TRUE(second->Browser());
  EXPECT_EQ(ClientHandlerCount.load(), 2);
  EXPECT_EQ(PumpTimerId, timer) << "the second client starts no timer of its own";

  second.reset();
  ASSERT_TRUE(PumpUntil([] { return ClientHandlerCount.load() == 1; })) << "the runtime let go of the second client";
  ModalDrain(5);
  EXPECT_TRUE(TimerTicksWithin(200)) << "the first client keeps the timer";

  DestroyForm();
  EXPECT_EQ(ClientHandlerCount.load(), 0);
  ModalDrain(20);
  EXPECT_FALSE(TimerTicksWithin(60)) << "the last client stopped the timer";
}

TEST_F(Pump, TheTimerKeepsTheRuntimeWorkingWhileTheLoopIsIdle) {
  MakeForm("");
  PumpFor(20);
  int32_t before = WorkCalls();
  // Run(true)'s way: an idle pass and then sleeping until the next message.
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
  while (std::chrono::steady_clock::now() < end) ui::Application().ProcessTurn(ui::WhenIdle::Wait);
  int32_t calls = WorkCalls() - before;
  // About two a tick (the tick and the idle pass after it); a loose floor, no timing goal.
  EXPECT_GE(calls, 10) << "the loop slept without ticks";
}

TEST_F(Pump, InDesignModeTheControlHasNoClientAndNoBrowser) {
  ChromeForm* form = MakeForm("");
  ui::TComponent designer(nullptr);
  designer.SetDesigning(true);
  int32_t creations = Control().standin_call_count("cef_browser_create_sync");
  auto designed = std::make_unique<TChromium>(&designer);
  EXPECT_EQ(ClientHandlerCount.load(), 1) << "no client for a designed control";
  designed->SetParent(form);
  designed->SetBounds(0, 0, 120, 80);
  designed->Load(u"http://service.example/");
  EXPECT_TRUE(designed->HandleAllocated());
  EXPECT_FALSE(designed->Browser());
  EXPECT_EQ(Control().standin_call_count("cef_browser_create_sync"), creations);
  EXPECT_EQ(SendMessageW(designed->Handle(), WM_ERASEBKGND, 0, 0), 1) << "erased the framework's way";
  designed->SetBounds(0, 0, 200, 100);
  designed.reset();
}

}  // namespace
}  // namespace cefvcl_testing
