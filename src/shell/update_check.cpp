#include "shell/update_check.h"

#include <windows.h>

#include "platform/dynamic_library.h"
#include "platform/process.h"
#include "ui/application.h"
#include "ui/system.h"

namespace shell {
namespace {

// Before the title is set the application has none; the program's name stands in.
std::u16string MessageCaption() {
  if (!ui::Application().Title().empty()) return ui::Application().Title();
  return u"QVN";
}

}  // namespace

void CheckForUpdate(const std::u16string& libraryName) {
  int32_t result = 0;
  {
    platform::DynamicLibrary library = platform::DynamicLibrary::Load(libraryName);
    if (!library) {
      ui::System().ShowMessageBox(nullptr, kUnableToLoadDll, MessageCaption(), MB_OK);
    } else {
      using VersionCmp = int32_t(WINAPI*)();
      auto versionCmp = reinterpret_cast<VersionCmp>(library.Symbol(kVersionCompareExport));
      // The error is taken before the library is freed, which may change the last error.
      if (!versionCmp) platform::RaiseOSError(platform::LastOSError());
      result = versionCmp();
    }
  }  // the library is freed here, before the answer is looked at
  if (result != kNewerVersionExists) return;
  ui::System().ShellOpen(ui::Application().Handle(), u"Open", platform::ExecutableFolder() + kUpdaterProgram,
                            kUpdaterParameter, u"", SW_SHOWNORMAL);
  PostQuitMessage(0);
}

}  // namespace shell
