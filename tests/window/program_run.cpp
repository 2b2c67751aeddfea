#include "window/program_run.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace window_testing {
namespace {

std::wstring ExecutableFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring full(path, n);
  return full.substr(0, full.find_last_of(L"\\/") + 1);
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

template <class Predicate>
bool WaitUntil(std::chrono::milliseconds timeout, Predicate done) {
  auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

struct Search {
  DWORD pid;
  const wchar_t* classPrefix;
  HWND found;
  bool visibleOnly = true;
};

BOOL CALLBACK FindWindowOf(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  wchar_t name[128] = {};
  GetClassNameW(w, name, 128);
  if (pid == s->pid && (!s->visibleOnly || IsWindowVisible(w)) && std::wstring(name).rfind(s->classPrefix, 0) == 0) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

ProgramRun::ProgramRun(Updater updater, std::optional<int> answer) {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  folder_ = std::wstring(temp) + L"qvn-run-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
  CreateDirectoryW(folder_.c_str(), nullptr);
  std::wstring bin = ExecutableFolder();
  for (const wchar_t* file : {L"QvnClient.exe", L"libcef.dll", L"AutoUpdate.exe"})
    CopyFileW((bin + file).c_str(), (folder_ + file).c_str(), FALSE);
  if (updater == Updater::Present) CopyFileW((bin + L"XmlLoader.dll").c_str(), (folder_ + L"XmlLoader.dll").c_str(), FALSE);
  if (updater == Updater::WithoutExport)
    CopyFileW((bin + L"XmlLoader_noexport.dll").c_str(), (folder_ + L"XmlLoader.dll").c_str(), FALSE);
  if (answer) std::ofstream(std::filesystem::path(folder_ + L"XmlLoader.answer")) << *answer;
}

ProgramRun::~ProgramRun() {
  if (process_.hProcess) {
    if (Running()) TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder_ + L"*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder_ + data.cFileName).c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW((folder_ + L"cache").c_str());
  RemoveDirectoryW(folder_.c_str());
}

void ProgramRun::Start(const std::wstring& arguments, const std::wstring& workingDirectory) {
  SetEnvironmentVariableW(L"QVN_TRACE", (folder_ + L"trace.txt").c_str());
  SetEnvironmentVariableW(L"STANDIN_REPORT", (folder_ + L"standin.txt").c_str());
  std::wstring command = L"\"" + folder_ + L"QvnClient.exe\"";
  if (!arguments.empty()) command += L" " + arguments;
  const std::wstring& cwd = workingDirectory.empty() ? folder_ : workingDirectory;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  // Started in its own folder, so that the library search finds only what lies there.
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(), &si, &process_))
    throw std::runtime_error("the program could not be started");
}

HWND ProgramRun::MainWindow() const {
  Search s{process_.dwProcessId, L"TMainForm", nullptr};
  EnumWindows(&FindWindowOf, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::u16string ProgramRun::ApplicationTitle() const {
  // The application's window is hidden: it is looked for by class alone.
  Search s{process_.dwProcessId, L"TApplication", nullptr, false};
  EnumWindows(&FindWindowOf, reinterpret_cast<LPARAM>(&s));
  wchar_t title[128] = {};
  if (s.found) GetWindowTextW(s.found, title, 128);
  return std::u16string(reinterpret_cast<const char16_t*>(title));
}

HWND ProgramRun::WaitForMainWindow(std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  WaitUntil(timeout, [&] { return (found = MainWindow()) != nullptr || !Running(); });
  return found;
}

HWND ProgramRun::WaitForDialog(std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  WaitUntil(timeout, [&] {
    Search s{process_.dwProcessId, L"#32770", nullptr};
    EnumWindows(&FindWindowOf, reinterpret_cast<LPARAM>(&s));
    return (found = s.found) != nullptr || !Running();
  });
  return found;
}

std::u16string ProgramRun::DialogText(HWND dialog) {
  wchar_t text[512] = {};
  GetDlgItemTextW(dialog, 0xFFFF, text, 512);
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

void ProgramRun::PressOk(HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDOK, 0); }

bool ProgramRun::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ProgramRun::WaitForExit(std::chrono::milliseconds timeout) {
  if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

std::vector<std::string> ProgramRun::Trace() const {
  std::vector<std::string> lines;
  std::stringstream text(ReadFile(folder_ + L"trace.txt"));
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

std::string ProgramRun::UpdaterLog() const { return ReadFile(folder_ + L"AutoUpdate.log"); }

std::string ProgramRun::StandinReport() const { return ReadFile(folder_ + L"standin.txt"); }

namespace {
HWND FindDescendant(HWND parent, const wchar_t* className) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[128] = {};
    GetClassNameW(child, name, 128);
    if (std::wstring(name) == className) return child;
    if (HWND found = FindDescendant(child, className)) return found;
  }
  return nullptr;
}
}  // namespace

HWND ProgramRun::BrowserWindow() const {
  HWND main = MainWindow();
  return main ? FindDescendant(main, L"StandinBrowserWindow") : nullptr;
}

std::u16string ProgramRun::BrowserAddress() const {
  HWND browser = BrowserWindow();
  if (!browser) return u"(no browser)";
  wchar_t text[2048] = {};
  GetWindowTextW(browser, text, 2048);
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

HWND ChildAt(HWND parent, int x, int y) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    if (r.left == x && r.top == y) return child;
  }
  return nullptr;
}

void Click(HWND window, int x, int y) {
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

}  // namespace window_testing
