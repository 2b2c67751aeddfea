#pragma once
// Services that answer message boxes, program starts and save dialogs for tests, and
// remember what they were asked.

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
    return IDOK;
  }
  void ShellOpen(HWND owner, const std::u16string& verb, const std::u16string& file,
                 const std::u16string& parameters, const std::u16string& directory, int show) override {
    shellCalls.push_back({owner, verb, file, parameters, directory, show});
  }
  bool RunSaveDialog(HWND owner, ui::SaveDialogRequest& request) override {
    saveDialogs.push_back(request);
    if (!confirmSave) return false;
    request.fileName = chosenFile;
    return true;
  }

  std::vector<MessageBoxCall> messageBoxes;
  std::vector<ShellCall> shellCalls;
  std::vector<ui::SaveDialogRequest> saveDialogs;
  bool confirmSave = true;
  std::u16string chosenFile = u"C:\\Downloads\\file.bin";

 private:
  ui::ISystemServices* previous_;
};

}  // namespace testing_support
