// A helper of the end-to-end run: reads where windows are, as a person reads the screen,
// so that the run can aim its mouse; and holds a file open the way another program would.
//   e2e_probe serve                answers questions read from standard input, a line each
//                                  (UTF-8, the words separated by tabs), with a line each:
//                                  "= ANSWER", or "-" where there is none. The run polls the
//                                  screen many times a step: one program for all of them, not
//                                  a Wine start each (seconds in the emulated guest).
//       rect CLASS [TEXT]          screen rectangle "left top width height" and handle of the
//                                  first visible window of that class (and text), top-level
//                                  or child
//       text CLASS [CHILD]         that window's text, or that of its first child of class CHILD
//   e2e_probe hold PATH SECONDS    opens PATH without sharing and keeps it open

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

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

std::string Utf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& text) {
  int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

// One question ("rect" or "text" and its words); false where there is no answer.
bool Answer(const std::vector<std::wstring>& words, std::string& answer) {
  if (words.size() >= 2 && words[0] == L"rect") {
    HWND w = Find(words[1].c_str(), words.size() >= 3 ? words[2].c_str() : nullptr);
    if (!w) return false;
    RECT r;
    GetWindowRect(w, &r);
    char line[96];
    std::snprintf(line, sizeof line, "%ld %ld %ld %ld %llu", r.left, r.top, r.right - r.left, r.bottom - r.top,
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(w)));
    answer = line;
    return true;
  }
  if (words.size() >= 2 && words[0] == L"text") {
    HWND w = Find(words[1].c_str(), nullptr);
    if (w && words.size() >= 3) w = FindWindowExW(w, nullptr, words[2].c_str(), nullptr);
    if (!w) return false;
    // Asked of the window itself: across processes GetWindowText answers only the caption
    // the window was made with, never what was typed into a text box.
    wchar_t text[2048] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied))
      return false;
    answer = Utf8(text);
    return true;
  }
  return false;
}

int Serve() {
  std::string line;
  for (int c; (c = std::getchar()) != EOF;) {
    if (c != '\n') {
      line += static_cast<char>(c);
      continue;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::wstring> words;
    for (size_t start = 0;;) {
      size_t tab = line.find('\t', start);
      words.push_back(Wide(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    line.clear();
    std::string answer;
    // An answer is one line: a line end in a window's text would end it early.
    if (Answer(words, answer)) {
      for (char& ch : answer)
        if (ch == '\n' || ch == '\r') ch = ' ';
      std::printf("= %s\n", answer.c_str());
    } else {
      std::printf("-\n");
    }
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 2 && std::wstring(argv[1]) == L"serve") {
    // Bytes as they come: no line-end translation of the questions' UTF-8.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    return Serve();
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
  std::fprintf(stderr, "usage: e2e_probe serve | hold PATH SECONDS\n");
  return 2;
}
