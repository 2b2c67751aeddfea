#include "ui/system.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "platform/text.h"

namespace ui {
namespace {

const wchar_t* OrNull(const std::u16string& text) { return text.empty() ? nullptr : platform::AsWide(text); }

class Win32Services final : public ISystemServices {
 public:
  int ShowMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT flags) override {
    return MessageBoxW(owner, platform::AsWide(text), platform::AsWide(caption), flags);
  }

  void ShellOpen(HWND owner, const std::u16string& verb, const std::u16string& file,
                    const std::u16string& parameters, const std::u16string& directory, int show) override {
    ShellExecuteW(owner, OrNull(verb), platform::AsWide(file), OrNull(parameters), OrNull(directory), show);
  }

  bool RunSaveDialog(HWND owner, SaveDialogRequest& request) override {
    std::vector<wchar_t> name(32768, L'\0');
    std::copy_n(platform::AsWide(request.fileName), std::min<size_t>(request.fileName.size(), name.size() - 1),
                name.begin());
    // The filter is "description|pattern|..." and the dialog wants NUL separators.
    std::u16string filter = request.filter;
    for (char16_t& c : filter)
      if (c == u'|') c = 0;
    filter.push_back(0);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrFilter = request.filter.empty() ? nullptr : platform::AsWide(filter);
    ofn.lpstrTitle = OrNull(request.title);
    ofn.lpstrDefExt = OrNull(request.defaultExt);
    ofn.Flags = OFN_EXPLORER | (request.overwritePrompt ? OFN_OVERWRITEPROMPT : 0) |
                (request.hideReadOnly ? OFN_HIDEREADONLY : 0) | (request.enableSizing ? OFN_ENABLESIZING : 0);
    if (!GetSaveFileNameW(&ofn)) return false;
    request.fileName = platform::WideToUtf16(name.data());
    return true;
  }
};

Win32Services g_win32;
ISystemServices* g_services = &g_win32;

}  // namespace

ISystemServices& System() { return *g_services; }

ISystemServices* SetSystem(ISystemServices* services) {
  ISystemServices* previous = g_services;
  g_services = services ? services : &g_win32;
  return previous;
}

}  // namespace ui
