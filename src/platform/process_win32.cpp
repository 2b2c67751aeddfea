#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "platform/errors.h"
#include "platform/process.h"
#include "platform/text.h"

namespace platform {

std::u16string ExecutableFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) RaiseLastOSError();
    if (n < path.size()) {
      std::u16string full(AsUtf16(path.data()), n);
      return full.substr(0, full.find_last_of(u"\\/") + 1);
    }
    path.resize(path.size() * 2);
  }
}

std::u16string EnvironmentVariable(const std::u16string& name) {
  DWORD n = GetEnvironmentVariableW(AsWide(name), nullptr, 0);
  if (n == 0) return {};
  std::vector<wchar_t> value(n);
  n = GetEnvironmentVariableW(AsWide(name), value.data(), n);
  return std::u16string(AsUtf16(value.data()), n);
}

std::vector<std::u16string> CommandLineArguments() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args) RaiseLastOSError();
  std::vector<std::u16string> result;
  for (int i = 1; i < count; ++i) result.emplace_back(AsUtf16(args[i]));
  LocalFree(args);
  return result;
}

}  // namespace platform
