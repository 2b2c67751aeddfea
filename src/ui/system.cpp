#include "ui/system.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <algorithm>
#include <vector>

#include "base/ref.h"
#include "platform/stream.h"
#include "platform/text.h"

namespace ui {
namespace {

// CLSID_TaskbarList, spelled out to need no GUID library.
constexpr CLSID kTaskbarList = {0x56FDF344, 0xFD6D, 0x11D0, {0x95, 0x8A, 0x00, 0x60, 0x97, 0xC9, 0xA0, 0x90}};

// The system's attachment service and its interface, spelled out likewise.
constexpr CLSID kAttachmentServices = {0x4125DD96, 0xE03A, 0x4103, {0x8F, 0x70, 0xE0, 0x59, 0x7D, 0x80, 0x3B, 0x9C}};
constexpr IID kIidAttachmentExecute = {0x73DB1241, 0x1E85, 0x4581, {0x8E, 0x4F, 0xA8, 0x1E, 0x1D, 0x0F, 0x8C, 0x57}};
// The program's own identity towards that service, which keeps per-client settings by it.
constexpr GUID kAttachmentClient = {0x610BA8E0, 0xE050, 0x4238, {0x8E, 0x18, 0xE9, 0x3F, 0xDD, 0x7D, 0x1F, 0xC2}};

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

  DWORD WriteZoneIdentifier(const std::u16string& path, const std::string& text) override {
    platform::FileHandle stream = platform::file_io::Create(path + u":Zone.Identifier", platform::fmCreate);
    if (!stream) return GetLastError();
    int32_t size = static_cast<int32_t>(text.size());
    if (platform::file_io::Write(stream.get(), text.data(), size) == size) return 0;
    DWORD error = GetLastError();
    return error ? error : ERROR_WRITE_FAULT;
  }

  AttachmentVerdict SaveAttachment(const std::u16string& path, const std::u16string& source) override {
    IAttachmentExecute* created = nullptr;
    if (FAILED(CoCreateInstance(kAttachmentServices, nullptr, CLSCTX_INPROC_SERVER, kIidAttachmentExecute,
                                reinterpret_cast<void**>(&created))))
      return AttachmentVerdict::Unavailable;
    auto service = base::Ref<IAttachmentExecute>::Adopt(created);
    if (FAILED(service->SetClientGuid(kAttachmentClient)) || FAILED(service->SetLocalPath(platform::AsWide(path))) ||
        FAILED(service->SetSource(platform::AsWide(source))))
      return AttachmentVerdict::Unavailable;
    // A refusal, or a scanner that took the file away, leaves nothing the user may open.
    if (FAILED(service->Save()) || GetFileAttributesW(platform::AsWide(path)) == INVALID_FILE_ATTRIBUTES)
      return AttachmentVerdict::Removed;
    return AttachmentVerdict::Kept;
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
