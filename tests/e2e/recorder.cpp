// Stands in for the user's browser and document viewer in the end-to-end run: registered
// in the test prefix as the program that opens web addresses and documents, it appends
// what it was asked to open to the file SHELL_RECORDER_LOG names, one line each, and ends.

#include <windows.h>

#include <string>

int wmain() {
  wchar_t path[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"SHELL_RECORDER_LOG", path, MAX_PATH)) return 1;
  // Everything after the program's own name, as the shell passed it.
  std::wstring line = GetCommandLineW();
  size_t start = line[0] == L'"' ? line.find(L'"', 1) + 1 : line.find(L' ');
  line = start == std::wstring::npos || start >= line.size() ? L"" : line.substr(start);
  while (!line.empty() && line.front() == L' ') line.erase(0, 1);
  int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), n, nullptr, nullptr);
  utf8 += "\n";
  HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD done = 0;
  WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &done, nullptr);
  CloseHandle(file);
  return 0;
}
