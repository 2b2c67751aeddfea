#pragma once
// What blocks or leaves the process goes through these services, so that tests can answer
// a message box, a save dialog or a program start without a person. The production
// binding calls Win32.

#include <windows.h>

#include <cstdint>
#include <string>

namespace ui {

struct SaveDialogRequest {
  std::u16string fileName;  // in: proposed name; out: the chosen full path
  std::u16string title;
  std::u16string filter;
  std::u16string defaultExt;
  bool overwritePrompt = false;
  bool hideReadOnly = true;
  bool enableSizing = true;
  DWORD error = 0;  // out: the dialog's own error code (CommDlgExtendedError) when it failed
};

// How a save dialog ended: a cancel is the user's choice, a failure is not.
enum class DialogOutcome { Confirmed, Cancelled, Failed };

// The taskbar button's progress display.
enum class TaskbarProgress { None, Indeterminate, Normal, Error };

// What the system's attachment service made of a saved download.
enum class AttachmentVerdict { Unavailable, Kept, Removed };

class ISystemServices {
 public:
  virtual ~ISystemServices() = default;
  // A modal message box; answers the button the user pressed (IDOK, ...).
  virtual int ShowMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT flags) = 0;
  // Starts a program or document through the shell; the result is not examined by callers.
  virtual void ShellOpen(HWND owner, const std::u16string& verb, const std::u16string& file,
                            const std::u16string& parameters, const std::u16string& directory, int show) = 0;
  // The modal save dialog; when confirmed, the chosen path is in request.fileName, when it
  // failed, the reason is in request.error.
  virtual DialogOutcome RunSaveDialog(HWND owner, SaveDialogRequest& request) = 0;
  // The progress shown on the window's taskbar button; done and total matter for Normal and
  // Error only.
  virtual void SetTaskbarProgress(HWND window, TaskbarProgress state, uint64_t done, uint64_t total) = 0;
  // Writes text as the file's Zone.Identifier stream; answers 0, or the system's error code
  // (a volume without streams has none to write).
  virtual DWORD WriteZoneIdentifier(const std::u16string& path, const std::string& text) = 0;
  // Hands a saved file from source to the system's attachment service, which lets policy and
  // the virus scanner see it (and may remove it). Unavailable where there is no such service.
  virtual AttachmentVerdict SaveAttachment(const std::u16string& path, const std::u16string& source) = 0;
};

ISystemServices& System();
// Installs other services (tests); null brings the production binding back. Answers the previous.
ISystemServices* SetSystem(ISystemServices* services);

}  // namespace ui
