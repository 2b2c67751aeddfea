#include "ie/registration.h"

#include <string>
#include <vector>

#include "ie/control.h"
#include "ie/state.h"

namespace iestandin {
namespace {

const wchar_t* const kShellWindowsServerKey =
    L"Software\\Classes\\CLSID\\{9BA05972-F6A8-11CF-A442-00A0C90A8F39}\\InprocServer32";
const wchar_t* const kShellWindowsClassKey = L"Software\\Classes\\CLSID\\{9BA05972-F6A8-11CF-A442-00A0C90A8F39}";
const wchar_t* const kProgId = L"InternetExplorer.Application";
const wchar_t* const kProgIdKey = L"Software\\Classes\\InternetExplorer.Application";

const wchar_t* BrowserClassText() { return reinterpret_cast<const wchar_t*>(IESTANDIN_BROWSER_CLSID_TEXT); }

std::wstring BrowserClassKey() { return std::wstring(L"Software\\Classes\\CLSID\\") + BrowserClassText(); }

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::vector<HKEY> Roots() {
  if (UnderWine()) return {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
  return {HKEY_CURRENT_USER};
}

std::wstring ModulePath() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(Module(), path, MAX_PATH);
  return std::wstring(path, length);
}

HRESULT SetValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY opened = nullptr;
  LSTATUS status = RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr);
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  status = RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(opened);
  return HRESULT_FROM_WIN32(status);
}

HRESULT DeleteTree(HKEY root, const std::wstring& key) {
  LSTATUS status = RegDeleteTreeW(root, key.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
    RegDeleteKeyW(root, key.c_str());
    return S_OK;
  }
  return HRESULT_FROM_WIN32(status);
}

HRESULT RegisterServer(HKEY root, const std::wstring& serverKey) {
  HRESULT result = SetValue(root, serverKey, nullptr, ModulePath());
  if (SUCCEEDED(result)) result = SetValue(root, serverKey, L"ThreadingModel", L"Apartment");
  return result;
}

HRESULT RegisterIn(HKEY root, int32_t parts) {
  HRESULT result = S_OK;
  if (parts & kIEStandinShellWindowsClass) result = RegisterServer(root, kShellWindowsServerKey);
  if (SUCCEEDED(result) && (parts & kIEStandinBrowserClass)) {
    result = SetValue(root, BrowserClassKey(), nullptr, L"Internet Explorer (stand-in)");
    if (SUCCEEDED(result)) result = RegisterServer(root, BrowserClassKey() + L"\\InprocServer32");
    if (SUCCEEDED(result)) result = SetValue(root, BrowserClassKey() + L"\\ProgID", nullptr, kProgId);
  }
  if (SUCCEEDED(result) && (parts & kIEStandinProgId))
    result = SetValue(root, std::wstring(kProgIdKey) + L"\\CLSID", nullptr, BrowserClassText());
  return result;
}

HRESULT UnregisterIn(HKEY root, int32_t parts) {
  HRESULT result = S_OK;
  if (parts & kIEStandinShellWindowsClass) {
    result = DeleteTree(root, kShellWindowsServerKey);
    // The class key is the stand-in's alone among the user's classes; Wine's machine-wide
    // one keeps its other entries.
    if (root == HKEY_CURRENT_USER) RegDeleteKeyW(root, kShellWindowsClassKey);
  }
  if (SUCCEEDED(result) && (parts & kIEStandinBrowserClass)) result = DeleteTree(root, BrowserClassKey());
  if (SUCCEEDED(result) && (parts & kIEStandinProgId)) result = DeleteTree(root, kProgIdKey);
  return result;
}

}  // namespace

const CLSID& BrowserClass() {
  static const CLSID value = [] {
    CLSID parsed{};
    CLSIDFromString(BrowserClassText(), &parsed);
    return parsed;
  }();
  return value;
}

HRESULT Register(int32_t parts) {
  for (HKEY root : Roots()) {
    HRESULT result = RegisterIn(root, parts);
    if (FAILED(result)) return result;
  }
  return S_OK;
}

HRESULT Unregister(int32_t parts) {
  for (HKEY root : Roots()) {
    HRESULT result = UnregisterIn(root, parts);
    if (FAILED(result)) return result;
  }
  return S_OK;
}

}  // namespace iestandin
