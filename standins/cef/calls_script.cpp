// What page scripts bring to the program: the JS dialogs, and each new script context with
// its global object (JS binding). Page scripts themselves run from here.

#include "browser_events.h"
#include "browsers.h"
#include "client_calls.h"
#include "scripts.h"
#include "v8_contexts.h"
#include "v8_values.h"

namespace standin::events {

using calls::OutString;
using calls::Raise;
using calls::View;

void RunPageScripts(Browser& browser, Frame& frame) { script::RunPageScripts(browser, frame); }

void ScriptExecuted(Browser&, Frame& frame, const ScriptRecord& script) { script::RunFrameScript(frame, script); }

void ScriptContextCreated(Browser& browser, Frame& frame, script::ScriptContext& context) {
  duk_context* thread = context.thread();
  if (!thread) return;
  // The program binds in the new context: it is the current one while the callback runs.
  script::RunningScope scope(&context, thread);
  auto global = [&]() -> TCefv8Value* {
    duk_push_global_object(thread);
    TCefv8Value* value = script::NewValue(thread, -1, context.id());
    duk_pop(thread);
    return value;
  };
  Raise<&TCefJsBindingHandler::on_jsbinding>(browser, frame, global);
}

void ScriptAlert(Browser& browser, Frame& frame, const std::u16string& message) {
  TCefString text = View(message);
  Raise<&TCefJsDialogHandler::on_jsalert>(browser, frame, &text);
}

bool ScriptConfirm(Browser& browser, Frame& frame, const std::u16string& message) {
  TCefString text = View(message);
  TCefBool retval = 0;
  // The script hears the handler's choice only when the handler answered the dialog.
  auto outcome = Raise<&TCefJsDialogHandler::on_jsconfirm>(browser, frame, &text, &retval);
  return outcome.answer && retval;
}

bool ScriptPrompt(Browser& browser, Frame& frame, const std::u16string& message, const std::u16string& defaultText,
                  std::u16string& result) {
  TCefString text = View(message), given = View(defaultText);
  TCefBool retval = 0;
  // Zeroed: the program produces the text.
  OutString entered;
  auto outcome = Raise<&TCefJsDialogHandler::on_jsprompt>(browser, frame, &text, &given, &retval, entered.get());
  if (!outcome.answer || !retval) return false;
  result = entered.Text();
  return true;
}

}  // namespace standin::events
