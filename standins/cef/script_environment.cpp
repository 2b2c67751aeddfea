// The small browser environment of a page: window (the global; close() for pop-ups),
// document (title, getElementById and the elements it finds), location (href, assign),
// console and the dialogs. Every native function knows its context by a hidden id, so
// that a function carried into another page still acts on its own.

#include <memory>
#include <string>
#include <vector>

#include "browser_events.h"
#include "browsers.h"
#include "html.h"
#include "v8_contexts.h"

namespace standin::script {
namespace {

// Hidden properties, unreachable from script: a native function's context id, an element's
// tree node, and the prototype getElementById gives its elements.
constexpr const char* kContextKey = DUK_HIDDEN_SYMBOL("standinContext");
constexpr const char* kNodeKey = DUK_HIDDEN_SYMBOL("standinNode");
constexpr const char* kPrototypeKey = DUK_HIDDEN_SYMBOL("standinPrototype");

// The context the running native function belongs to; null once its page has gone.
ScriptContext* OwnContext(duk_context* ctx) {
  duk_push_current_function(ctx);
  duk_get_prop_string(ctx, -1, kContextKey);
  duk_uint_t id = duk_get_uint(ctx, -1);
  duk_pop_2(ctx);
  return ContextById(id);
}

void PushNative(duk_context* c, duk_c_function fn, duk_idx_t nargs, uint32_t id) {
  duk_push_c_function(c, fn, nargs);
  duk_push_uint(c, id);
  duk_put_prop_string(c, -2, kContextKey);
}

void DefineAccessor(duk_context* c, duk_idx_t object, const char* name, duk_c_function get, duk_c_function set,
                    uint32_t id) {
  duk_uint_t flags = DUK_DEFPROP_HAVE_GETTER | DUK_DEFPROP_SET_ENUMERABLE | DUK_DEFPROP_SET_CONFIGURABLE;
  duk_push_string(c, name);
  PushNative(c, get, 0, id);
  if (set) {
    PushNative(c, set, 1, id);
    flags |= DUK_DEFPROP_HAVE_SETTER;
  }
  duk_def_prop(c, object, flags);
}

void DefineMethod(duk_context* c, duk_idx_t object, const char* name, duk_c_function fn, duk_idx_t nargs,
                  uint32_t id) {
  PushNative(c, fn, nargs, id);
  duk_put_prop_string(c, object, name);
}

bool Contains(const html::Node& root, const html::Node* node) {
  if (&root == node) return true;
  for (const auto& child : root.children)
    if (Contains(*child, node)) return true;
  return false;
}

// The tree node of the element object at thisIdx while the node is still in its page's
// tree; null otherwise (the page went, or a script took the node out).
html::Node* ElementOf(duk_context* ctx, ScriptContext* context, duk_idx_t thisIdx) {
  if (!context || !context->document() || !duk_is_object(ctx, thisIdx)) return nullptr;
  duk_get_prop_string(ctx, thisIdx, kNodeKey);
  auto* node = static_cast<html::Node*>(duk_get_pointer(ctx, -1));
  duk_pop(ctx);
  const html::Node* root = context->document()->root.get();
  return node && root && Contains(*root, node) ? node : nullptr;
}

// Replaces the node's children with one text node (none for empty text). The old children
// move to the document's removed nodes, so that node objects over them stay valid.
void ReplaceChildren(dom::DocumentState& state, html::Node& node, const std::u16string& text) {
  for (std::unique_ptr<html::Node>& child : node.children) {
    child->parent = nullptr;
    state.removed.push_back(std::move(child));
  }
  node.children.clear();
  if (text.empty()) return;
  auto child = std::make_unique<html::Node>();
  child->type = html::NodeType::Text;
  child->name = u"#text";
  child->value = text;
  node.Append(std::move(child));
}

// The page's visible text follows its tree.
void PageChanged(ScriptContext& context) {
  Frame* frame = context.frame();
  frame->page.text = html::InnerText(*context.document()->root);
  if (Browser* browser = context.browser()) browser->Repaint();
}

// The first argument as String() gives it; empty when there is none.
std::u16string Argument(duk_context* ctx, duk_idx_t idx) {
  return idx < duk_get_top(ctx) ? StringOf(ctx, idx) : std::u16string();
}

// ----- document -----

duk_ret_t DocumentTitle(duk_context* ctx) {
  ScriptContext* context = OwnContext(ctx);
  if (context && context->frame()) PushText(ctx, context->frame()->page.title);
  else duk_push_string(ctx, "");
  return 1;
}

void SetTitle(duk_context* ctx) {
  ScriptContext* context = OwnContext(ctx);
  if (!context || !context->browser() || !context->document()->root) return;
  std::u16string text = Argument(ctx, 0);
  html::Node& root = *context->document()->root;
  std::vector<html::Node*> titles = html::ElementsByTag(root, u"title");
  html::Node* title = titles.empty() ? nullptr : titles.front();
  if (!title) {
    html::Node* head = html::Head(root);
    if (!head) return;
    auto element = std::make_unique<html::Node>();
    element->name = u"title";
    title = head->Append(std::move(element));
  }
  ReplaceChildren(*context->document(), *title, text);
  Frame& frame = *context->frame();
  frame.page.title = html::Title(root);
  if (frame.is_main()) events::TitleChanged(*context->browser(), frame);
}

duk_ret_t DocumentSetTitle(duk_context* ctx) {
  SetTitle(ctx);
  return 0;
}

// Stack: [id, the function, the element prototype]. Pushes the element object or null.
void FindElement(duk_context* ctx) {
  ScriptContext* context = OwnContext(ctx);
  const html::Node* root = context && context->document() ? context->document()->root.get() : nullptr;
  html::Node* node = root ? html::ElementById(*root, Argument(ctx, 0)) : nullptr;
  if (!node) {
    duk_push_null(ctx);
    return;
  }
  duk_push_object(ctx);
  duk_dup(ctx, 2);
  duk_set_prototype(ctx, -2);
  duk_push_pointer(ctx, node);
  duk_put_prop_string(ctx, -2, kNodeKey);
}

duk_ret_t GetElementById(duk_context* ctx) {
  duk_set_top(ctx, 1);
  duk_push_current_function(ctx);
  duk_get_prop_string(ctx, 1, kPrototypeKey);
  FindElement(ctx);
  return 1;
}

// ----- elements -----

void PushInnerText(duk_context* ctx) {
  html::Node* node = ElementOf(ctx, OwnContext(ctx), 0);
  if (node) PushText(ctx, html::InnerText(*node));
  else duk_push_undefined(ctx);
}

duk_ret_t ElementInnerText(duk_context* ctx) {
  duk_push_this(ctx);
  PushInnerText(ctx);
  return 1;
}

void SetInnerText(duk_context* ctx) {
  ScriptContext* context = OwnContext(ctx);
  html::Node* node = ElementOf(ctx, context, 1);
  if (!node) return;
  ReplaceChildren(*context->document(), *node, Argument(ctx, 0));
  PageChanged(*context);
}

duk_ret_t ElementSetInnerText(duk_context* ctx) {
  duk_set_top(ctx, 1);
  duk_push_this(ctx);
  SetInnerText(ctx);
  return 0;
}

// Pushes the named attribute of the element at 0: null (or "" when not nullWhenMissing)
// when it has none.
void PushAttribute(duk_context* ctx, std::u16string_view name, bool nullWhenMissing) {
  html::Node* node = ElementOf(ctx, OwnContext(ctx), 0);
  const std::u16string* value = node ? node->Attribute(name) : nullptr;
  if (value) PushText(ctx, *value);
  else if (nullWhenMissing) duk_push_null(ctx);
  else duk_push_string(ctx, "");
}

duk_ret_t ElementId(duk_context* ctx) {
  duk_push_this(ctx);
  PushAttribute(ctx, u"id", false);
  return 1;
}

void PushTagName(duk_context* ctx) {
  html::Node* node = ElementOf(ctx, OwnContext(ctx), 0);
  std::u16string tag = node ? node->name : std::u16string();
  for (char16_t& c : tag)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  PushText(ctx, tag);
}

duk_ret_t ElementTagName(duk_context* ctx) {
  duk_push_this(ctx);
  PushTagName(ctx);
  return 1;
}

void PushNamedAttribute(duk_context* ctx) { PushAttribute(ctx, Argument(ctx, 1), true); }

duk_ret_t ElementGetAttribute(duk_context* ctx) {
  duk_set_top(ctx, 1);
  duk_push_this(ctx);
  duk_swap(ctx, 0, 1);
  PushNamedAttribute(ctx);
  return 1;
}

// ----- location -----

duk_ret_t LocationHref(duk_context* ctx) {
  ScriptContext* context = OwnContext(ctx);
  if (context && context->frame()) PushText(ctx, context->frame()->page.url);
  else duk_push_string(ctx, "");
  return 1;
}

// Navigates the frame to the address at 0, resolved against the page's, as a link does.
void Navigate(duk_context* ctx) {
  ScriptContext* context = OwnContext(ctx);
  if (!context || !context->browser()) return;
  Frame& frame = *context->frame();
  std::string resolved = net::ResolveUrl(ToUtf8(frame.page.url), ToUtf8(Argument(ctx, 0)));
  LoadParams params;
  params.url = NormalizeAddress(FromUtf8(resolved));
  if (!params.url.empty()) StartLoad(frame, std::move(params), NavigationKind::New);
}

duk_ret_t LocationAssign(duk_context* ctx) {
  duk_set_top(ctx, 1);
  Navigate(ctx);
  return 0;
}

// ----- console and dialogs -----

// The caller's script address and line, pushed as [url, line].
void PushCallerPlace(duk_context* ctx) {
  duk_inspect_callstack_entry(ctx, -2);
  if (!duk_is_object(ctx, -1)) {
    duk_pop(ctx);
    duk_push_undefined(ctx);
    duk_push_undefined(ctx);
    return;
  }
  duk_get_prop_string(ctx, -1, "function");
  duk_get_prop_string(ctx, -1, "fileName");
  duk_remove(ctx, -2);
  duk_get_prop_string(ctx, -2, "lineNumber");
  duk_remove(ctx, -3);
}

// Stack: [message, url, line].
void RecordConsole(duk_context* ctx) {
  ConsoleMessage message{TextAt(ctx, 0), TextAt(ctx, 1), duk_get_int(ctx, 2)};
  TheRecords().console.push_back(message);
  ScriptContext* context = OwnContext(ctx);
  if (context && context->browser())
    events::ConsoleMessage(*context->browser(), message.message, message.url, message.line);
}

duk_ret_t ConsoleLog(duk_context* ctx) {
  // The arguments as String() gives them, joined by blanks.
  duk_idx_t count = duk_get_top(ctx);
  duk_push_string(ctx, " ");
  duk_insert(ctx, 0);
  for (duk_idx_t i = 1; i <= count; ++i) duk_safe_to_string(ctx, i);
  duk_join(ctx, count);
  PushCallerPlace(ctx);
  RecordConsole(ctx);
  return 0;
}

// Records a dialog call with its arguments (as String() gives them) and asks the browser's
// hook for the answer, which it pushes.
void Dialog(duk_context* ctx, const char* kind) {
  DialogCall call{kind, {}};
  for (duk_idx_t i = 0, n = duk_get_top(ctx); i < n; ++i) call.arguments.push_back(StringOf(ctx, i));
  TheRecords().dialogs.push_back(call);
  std::vector<std::u16string> a = call.arguments;
  a.resize(3);
  ScriptContext* context = OwnContext(ctx);
  Browser* browser = context ? context->browser() : nullptr;
  std::u16string text;
  std::string_view k = kind;
  if (k == "alert") {
    if (browser) events::ScriptAlert(*browser, *context->frame(), a[0]);
    duk_push_undefined(ctx);
  } else if (k == "confirm") {
    duk_push_boolean(ctx, browser && events::ScriptConfirm(*browser, *context->frame(), a[0]));
  } else if (k == "prompt" && browser && events::ScriptPrompt(*browser, *context->frame(), a[0], a[1], text)) {
    PushText(ctx, text);
  } else if (k == "open" && browser) {
    events::ScriptOpenWindow(*browser, *context->frame(), a[0], a[1], a[2]);
    duk_push_null(ctx);
  } else {
    duk_push_null(ctx);
  }
}

duk_ret_t Alert(duk_context* ctx) {
  Dialog(ctx, "alert");
  return 1;
}
duk_ret_t Confirm(duk_context* ctx) {
  Dialog(ctx, "confirm");
  return 1;
}
duk_ret_t Prompt(duk_context* ctx) {
  Dialog(ctx, "prompt");
  return 1;
}
duk_ret_t Open(duk_context* ctx) {
  Dialog(ctx, "open");
  return 1;
}

// As in browsers, a page may close only a window that a script opened, and only from its
// top frame; the close waits until the script has returned.
duk_ret_t Close(duk_context* ctx) {
  ScriptContext* context = OwnContext(ctx);
  Browser* browser = context ? context->browser() : nullptr;
  bool topFrame = context && context->frame() && context->frame()->is_main();
  if (browser && browser->popup && topFrame) browser->script_close = true;
  return 0;
}

// ----- the whole environment -----

void BuildConsole(duk_context* c, uint32_t id) {
  duk_idx_t console = duk_push_object(c);
  for (const char* name : {"log", "info", "warn", "error", "debug"})
    DefineMethod(c, console, name, &ConsoleLog, DUK_VARARGS, id);
  duk_put_prop_string(c, 0, "console");
}

// Leaves the location object on the stack.
void BuildLocation(duk_context* c, uint32_t id) {
  duk_idx_t location = duk_push_object(c);
  DefineAccessor(c, location, "href", &LocationHref, &LocationAssign, id);
  DefineMethod(c, location, "toString", &LocationHref, 0, id);
  DefineMethod(c, location, "assign", &LocationAssign, 1, id);
  duk_dup(c, location);
  duk_put_prop_string(c, 0, "location");
}

void BuildDocument(duk_context* c, duk_idx_t location, uint32_t id) {
  duk_idx_t document = duk_push_object(c);
  DefineAccessor(c, document, "title", &DocumentTitle, &DocumentSetTitle, id);
  duk_dup(c, location);
  duk_put_prop_string(c, document, "location");
  duk_idx_t element = duk_push_object(c);
  DefineAccessor(c, element, "innerText", &ElementInnerText, &ElementSetInnerText, id);
  DefineAccessor(c, element, "id", &ElementId, nullptr, id);
  DefineAccessor(c, element, "tagName", &ElementTagName, nullptr, id);
  DefineMethod(c, element, "getAttribute", &ElementGetAttribute, 1, id);
  PushNative(c, &GetElementById, 1, id);
  duk_dup(c, element);
  duk_put_prop_string(c, -2, kPrototypeKey);
  duk_put_prop_string(c, document, "getElementById");
  duk_pop(c);
  duk_put_prop_string(c, 0, "document");
}

duk_ret_t Build(duk_context* c, uint32_t id) {
  duk_push_global_object(c);
  duk_push_string(c, "window");
  duk_dup(c, 0);
  duk_def_prop(c, 0, DUK_DEFPROP_HAVE_VALUE | DUK_DEFPROP_SET_ENUMERABLE | DUK_DEFPROP_CLEAR_WRITABLE |
                         DUK_DEFPROP_CLEAR_CONFIGURABLE);
  BuildConsole(c, id);
  DefineMethod(c, 0, "alert", &Alert, DUK_VARARGS, id);
  DefineMethod(c, 0, "confirm", &Confirm, DUK_VARARGS, id);
  DefineMethod(c, 0, "prompt", &Prompt, DUK_VARARGS, id);
  DefineMethod(c, 0, "open", &Open, DUK_VARARGS, id);
  DefineMethod(c, 0, "close", &Close, 0, id);
  BuildLocation(c, id);
  BuildDocument(c, duk_get_top(c) - 1, id);
  duk_set_top(c, 0);
  return 0;
}

}  // namespace

bool SetUpEnvironment(ScriptContext& context) {
  duk_context* thread = context.thread();
  uint32_t id = context.id();
  return thread && Protected(thread, 0, 0, [id](duk_context* c) { return Build(c, id); });
}

}  // namespace standin::script
