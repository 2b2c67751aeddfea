#include "shell/trace.h"

#include <windows.h>

#include "platform/process.h"
#include "platform/text.h"

namespace shell {

void Trace(const std::string& line) noexcept {
  try {
    static const std::u16string path = platform::EnvironmentVariable(u"QVN_TRACE");
    if (path.empty()) return;
    HANDLE file = CreateFileW(platform::AsWide(path), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
  } catch (...) {
  }
}

}  // namespace shell
