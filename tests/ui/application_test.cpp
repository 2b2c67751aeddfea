#include "ui/application.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/errors.h"
#include "support/app_loop.h"
#include "support/fake_system.h"

namespace {

using ui::Application;

// Runs turns of the loop, without waiting, until the queue is empty.
struct RecordingHook : ui::IMessageHook, ui::IIdleHook {
  std::vector<UINT> messages;
  std::vector<bool> handledOnEntry;
  int idles = 0;
  std::vector<bool> doneOnEntry;
  bool markHandled = false;
  bool clearDone = false;
  std::function<void()> onMessage;
  void OnMessage(MSG& msg, bool& handled) override {
    messages.push_back(msg.message);
    handledOnEntry.push_back(handled);
    if (markHandled) handled = true;
    if (onMessage) onMessage();
  }
  void OnIdle(bool& done) override {
    ++idles;
    doneOnEntry.push_back(done);
    if (clearDone) done = false;
  }
};

class LoopTest : public ::testing::Test {
 protected:
  void TearDown() override {
    Application().RemoveMessageHook(&a);
    Application().RemoveMessageHook(&b);
    Application().RemoveIdleHook(&a);
    Application().RemoveIdleHook(&b);
    testing_support::Drain();
  }
  RecordingHook a, b;
};

TEST_F(LoopTest, EveryMessageHookSeesEachMessageWithOneSharedHandledFlag) {
  Application().AddMessageHook(&a);
  Application().AddMessageHook(&b);
  a.markHandled = true;
  PostThreadMessageW(GetCurrentThreadId(), WM_APP + 1, 0, 0);
  EXPECT_TRUE(Application().ProcessTurn(ui::WhenIdle::Return));
  EXPECT_EQ(a.messages, (std::vector<UINT>{WM_APP + 1}));
  EXPECT_EQ(b.messages, (std::vector<UINT>{WM_APP + 1}));
  EXPECT_EQ(a.handledOnEntry, (std::vector<bool>{false}));
  EXPECT_EQ(b.handledOnEntry, (std::vector<bool>{true})) << "the flag is shared by the hooks";
}

TEST_F(LoopTest, AHandledMessageIsNotDispatched) {
  int dispatched = 0;
  struct Target {
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
      if (m == WM_APP + 2) ++*reinterpret_cast<int*>(GetWindowLongPtrW(h, GWLP_USERDATA));
      return DefWindowProcW(h, m, w, l);
    }
  };
  WNDCLASSW wc{};
  wc.lpfnWndProc = &Target::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"LoopTestTarget";
  RegisterClassW(&wc);
  HWND target = CreateWindowW(L"LoopTestTarget", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  SetWindowLongPtrW(target, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&dispatched));
  Application().AddMessageHook(&a);
  PostMessageW(target, WM_APP + 2, 0, 0);
  Application().ProcessTurn(ui::WhenIdle::Return);
  EXPECT_EQ(dispatched, 1);
  a.markHandled = true;
  PostMessageW(target, WM_APP + 2, 0, 0);
  Application().ProcessTurn(ui::WhenIdle::Return);
  EXPECT_EQ(dispatched, 1) << "handled by a hook";
  DestroyWindow(target);
}

TEST_F(LoopTest, TheQuitRequestEndsTheLoopWithoutPassingTheHooks) {
  Application().AddMessageHook(&a);
  PostQuitMessage(0);
  EXPECT_FALSE(Application().ProcessTurn(ui::WhenIdle::Return));
  EXPECT_TRUE(a.messages.empty());
}

TEST_F(LoopTest, IdleHooksRunWhenTheQueueIsEmptyWithDoneStartingTrue) {
  Application().AddIdleHook(&a);
  Application().AddIdleHook(&b);
  a.clearDone = true;
  testing_support::Drain();
  EXPECT_TRUE(Application().ProcessTurn(ui::WhenIdle::Return));
  EXPECT_EQ(a.doneOnEntry, (std::vector<bool>{true})) << "Done starts true";
  EXPECT_EQ(b.doneOnEntry, (std::vector<bool>{false})) << "and is shared by the hooks";
}

TEST_F(LoopTest, AHookMayRemoveAnotherWhileTheyAreCalled) {
  Application().AddMessageHook(&a);
  Application().AddMessageHook(&b);
  a.onMessage = [this] { Application().RemoveMessageHook(&b); };
  PostThreadMessageW(GetCurrentThreadId(), WM_APP + 3, 0, 0);
  Application().ProcessTurn(ui::WhenIdle::Return);
  EXPECT_EQ(a.messages.size(), 1u);
  EXPECT_TRUE(b.messages.empty()) << "removed before its turn";
  PostThreadMessageW(GetCurrentThreadId(), WM_APP + 3, 0, 0);
  Application().ProcessTurn(ui::WhenIdle::Return);
  EXPECT_EQ(a.messages.size(), 2u);
}

TEST_F(LoopTest, AnExceptionFromAHookIsReportedAndTheLoopGoesOn) {
  testing_support::FakeSystem system;
  Application().AddMessageHook(&a);
  a.onMessage = [] { throw std::runtime_error("hook failed"); };
  PostThreadMessageW(GetCurrentThreadId(), WM_APP + 4, 0, 0);
  EXPECT_TRUE(Application().ProcessTurn(ui::WhenIdle::Return));
  ASSERT_EQ(system.messageBoxes.size(), 1u);
  EXPECT_EQ(system.messageBoxes[0].text, u"hook failed");
  EXPECT_EQ(system.messageBoxes[0].flags & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));
  a.onMessage = nullptr;
  PostThreadMessageW(GetCurrentThreadId(), WM_APP + 4, 0, 0);
  EXPECT_TRUE(Application().ProcessTurn(ui::WhenIdle::Return));
  EXPECT_EQ(a.messages.size(), 2u);
}

TEST_F(LoopTest, OnExceptionReplacesTheDefaultReport) {
  testing_support::FakeSystem system;
  std::u16string reported;
  Application().OnException = [&](const std::u16string& message) { reported = message; };
  Application().AddMessageHook(&a);
  a.onMessage = [] { throw platform::EOSError(5, u"Access is denied"); };
  PostThreadMessageW(GetCurrentThreadId(), WM_APP + 5, 0, 0);
  Application().ProcessTurn(ui::WhenIdle::Return);
  Application().OnException = nullptr;
  EXPECT_EQ(reported, u"System Error.  Code: 5.\r\nAccess is denied");
  EXPECT_TRUE(system.messageBoxes.empty());
}

}  // namespace
