// When scripts run: a committed page's inline scripts, the program's execute_java_script,
// the page's handler attributes when a user's event reaches them, and the end of a page's
// context.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "browsers.h"
#include "html.h"
#include "scripts.h"
#include "v8_contexts.h"

namespace standin::script {
namespace {

struct InlineScript {
  std::u16string code;
  int32_t line = 1;
};

// Script types a browser runs; no type at all is JavaScript too.
bool IsJavaScript(const std::u16string* type) {
  if (!type || type->empty()) return true;
  std::u16string t = *type;
  for (char16_t& c : t)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  for (std::u16string_view known : {u"text/javascript", u"application/javascript", u"application/x-javascript",
                                    u"text/ecmascript", u"application/ecmascript"})
    if (t == known) return true;
  return false;
}

std::u16string ScriptText(const html::Node& script) {
  std::u16string text;
  for (const auto& child : script.children)
    if (child->IsText()) text += child->value;
  return text;
}

// The source with its line ends made single line feeds, as the parser sees it.
std::u16string LineFeeds(std::u16string_view source) {
  std::u16string out;
  out.reserve(source.size());
  for (size_t i = 0; i < source.size(); ++i) {
    if (source[i] != u'\r') out.push_back(source[i]);
    else if (i + 1 >= source.size() || source[i + 1] != u'\n') out.push_back(u'\n');
  }
  return out;
}

// The page's inline scripts in document order, each with the line of the page on which
// its text begins (found by searching the source onwards from the previous script).
std::vector<InlineScript> InlineScripts(const Page& page) {
  std::vector<InlineScript> scripts;
  if (!page.document || !page.document->root) return scripts;
  std::u16string source = LineFeeds(page.source);
  size_t from = 0;
  for (html::Node* element : html::ElementsByTag(*page.document->root, u"script")) {
    if (element->Attribute(u"src") || !IsJavaScript(element->Attribute(u"type"))) continue;
    InlineScript script{ScriptText(*element), 1};
    size_t at = script.code.empty() ? std::u16string::npos : source.find(script.code, from);
    if (at != std::u16string::npos) {
      script.line = 1 + static_cast<int32_t>(std::count(source.begin(), source.begin() + static_cast<ptrdiff_t>(at), u'\n'));
      from = at + script.code.size();
    }
    scripts.push_back(std::move(script));
  }
  return scripts;
}

// Event types that can stand in a handler attribute's name and a script's string.
bool PlainType(std::u16string_view type) {
  if (type.empty()) return false;
  for (char16_t c : type)
    if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))) return false;
  return true;
}

// A handler attribute's code as the body of a function of event, called with an event
// whose preventDefault marks it; the program's value tells whether the default was
// cancelled. The code starts on the program's first line, so errors keep its lines.
std::u16string HandlerProgram(std::u16string_view code, std::u16string_view type) {
  std::u16string program = u"(function () { var event = {type: '";
  program += type;
  program += u"', defaultPrevented: false, preventDefault: function () { this.defaultPrevented = true; }}; ";
  program += u"var answer = (function (event) {";
  program += code;
  program += u"\n}).call(null, event); return event.defaultPrevented || answer === false; })()";
  return program;
}

}  // namespace

void RunPageScripts(Browser&, Frame& frame) {
  ObjRef<ScriptContext> context = ContextOf(frame, true);
  if (!context) return;
  std::u16string url = frame.page.url;
  for (const InlineScript& script : InlineScripts(frame.page)) {
    // A native function may close the browser or replace the page: later scripts then never run.
    if (!context->attached()) break;
    if (!script.code.empty()) context->Run(script.code, url, script.line);
  }
}

void RunFrameScript(Frame& frame, const ScriptRecord& script) {
  if (ObjRef<ScriptContext> context = ContextOf(frame, true))
    context->Run(script.code, script.url.empty() ? frame.page.url : script.url, script.line);
}

bool RunHandlerAttributes(Frame& frame, html::Node& target, std::u16string_view type) {
  if (!PlainType(type)) return false;
  std::u16string attribute = u"on" + std::u16string(type);
  // Held so that the nodes stay valid while handlers change the tree.
  std::shared_ptr<dom::DocumentState> document = frame.page.document;
  bool cancelled = false;
  for (html::Node* node = &target; node; node = node->parent) {
    if (!frame.browser() || frame.page.document != document) break;
    const std::u16string* code = node->IsElement() ? node->Attribute(attribute) : nullptr;
    if (!code) continue;
    ObjRef<ScriptContext> context = ContextOf(frame, true);
    if (!context) break;
    Outcome outcome = context->Run(HandlerProgram(*code, type), frame.page.url, 1);
    cancelled = cancelled || (outcome.ok && outcome.text == u"true");
  }
  return cancelled;
}

void PageLeaving(Frame& frame) noexcept {
  // Without a heap there are no contexts (and at unload the contexts' list may be gone).
  if (!HeapAlive()) return;
  if (ObjRef<ScriptContext> context = ContextOf(frame, false)) context->Detach();
}

void Shutdown() noexcept { DestroyHeap(); }

}  // namespace standin::script
