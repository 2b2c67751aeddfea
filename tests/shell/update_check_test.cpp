#include "shell/update_check.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "platform/errors.h"
#include "platform/process.h"
#include "platform/text.h"
#include "support/fake_system.h"
#include "ui/application.h"

namespace {

using testing_support::FakeSystem;

// The updater stand-in answers what "XmlLoader.answer" beside it says.
class UpdateCheckTest : public ::testing::Test {
 protected:
  void SetUp() override { DropQuit(); }
  void TearDown() override {
    std::remove(AnswerPath().c_str());
    DropQuit();
  }
  static std::string AnswerPath() { return platform::Utf16ToUtf8(platform::ExecutableFolder()) + "XmlLoader.answer"; }
  static void Answer(int value) { std::ofstream(AnswerPath()) << value; }
  // Whether a quit request waits in the queue; it is taken out.
  static bool QuitRequested() {
    MSG msg;
    bool quit = false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
      if (msg.message == WM_QUIT) quit = true;
    return quit;
  }
  static void DropQuit() { QuitRequested(); }
  FakeSystem system;
};

TEST_F(UpdateCheckTest, AMissingLibraryIsReportedOnceAndStartUpGoesOn) {
  shell::CheckForUpdate(u"NoSuchUpdater.dll");
  ASSERT_EQ(system.messageBoxes.size(), 1u);
  EXPECT_EQ(system.messageBoxes[0].text, u"Unable to Load DLL");
  EXPECT_EQ(system.messageBoxes[0].flags & 0xF, static_cast<UINT>(MB_OK));
  EXPECT_TRUE(system.shellCalls.empty());
  EXPECT_FALSE(QuitRequested());
}

TEST_F(UpdateCheckTest, AnswersOtherThan201StartNormally) {
  for (int answer : {0, 200, 202, -1}) {
    Answer(answer);
    shell::CheckForUpdate();
    EXPECT_TRUE(system.shellCalls.empty()) << answer;
    EXPECT_FALSE(QuitRequested()) << answer;
  }
  EXPECT_TRUE(system.messageBoxes.empty());
  EXPECT_EQ(GetModuleHandleW(L"XmlLoader.dll"), nullptr) << "the library is freed again";
}

// Every answer an updater might plausibly give, one after the other in one process: the
// hand-over must hang on exactly 201, and no answer may leave the library loaded.
TEST_F(UpdateCheckTest, OnlyTheAnswer201OfAllFromMinusOneTo300StartsTheUpdater) {
  std::vector<int> handedOver, quitting, keptLoaded;
  for (int answer = -1; answer <= 300; ++answer) {
    Answer(answer);
    size_t before = system.shellCalls.size();
    shell::CheckForUpdate();
    if (system.shellCalls.size() != before) handedOver.push_back(answer);
    if (QuitRequested()) quitting.push_back(answer);
    if (GetModuleHandleW(L"XmlLoader.dll")) keptLoaded.push_back(answer);
  }
  EXPECT_EQ(handedOver, std::vector<int>{201});
  EXPECT_EQ(quitting, std::vector<int>{201});
  EXPECT_TRUE(keptLoaded.empty()) << ::testing::PrintToString(keptLoaded);
  EXPECT_TRUE(system.messageBoxes.empty()) << "no answer is reported to the user";
  ASSERT_EQ(system.shellCalls.size(), 1u);
  EXPECT_EQ(system.shellCalls[0].parameters, u"quillmarsh");
}

TEST_F(UpdateCheckTest, A201HandsOverToTheUpdaterAndAsksToQuit) {
  Answer(201);
  shell::CheckForUpdate();
  ASSERT_EQ(system.shellCalls.size(), 1u);
  const FakeSystem::ShellCall& call = system.shellCalls[0];
  EXPECT_EQ(call.verb, u"Open");
  EXPECT_EQ(call.file, platform::ExecutableFolder() + u"AutoUpdate.exe");
  EXPECT_EQ(call.parameters, u"quillmarsh");
  EXPECT_EQ(call.directory, u"");
  EXPECT_EQ(call.show, SW_SHOWNORMAL);
  EXPECT_EQ(call.owner, ui::Application().Handle());
  EXPECT_TRUE(QuitRequested());
  EXPECT_EQ(GetModuleHandleW(L"XmlLoader.dll"), nullptr);
}

TEST_F(UpdateCheckTest, ALibraryWithoutTheExportRaisesTheSystemErrorAndIsFreed) {
  try {
    shell::CheckForUpdate(u"XmlLoader_noexport.dll");
    FAIL() << "no error for a library without VersionCmp";
  } catch (const platform::EOSError& e) {
    EXPECT_EQ(e.ErrorCode(), static_cast<uint32_t>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(e.Message().rfind(u"System Error.  Code: 127.\r\n", 0), 0u) << e.what();
  }
  EXPECT_EQ(GetModuleHandleW(L"XmlLoader_noexport.dll"), nullptr) << "freed although the check failed";
  EXPECT_TRUE(system.messageBoxes.empty());
  EXPECT_FALSE(QuitRequested());
}

}  // namespace
