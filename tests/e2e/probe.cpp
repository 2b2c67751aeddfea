// A helper of the end-to-end run: reads where windows are, as a person reads the screen,
// so that the run can aim its mouse; and holds a file open the way another program would.
//   e2e_probe rect CLASS [TEXT]    screen rectangle "left top width height" of the first
//                                  visible window of that class (and text), top-level or child
//   e2e_probe text CLASS [CHILD]   that window's text, or that of its first child of class CHILD
//   e2e_probe hold PATH SECONDS    opens PATH without sharing and keeps it open

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
  std::wstring className;
  std::wstring text;
  bool anyText;
  HWND found = nullptr;
};

bool Matches(HWND w, const Search& s) {
  wchar_t name[256] = {}, text[1024] = {};
  GetClassNameW(w, name, 256);
  if (s.className != name || !IsWindowVisible(w)) return false;
  if (s.anyText) return true;
  GetWindowTextW(w, text, 1024);
  return s.text == text;
}

BOOL CALLBACK Visit(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  if (Matches(w, *s)) {
    s->found = w;
    return FALSE;
  }
  EnumChildWindows(w, &Visit, lp);
  return s->found ? FALSE : TRUE;
}

HWND Find(const wchar_t* className, const wchar_t* text) {
  Search s{className, text ? text : L"", text == nullptr};
  EnumWindows(&Visit, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

void PrintUtf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fputc('\n', stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 3 && std::wstring(argv[1]) == L"rect") {
    HWND w = Find(argv[2], argc >= 4 ? argv[3] : nullptr);
    if (!w) return 1;
    RECT r;
    GetWindowRect(w, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
  }
  if (argc >= 3 && std::wstring(argv[1]) == L"text") {
    HWND w = Find(argv[2], nullptr);
    if (w && argc >= 4) w = FindWindowExW(w, nullptr, argv[3], nullptr);
    if (!w) return 1;
    // Asked of the window itself: across processes GetWindowText answers only the caption
    // the window was made with, never what was typed into a text box.
    wchar_t text[2048] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied))
      return 1;
    PrintUtf8(text);
    return 0;
  }
  if (argc >= 4 && std::wstring(argv[1]) == L"hold") {
    HANDLE file = CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::printf("holding\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(_wtoi(argv[3]) * 1000));
    CloseHandle(file);
    return 0;
  }
  std::fprintf(stderr, "usage: e2e_probe rect CLASS [TEXT] | text CLASS [CHILD] | hold PATH SECONDS\n");
  return 2;
}
