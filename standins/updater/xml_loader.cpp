// Stands in for the updater library. VersionCmp answers the number written in
// "XmlLoader.answer" beside the library, or 0 when there is no such file, so that tests
// choose the answer without touching the program.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

std::wstring Folder() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&Folder), &self);
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
  std::wstring full(path, n);
  return full.substr(0, full.find_last_of(L"\\/") + 1);
}

}  // namespace

#ifndef XMLLOADER_WITHOUT_VERSIONCMP
extern "C" __declspec(dllexport) int32_t WINAPI VersionCmp() {
  FILE* file = _wfopen((Folder() + L"XmlLoader.answer").c_str(), L"rb");
  if (!file) return 0;
  int answer = 0;
  if (std::fscanf(file, "%d", &answer) != 1) answer = 0;
  std::fclose(file);
  return answer;
}
#else
// A library of the wrong kind: it loads, but has no VersionCmp.
extern "C" __declspec(dllexport) int32_t WINAPI VersionCompare() { return 0; }
#endif
