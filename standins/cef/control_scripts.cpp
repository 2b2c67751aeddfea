// The test control exports of page scripts.

#include <map>
#include <string>

#include "browsers.h"
#include "control.h"
#include "control_support.h"
#include "script_natives.h"
#include "v8_contexts.h"

using namespace standin;
using namespace standin::script;

#define STANDIN_DECLARE_CONTROL(result, name, params) STANDIN_API result name params;
STANDIN_CONTROL_SCRIPTS(STANDIN_DECLARE_CONTROL)
#undef STANDIN_DECLARE_CONTROL

namespace {

Frame* FrameArg(TCefFrame* frame, const char* control) { return frame ? Self<Frame>(frame, control) : nullptr; }

std::u16string Digits(int32_t n) { return FromUtf8(std::to_string(n)); }

// A record's field; false when there is no such record or field.
template <class T, class Field>
bool FieldOf(const std::vector<T>& records, int32_t index, Field field, std::u16string& text) {
  int64_t at = index < 0 ? static_cast<int64_t>(records.size()) + index : index;
  if (at < 0 || at >= static_cast<int64_t>(records.size())) return false;
  return field(records[static_cast<size_t>(at)], text);
}

bool ConsoleField(const ConsoleMessage& m, std::string_view field, std::u16string& text) {
  if (field == "message") text = m.message;
  else if (field == "url") text = m.url;
  else if (field == "line") text = Digits(m.line);
  else return false;
  return true;
}

bool ErrorField(const ScriptError& e, std::string_view field, std::u16string& text) {
  if (field == "message") text = e.message;
  else if (field == "url") text = e.url;
  else if (field == "line") text = Digits(e.line);
  else return false;
  return true;
}

bool DialogField(const DialogCall& d, std::string_view field, std::u16string& text) {
  if (field == "kind") {
    text = FromUtf8(d.kind);
    return true;
  }
  if (field.size() != 4 || field.substr(0, 3) != "arg" || field[3] < '0' || field[3] > '2') return false;
  size_t k = static_cast<size_t>(field[3] - '0');
  if (k >= d.arguments.size()) return false;
  text = d.arguments[k];
  return true;
}

}  // namespace

int32_t standin_script_run(TCefFrame* frame, const char16_t* code, int32_t* threw, char16_t* buffer, int32_t size) {
  Frame* f = FrameArg(frame, "standin_script_run");
  ObjRef<ScriptContext> context = f && code ? ContextOf(*f, true) : ObjRef<ScriptContext>();
  if (!context) return -1;
  Outcome outcome = context->Run(code, f->page.url, 1);
  if (threw) *threw = outcome.ok ? 0 : 1;
  return CopyOut(outcome.text, buffer, size);
}

TCefv8Context* standin_script_context(TCefFrame* frame) {
  Frame* f = FrameArg(frame, "standin_script_context");
  return f ? ContextOf(*f, true).Hand() : nullptr;
}

int32_t standin_script_count(const char* key) {
  std::string_view k = key ? key : "";
  const Records& r = TheRecords();
  if (k == "contexts") return AttachedContexts();
  if (k == "values") return KeptCount();
  if (k == "attachments") return AttachmentCount();
  if (k == "console") return static_cast<int32_t>(r.console.size());
  if (k == "dialogs") return static_cast<int32_t>(r.dialogs.size());
  if (k == "errors") return static_cast<int32_t>(r.errors.size());
  return -1;
}

int32_t standin_script_record(const char* kind, int32_t index, const char* field, char16_t* buffer, int32_t size) {
  std::string_view k = kind ? kind : "", f = field ? field : "";
  const Records& r = TheRecords();
  std::u16string text;
  bool found = false;
  if (k == "console") found = FieldOf(r.console, index, [&](auto& m, auto& t) { return ConsoleField(m, f, t); }, text);
  else if (k == "errors") found = FieldOf(r.errors, index, [&](auto& e, auto& t) { return ErrorField(e, f, t); }, text);
  else if (k == "dialogs") found = FieldOf(r.dialogs, index, [&](auto& d, auto& t) { return DialogField(d, f, t); }, text);
  return found ? CopyOut(text, buffer, size) : -1;
}

void standin_script_clear_records() { TheRecords() = {}; }

void standin_script_collect_garbage() { CollectGarbage(); }
