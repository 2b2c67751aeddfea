// The real program when the runtime library it registers its page extension with cannot
// be used: start-up ends with the error report before any window, and what had started is
// finalised.

#include <gtest/gtest.h>

#include "window/program_run.h"

namespace {

using namespace window_testing;

// What a start-up that ends in the shell's step leaves: the shell module never counts as
// started, so it is not finalised, and the modules before it are, in reverse order.
const std::vector<std::string> kAbortedStartUp = {
    "start ceflib",     "start cefvcl",          "start pictures",    "start shell",
    "cache directory set", "main window destroyed", "finalise pictures", "finalise cefvcl",
    "finalise ceflib",  "com uninitialised"};

// The folder of this test program, where the build leaves the stand-in's variants.
std::wstring TestFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// Runs the prepared program up to its error report, answers the report's text and
// dismisses it, and checks that the program then ends with a failure code.
std::u16string ErrorReportOf(ProgramRun& run) {
  run.Start();
  HWND dialog = run.WaitForDialog();
  EXPECT_NE(dialog, nullptr) << "no error report";
  if (!dialog) return u"";
  std::u16string text = ProgramRun::DialogText(dialog);
  EXPECT_EQ(run.MainWindow(), nullptr) << "the report comes before any window";
  ProgramRun::PressOk(dialog);
  std::optional<DWORD> code = run.WaitForExit();
  EXPECT_TRUE(code) << "the program did not end after the report";
  if (code) EXPECT_NE(*code, 0u);
  return text;
}

TEST(ExtensionStartUpTest, WithoutTheRuntimeLibraryStartUpEndsWithTheSystemError) {
  ProgramRun run;
  ASSERT_TRUE(DeleteFileW((run.Folder() + L"libcef.dll").c_str()));
  std::u16string report = ErrorReportOf(run);
  // 126 is the system's code for a module that was not found.
  EXPECT_TRUE(report.starts_with(u"System Error.  Code: 126.\r\n")) << ::testing::PrintToString(report);
  EXPECT_EQ(run.Trace(), kAbortedStartUp);
}

TEST(ExtensionStartUpTest, ARuntimeLackingAnExportEndsStartUpWithTheVersionError) {
  ProgramRun run;
  ASSERT_TRUE(CopyFileW((TestFolder() + L"libcef_nozip.dll").c_str(), (run.Folder() + L"libcef.dll").c_str(), FALSE));
  EXPECT_EQ(ErrorReportOf(run), u"Invalid CEF Library version");
  EXPECT_EQ(run.Trace(), kAbortedStartUp);
}

}  // namespace
