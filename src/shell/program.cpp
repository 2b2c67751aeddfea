#include "shell/program.h"

#include "cef/ceflib/guard.h"
#include "cef/ceflib/loader.h"
#include "cef/cefvcl/pump.h"
#include "platform/process.h"
#include "shell/extension.h"
#include "shell/main_form.h"
#include "shell/modules.h"
#include "shell/trace.h"
#include "shell/update_check.h"
#include "ui/application.h"
#include "ui/picture.h"

namespace shell {
namespace {

constexpr char16_t kApplicationTitle[] = u"QVN 분석서비스";

// The shell's own start-up step, after every module it builds on.
void ShellInitialization() {
  CheckForUpdate();
  // The browser cache lives beside the executable. This and what follows run even when
  // the update check has asked the application to end.
  cef::CefCache = platform::ExecutableFolder() + u"cache";
  Trace("cache directory set");
  // Being the first call into the runtime, the registration loads the runtime with the
  // cache directory set above; a runtime that cannot be loaded ends start-up here.
  RegisterExtension();
  Trace("extension registered");
}

void StartModules(ModuleList& modules) {
  modules.Start({"ceflib", cef::CefLibInitialization, cef::CefLibFinalization});
  // The message pump hooks the application loop before anything else can create a browser.
  modules.Start({"cefvcl", cef::CefVclInitialization, cef::CefVclFinalization});
  modules.Start({"pictures", ui::RegisterGdiplusPictureFormats, ui::UnregisterGdiplusPictureFormats});
  modules.Start({"shell", ShellInitialization, nullptr});
}

}  // namespace

int RunProgram() {
  ui::TApplication& app = ui::Application();
  // From the first runtime callback to the last, which may come while the runtime shuts
  // down, a failure inside one reaches the user; standard error is not seen by a windowed
  // program.
  cef::CallbackErrorReportScope callbackReport(cef::ApplicationErrorReport());
  int exitCode = 0;
  {
    ModuleList modules;
    try {
      StartModules(modules);
      app.Initialize();
      app.mainFormOnTaskBar = true;
      app.SetTitle(kApplicationTitle);
      app.CreateForm<TMainForm>();
      Trace("loop runs");
      app.Run();
      Trace("loop ended");
    } catch (...) {
      // A failed start-up ends with the error report; what had started is still finalised.
      app.HandleException();
      exitCode = 1;
    }
    app.DestroyForms();
    Trace("main window destroyed");
  }  // the modules are finalised here, in reverse order
  app.UninitializeCom();
  Trace("com uninitialised");
  return exitCode;
}

}  // namespace shell
