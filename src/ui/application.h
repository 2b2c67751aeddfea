#pragma once
// The application object: COM for the main thread, the title, the forms it owns, and the
// message loop with its message and idle hooks and its default error report.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/component.h"
#include "ui/hooks.h"

namespace ui {

class TForm;

// What a turn of the loop that finds no message does after the idle hooks.
enum class WhenIdle {
  Wait,    // sleeps until the next message, unless a hook asked for another turn
  Return,  // returns at once
};

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  // Makes the application's window and initialises COM for the main thread as a
  // single-threaded apartment.
  void Initialize();
  // Uninitialises COM again; the program does it last, after every module is gone.
  void UninitializeCom() noexcept;

  const std::u16string& Title() const { return title_; }
  void SetTitle(const std::u16string& title);
  // The main window has its own taskbar button rather than the application's hidden window.
  bool mainFormOnTaskBar = false;

  // Creates a form owned by the application; the first one becomes the main form.
  template <class T>
  T* CreateForm() {
    T* form = CreateOwned<T>();
    if (!mainForm_) mainForm_ = form;
    return form;
  }
  TForm* MainForm() const { return mainForm_; }
  // Destroys every form, the main form last.
  void DestroyForms() noexcept;

  // Runs the loop until a quit request arrives.
  void Run();
  // One turn: takes and handles one message, or runs the idle hooks when there is none.
  // Answers false once the quit request has been taken.
  bool ProcessTurn(WhenIdle whenIdle);
  // Asks the loop to end (posts the quit request).
  void Terminate();
  bool Terminated() const { return terminated_; }

  // Whether the message the system is dispatching now was taken by this loop, rather than
  // by a modal loop running inside one of its messages (a message box, a menu, a move).
  bool DispatchingOwn(HWND window, UINT message, WPARAM wParam) const noexcept;

  void AddMessageHook(IMessageHook* hook) { messageHooks_.Add(hook); }
  void RemoveMessageHook(IMessageHook* hook) { messageHooks_.Remove(hook); }
  void AddIdleHook(IIdleHook* hook) { idleHooks_.Add(hook); }
  void RemoveIdleHook(IIdleHook* hook) { idleHooks_.Remove(hook); }

  // Reports the exception in flight (call from a catch block): through OnException when
  // set, otherwise by the default error report, a message box with the exception's text.
  void HandleException() noexcept;
  std::function<void(const std::u16string& message)> OnException;
  // The application's error report of one message: OnException when set, else the box.
  void ReportError(const std::u16string& message);
  void ShowException(const std::u16string& message);

  // The application's own hidden window, owner of what the application shows before its
  // main window exists.
  HWND Handle();

 private:
  std::u16string title_;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  bool comInitialized_ = false;
  HWND handle_ = nullptr;
  const MSG* dispatching_ = nullptr;  // the message this loop is dispatching, innermost turn
  HookList<IMessageHook> messageHooks_;
  HookList<IIdleHook> idleHooks_;
};

// The program's application object.
TApplication& Application();

}  // namespace ui
