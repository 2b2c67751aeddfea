#pragma once
// What the stand-in's script tests share: a fresh runtime per test with a browser showing a
// page, program doubles for native handlers and accessors that take their references as
// the program does, and readers of values and of the control interface's script records.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/ref.h"
#include "cef/ceflib/base_own.h"
#include "standin_browser/browser_fixture.h"
#include "support/standin_control.h"

namespace script_testing {

using browser_testing::RuntimeRef;
using browser_testing::View;
// A borrowed runtime string over a literal, whose characters live as long as the program.
template <size_t N>
TCefString View(const char16_t (&literal)[N]) {
  return {const_cast<char16_t*>(literal), static_cast<uint32_t>(N - 1), nullptr};
}
using Value = RuntimeRef<TCefv8Value>;

// One native call as the handler received it: the references that came with the receiver
// and the arguments are the call's, released when it ends.
struct NativeCall {
  std::u16string name;
  Value receiver;
  std::vector<Value> arguments;
  TCefv8Value** retval;
  TCefString* exception;
};

// A native function handler: counts its calls and answers with `answer` (0 when unset).
class TestHandler : public cef::TCefBaseOwn {
 public:
  using Answer = std::function<TCefBool(NativeCall&)>;
  explicit TestHandler(Answer answer = {});
  // A new reference for the runtime.
  TCefv8Handler* Hand() { return reinterpret_cast<TCefv8Handler*>(Wrap()); }

  int calls = 0;
  std::vector<std::u16string> names;
  std::vector<size_t> argument_counts;
  Answer answer;
};

// A property accessor: get and set answer with the given functions (0 when unset).
class TestAccessor : public cef::TCefBaseOwn {
 public:
  using Get = std::function<TCefBool(const std::u16string& name, TCefv8Value* object, TCefv8Value** retval,
                                     TCefString* exception)>;
  using Set = std::function<TCefBool(const std::u16string& name, TCefv8Value* object, TCefv8Value* value,
                                     TCefString* exception)>;
  TestAccessor(Get get, Set set);
  TCefV8Accessor* Hand() { return reinterpret_cast<TCefV8Accessor*>(Wrap()); }

  int gets = 0;
  int sets = 0;

 private:
  Get get_;
  Set set_;
};

class ScriptTest : public ::testing::Test {
 protected:
  // Closes the browsers and checks that every script value, attachment and context went
  // and that the runtime holds nothing of the program's but the extension handlers.
  void TearDown() override;

  const cef::CefExports& Api() const { return probe_.Api(); }
  const testing_support::StandinControl& Control() const { return probe_.Control(); }

  // A browser without a window showing html (loaded and idle); frame_ is its main frame.
  void Open(const std::u16string& html, const std::u16string& url = u"http://pages.example/page.html");
  void OpenUrl(const std::u16string& url);
  void Load(const std::u16string& html, const std::u16string& url);
  void WaitIdle();
  void Close();

  // Runs code in the frame's context (the main frame's by default): the result as String()
  // gives it. A thrown error fails the test; RunThrowing expects one and answers its text.
  std::u16string Run(const std::u16string& code, TCefFrame* frame = nullptr);
  std::u16string RunThrowing(const std::u16string& code, TCefFrame* frame = nullptr);

  void RegisterExtension(const std::u16string& name, const std::u16string& code, TCefv8Handler* handler);

  RuntimeRef<TCefv8Context> Context(TCefFrame* frame = nullptr);
  Value Global(TCefFrame* frame = nullptr);
  // Sets a global of the frame's page to the value (which keeps its own reference).
  void SetGlobal(const std::u16string& name, TCefv8Value* value, TCefFrame* frame = nullptr);

  // A new reference to the value, for handing it to the runtime.
  static TCefv8Value* Pass(const Value& value) {
    if (value) value->base.add_ref(&value->base);
    return value.get();
  }
  Value Int(int32_t n) const { return Value(Api().cef_v8value_create_int(n)); }
  Value Double(double d) const { return Value(Api().cef_v8value_create_double(d)); }
  Value String(const std::u16string& text) const;
  // A value's string, and its property's.
  std::u16string Text(TCefv8Value* value) const;
  Value Get(TCefv8Value* object, const std::u16string& key) const;
  bool Set(TCefv8Value* object, const std::u16string& key, TCefv8Value* value) const;
  std::vector<std::u16string> Keys(TCefv8Value* object, std::vector<std::u16string> initial, int32_t* answer) const;

  // A userfree string read and freed; a string record read and cleared.
  std::u16string Take(TCefStringUserFree s) const;
  std::u16string TakeRecord(TCefString& s) const;
  // Fills an exception record as the program does: a runtime-owned copy.
  void Throw(TCefString* exception, const std::u16string& text) const;

  std::u16string BrowserText(const char* key) const;
  std::u16string FrameText(TCefFrame* frame, const char* key) const;
  int32_t Count(const char* key) const { return Control().standin_script_count(key); }
  std::u16string Record(const char* kind, int32_t index, const char* field) const;

  // Declared first: destroyed last, after every reference below has gone.
  testing_support::ProbeRuntime probe_;
  RuntimeRef<TCefBrowser> browser_;
  RuntimeRef<TCefFrame> frame_;
  int extensions_ = 0;
};

}  // namespace script_testing
