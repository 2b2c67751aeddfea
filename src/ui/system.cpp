#include "ui/system.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <algorithm>
#include <vector>

#include "base/ref.h"
#include "platform/text.h"

namespace ui {
namespace {

// CLSID_TaskbarList, spelled out to need no GUID library.
constexpr CLSID kTaskbarList = {0x56FDF344, 0xFD6D, 0x11D0, {0x95, 0x8A, 0x00, 0x60, 0x97, 0xC9, 0xA0, 0x90}};

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

  DialogOutcome RunSaveDialog(HWND owner, SaveDialogRequest& request) override {
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
    if (!GetSaveFileNameW(&ofn)) {
      request.error = CommDlgExtendedError();
      return request.error == 0 ? DialogOutcome::Cancelled : DialogOutcome::Failed;
    }
    request.fileName = platform::WideToUtf16(name.data());
    return DialogOutcome::Confirmed;
  }

  void SetTaskbarProgress(HWND window, TaskbarProgress state, uint64_t done, uint64_t total) override {
    // Made when first needed, once the window has its taskbar button; let go with the
    // progress, so that nothing of COM outlives the window.
    if (!taskbar_ && state != TaskbarProgress::None) {
      ITaskbarList3* created = nullptr;
      if (FAILED(CoCreateInstance(kTaskbarList, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskbarList3),
                                  reinterpret_cast<void**>(&created))))
        return;
      taskbar_ = base::Ref<ITaskbarList3>::Adopt(created);
      if (FAILED(taskbar_->HrInit())) taskbar_ = nullptr;
    }
    if (!taskbar_) return;
    static constexpr TBPFLAG kFlags[] = {TBPF_NOPROGRESS, TBPF_INDETERMINATE, TBPF_NORMAL, TBPF_ERROR};
    if (state == TaskbarProgress::Normal || state == TaskbarProgress::Error)
      taskbar_->SetProgressValue(window, done, total);
    taskbar_->SetProgressState(window, kFlags[static_cast<int>(state)]);
    if (state == TaskbarProgress::None) taskbar_ = nullptr;
  }

 private:
  base::Ref<ITaskbarList3> taskbar_;
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
