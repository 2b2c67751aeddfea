#include "ie/browser_window.h"

#include "ie/state.h"

namespace iestandin {
namespace {

constexpr wchar_t kClassName[] = L"IEFrame";
constexpr wchar_t kTitleSuffix[] = L" - Internet Explorer (stand-in)";
// Internet Explorer takes addresses of at most 2083 characters, and its title shows no
// more. A page may send a far longer one (the record keeps it whole), but a title of
// megabytes is more than an X server takes from Wine in one request.
constexpr size_t kLongestTitleAddress = 2083;

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT area;
  GetClientRect(window, &area);
  FillRect(dc, &area, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  wchar_t title[1024];
  int length = GetWindowTextW(window, title, sizeof title / sizeof title[0]);
  InflateRect(&area, -12, -12);
  DrawTextW(dc, title, length, &area, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
  EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        int32_t index = State::Get().IndexOfWindow(window);
        if (index >= 0) State::Get().Record(u"Foreground " + Decimal(index));
      }
      break;
    case WM_NCDESTROY:
      State::Get().WindowGone(window);
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterClassOnce() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = Module();
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.lpszClassName = kClassName;
  registered = RegisterClassExW(&windowClass) != 0;
}

int ShowCommand(IEStandinShow show) {
  switch (show) {
    case kIEStandinShown: return SW_SHOWNOACTIVATE;
    case kIEStandinMinimised: return SW_SHOWMINNOACTIVE;
    default: return SW_HIDE;
  }
}

}  // namespace

HWND CreateBrowserWindow(const std::u16string& address, IEStandinShow show) {
  RegisterClassOnce();
  HWND window = CreateWindowExW(0, kClassName, L"", WS_OVERLAPPEDWINDOW, 40, 40, 640, 360, nullptr, nullptr,
                                Module(), nullptr);
  if (!window) return nullptr;
  ShowAddress(window, address);
  ShowWindow(window, ShowCommand(show));
  return window;
}

void ShowAddress(HWND window, const std::u16string& address) {
  std::u16string title =
      address.substr(0, kLongestTitleAddress) + reinterpret_cast<const char16_t*>(kTitleSuffix);
  SetWindowTextW(window, Wide(title));
  InvalidateRect(window, nullptr, TRUE);
}

}  // namespace iestandin
