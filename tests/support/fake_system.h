#pragma once
// Services that answer message boxes, program starts and save dialogs for tests, and
// remember what they were asked, the taskbar's progress and the marks of downloads included.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/system.h"

namespace testing_support {

class FakeSystem : public ui::ISystemServices {
 public:
  struct MessageBoxCall {
    HWND owner;
    std::u16string text;
    std::u16string caption;
    UINT flags;
  };
  struct ShellCall {
    HWND owner;
    std::u16string verb, file, parameters, directory;
    int show;
  };

  FakeSystem() : previous_(ui::SetSystem(this)) {}
  ~FakeSystem() override { ui::SetSystem(previous_); }

  int ShowMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT flags) override {
    messageBoxes.push_back({owner, text, caption, flags});
    // The system's own box, with its modal loop, answered by whoever closes it.
    if (realMessageBoxes)
      return MessageBoxW(owner, reinterpret_cast<const wchar_t*>(text.c_str()),
                         reinterpret_cast<const wchar_t*>(caption.c_str()), flags);
    return messageBoxAnswer;
  }
  void ShellOpen(HWND owner, const std::u16string& verb, const std::u16string& file,
                 const std::u16string& parameters, const std::u16string& directory, int show) override {
    shellCalls.push_back({owner, verb, file, parameters, directory, show});
  }
  ui::DialogOutcome RunSaveDialog(HWND, ui::SaveDialogRequest& request) override {
    saveDialogs.push_back(request);
    if (saveOutcome == ui::DialogOutcome::Failed) request.error = saveError;
    if (saveOutcome == ui::DialogOutcome::Confirmed) request.fileName = chosenFile;
    return saveOutcome;
  }
  void SetTaskbarProgress(HWND window, ui::TaskbarProgress state, uint64_t done, uint64_t total) override {
    taskbar.push_back({window, state, done, total});
  }

  std::vector<MessageBoxCall> messageBoxes;
  int messageBoxAnswer = IDOK;
  bool realMessageBoxes = false;
  std::vector<ShellCall> shellCalls;
  struct TaskbarCall {
    HWND window;
    ui::TaskbarProgress state;
    uint64_t done, total;
  };

  DWORD WriteZoneIdentifier(const std::u16string& path, const std::string& text) override {
    zoneMarks.push_back({path, text});
    return zoneMarkError;
  }
  ui::AttachmentVerdict SaveAttachment(const std::u16string& path, const std::u16string& source) override {
    attachments.push_back({path, source});
    return attachmentVerdict;
  }

  struct ZoneMark {
    std::u16string path;
    std::string text;
  };
  std::vector<ZoneMark> zoneMarks;
  DWORD zoneMarkError = 0;
  struct Attachment {
    std::u16string path, source;
  };
  std::vector<Attachment> attachments;
  ui::AttachmentVerdict attachmentVerdict = ui::AttachmentVerdict::Unavailable;

  std::vector<ui::SaveDialogRequest> saveDialogs;
  std::vector<TaskbarCall> taskbar;
  ui::DialogOutcome saveOutcome = ui::DialogOutcome::Confirmed;
  DWORD saveError = 0;
  std::u16string chosenFile = u"C:\\Downloads\\file.bin";

 private:
  ui::ISystemServices* previous_;
};

}  // namespace testing_support
