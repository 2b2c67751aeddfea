#pragma once
// One run of the real program in a folder of its own, driven from outside as a user
// would: its windows found, its dialogs answered, its screen read.

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "support/screen_shot.h"

namespace window_testing {

enum class Updater { Present, Missing, WithoutExport };

class ProgramRun {
 public:
  // Copies the program, the runtime stand-in and the updater stand-ins (as asked) into
  // a new folder; answer is what the updater library will say.
  explicit ProgramRun(Updater updater = Updater::Present, std::optional<int> answer = std::nullopt);
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  // Starts the program with a command-line tail as given (quoting is the caller's), in
  // its own folder or in workingDirectory.
  void Start(const std::wstring& arguments = L"", const std::wstring& workingDirectory = L"");
  // The program's main window once it is visible, or null after the timeout.
  HWND WaitForMainWindow(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  HWND MainWindow() const;
  // A dialog (message box) of the program, or null after the timeout.
  HWND WaitForDialog(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  static std::u16string DialogText(HWND dialog);
  static void PressOk(HWND dialog);
  // The exit code, or nothing when the program still runs after the timeout.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  bool Running() const;

  // The title of the application's own hidden window.
  std::u16string ApplicationTitle() const;
  std::vector<std::string> Trace() const;
  std::string UpdaterLog() const;
  // The runtime stand-in's report at the program's exit ("clean" when nothing leaked).
  std::string StandinReport() const;
  // The browser's window inside the main window, and the address it shows (its text).
  HWND BrowserWindow() const;
  std::u16string BrowserAddress() const;
  const std::wstring& Folder() const { return folder_; }

 private:
  std::wstring folder_;
  PROCESS_INFORMATION process_{};
};

// The windowed child of a window whose client rectangle starts at (x, y) in the parent.
HWND ChildAt(HWND parent, int x, int y);
// A press and release of the left button at (x, y) in the client area of a window.
void Click(HWND window, int x, int y);

using testing_support::Near;
using testing_support::ScreenShot;

}  // namespace window_testing
