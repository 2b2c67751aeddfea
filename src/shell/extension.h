#pragma once
// The page scripting extension "v8/app": the `cef.app` object that every page of the
// embedded browser gets, and the native handler behind its functions.

#include <string>
#include <string_view>

#include "cef/ceflib/v8_handler.h"

namespace shell {

inline constexpr char16_t kExtensionName[] = u"v8/app";
// The extension's script: one line that defines the functions of `cef.app`, each calling
// a native function of TExtension.
extern const std::u16string_view kExtensionScript;

// The native functions of `cef.app`, dispatched by name.
class TExtension : public cef::TCefv8HandlerOwn {
 public:
  bool Execute(const std::u16string& name, const cef::Ref<cef::ICefv8Value>& obj,
               const cef::TCefv8ValueArray& arguments, cef::Ref<cef::ICefv8Value>& retval,
               std::u16string& exception) override;

 private:
  bool SetTestParam(const cef::TCefv8ValueArray& arguments, cef::Ref<cef::ICefv8Value>& retval);
  bool GetTestParam(const cef::TCefv8ValueArray& arguments, cef::Ref<cef::ICefv8Value>& retval);
  bool GetTestObject(const cef::TCefv8ValueArray& arguments, cef::Ref<cef::ICefv8Value>& retval);
  bool ObjectMessage(const cef::TCefv8ValueArray& arguments, cef::Ref<cef::ICefv8Value>& retval);
  bool OpenView(const cef::TCefv8ValueArray& arguments, cef::Ref<cef::ICefv8Value>& retval);
  bool OpenHome(const cef::TCefv8ValueArray& arguments, cef::Ref<cef::ICefv8Value>& retval);
  bool GoG2b(const cef::TCefv8ValueArray& arguments, cef::Ref<cef::ICefv8Value>& retval);

  // The value of `cef.app.test_param`, shared by every page for the life of the program.
  std::u16string FTestParam;
};

// Asks the Windows shell to open target with the verb "Open", the main window (when there
// is one) as owner; the shell's answer is not looked at. Callers pass web addresses only.
void ShellOpen(const std::u16string& target);
// Opens the service's home address in the user's own web browser.
void OpenHomePage();

// Creates the extension's handler and registers the extension with the runtime, which
// keeps the handler from then on. Being the first call into the runtime, it loads the
// runtime, and raises when that fails.
void RegisterExtension();

}  // namespace shell
