#include "shell/extension.h"

#include <windows.h>

#include <optional>

#include "cef/ceflib/extension.h"
#include "cef/ceflib/v8_context.h"
#include "platform/text.h"
#include "shell/config.h"
#include "shell/portal_launcher.h"
#include "shell/trace.h"
#include "shell/untrusted.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/system.h"

namespace shell {

using cef::ICefv8Value;
using cef::Ref;
using cef::TCefv8ValueArray;
using cef::TCefv8ValueRef;

// The page sees exactly this text; it is kept as one line, written here a statement per
// source line for reading.
const std::u16string_view kExtensionScript =
    u"var cef;"
    u"if (!cef)"
    u"  cef = {};"
    u"if (!cef.app)"
    u"  cef.app = {};"
    u"(function() {"
    u"  cef.app.__defineGetter__('test_param', function() {"
    u"    native function GetTestParam();"
    u"    return GetTestParam();"
    u"  });"
    u"  cef.app.__defineSetter__('test_param', function(b) {"
    u"    native function SetTestParam();"
    u"    if(b) SetTestParam(b);"
    u"  });"
    u"  cef.app.open_bidview = function(b) {"
    u"    native function OpenBidView();"
    u"    if(b) OpenBidView(b);"
    u"  };"
    u"  cef.app.open_sucview = function(b) {"
    u"    native function OpenSucView();"
    u"    if(b) OpenSucView(b);"
    u"  };"
    u"  cef.app.test_object = function() {"
    u"    native function GetTestObject();"
    u"    return GetTestObject();"
    u"  };"
    u"  cef.app.go_g2b = function(a,b) {"
    u"    native function GoG2b();"
    u"    if (a && b) GoG2b(a,b);"
    u"  };"
    u"  cef.app.open_home = function() {"
    u"    native function OpenHome();"
    u"    OpenHome();"
    u"  };"
    u"})();";

namespace {

constexpr char16_t kObjectParam[] = u"Retrieving a parameter on a native object succeeded.";
constexpr char16_t kObjectMessage[] = u"Calling a function on a native object succeeded.";
// How much of a dropped shell target the trace keeps.
constexpr size_t kDroppedShown = 200;

// The script calls each native function only with the arguments it reads; a missing one
// reads as the empty string rather than reaching past the list.
std::u16string StringArgument(const TCefv8ValueArray& arguments, size_t index) {
  if (index >= arguments.size() || !arguments[index]) return u"";
  return arguments[index]->GetStringValue();
}

// The start of a page's text as one trace line: control characters (line breaks among
// them) become '?'.
std::string TraceText(std::u16string_view text) {
  std::u16string shown(text.substr(0, kDroppedShown));
  for (char16_t& c : shown)
    if (c < 0x20 || c == 0x7F) c = u'?';
  return platform::Utf16ToUtf8(shown);
}

// The address of the page whose script is running now; empty when there is none.
std::u16string CallingPageAddress() {
  Ref<cef::ICefv8Context> context = cef::TCefv8ContextRef::Current();
  if (!context) return u"";
  Ref<cef::ICefFrame> frame = context->GetFrame();
  return frame ? frame->GetUrl() : u"";
}

// Any page the browser reaches, also a foreign one that a link led to, has `cef.app`. Only
// the service's own pages may make the program open or drive anything: whatever another
// page asks for is quietly dropped, and the page learns nothing from the answer. In a frame
// or a pop-up, the address of the page whose script calls decides.
bool CalledFromServicePage() { return IsServiceAddress(CallingPageAddress()); }

HWND MainWindowHandle() {
  ui::TForm* form = ui::Application().MainForm();
  return form && form->HandleAllocated() ? form->Handle() : nullptr;
}

}  // namespace

bool TExtension::Execute(const std::u16string& name, const Ref<ICefv8Value>&, const TCefv8ValueArray& arguments,
                         Ref<ICefv8Value>& retval, std::u16string&) {
  using Native = bool (TExtension::*)(const TCefv8ValueArray&, Ref<ICefv8Value>&);
  struct Entry {
    std::u16string_view name;
    Native run;
  };
  // Looked up in this order; the first name that matches runs.
  static constexpr Entry kNatives[] = {
      {u"SetTestParam", &TExtension::SetTestParam}, {u"GetTestParam", &TExtension::GetTestParam},
      {u"GetTestObject", &TExtension::GetTestObject}, {u"GetMessage", &TExtension::ObjectMessage},
      {u"OpenBidView", &TExtension::OpenView},       {u"OpenSucView", &TExtension::OpenView},
      {u"OpenHome", &TExtension::OpenHome},           {u"GoG2b", &TExtension::GoG2b},
  };
  for (const Entry& entry : kNatives)
    if (entry.name == name) return (this->*entry.run)(arguments, retval);
  return false;
}

bool TExtension::SetTestParam(const TCefv8ValueArray& arguments, Ref<ICefv8Value>&) {
  if (arguments.size() != 1 || !arguments[0] || !arguments[0]->IsString()) return false;
  FTestParam = arguments[0]->GetStringValue();
  return true;
}

bool TExtension::GetTestParam(const TCefv8ValueArray&, Ref<ICefv8Value>& retval) {
  retval = TCefv8ValueRef::CreateString(FTestParam);
  return true;
}

bool TExtension::GetTestObject(const TCefv8ValueArray&, Ref<ICefv8Value>& retval) {
  Ref<ICefv8Value> object = TCefv8ValueRef::CreateObject(nullptr);
  if (object) {
    object->SetValueByKey(u"param", TCefv8ValueRef::CreateString(kObjectParam));
    // The object's function calls back into this same handler.
    object->SetValueByKey(u"GetMessage",
                          TCefv8ValueRef::CreateFunction(u"GetMessage", Ref<cef::ICefv8Handler>::Retain(this)));
  }
  retval = object;
  return true;
}

bool TExtension::ObjectMessage(const TCefv8ValueArray&, Ref<ICefv8Value>& retval) {
  retval = TCefv8ValueRef::CreateString(kObjectMessage);
  return true;
}

bool TExtension::OpenView(const TCefv8ValueArray& arguments, Ref<ICefv8Value>&) {
  if (!CalledFromServicePage()) return true;
  // The service's pages open web addresses; anything else (a path, a share, another
  // scheme's handler) would run a program on the user's machine, and is dropped.
  std::u16string target = StringArgument(arguments, 0);
  if (std::optional<std::u16string> address = WebAddressToOpen(target))
    ShellOpen(*address);
  else
    Trace("shell target dropped: " + TraceText(target));
  return true;
}

bool TExtension::OpenHome(const TCefv8ValueArray&, Ref<ICefv8Value>&) {
  if (CalledFromServicePage()) OpenHomePage();
  return true;
}

bool TExtension::GoG2b(const TCefv8ValueArray& arguments, Ref<ICefv8Value>&) {
  if (CalledFromServicePage()) OpenG2bBidList(StringArgument(arguments, 0), StringArgument(arguments, 1));
  return true;
}

void ShellOpen(const std::u16string& target) {
  ui::System().ShellOpen(MainWindowHandle(), u"Open", target, u"", u"", SW_SHOW);
}

void OpenHomePage() { ShellOpen(std::u16string(ServiceScheme) + u"://" + ServiceHost); }

void RegisterExtension() {
  auto handler = base::MakeRef<TExtension>();
  // The runtime's reference keeps the handler alive; ours goes at the end of this step.
  cef::CefRegisterExtension(kExtensionName, std::u16string(kExtensionScript), handler);
}

}  // namespace shell
