#pragma once
// Fake runtime objects for the wrappers' tests: C structures of the contract's types whose
// members record each call with its arguments and answer what the test chose, and which
// count the references the program takes and gives back. Strings and lists still go
// through the program's runtime (the stand-in), so its accounts see every string.

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "cef/ceflib/capi.h"
#include "cef/ceflib/guard.h"
#include "cef/ceflib/loader.h"
#include "support/standin_control.h"

namespace fakes {

// The calls of every fake, in order: the member's name and its arguments.
std::vector<std::string>& Calls();

// What the fakes answer; a test sets these before the call it makes.
struct Answer {
  TCefBool boolean = 0;
  int32_t integer = 0;
  double number = 0;
  // A string answer is runtime-allocated, for the wrapper to free; nothing answers null.
  std::optional<std::u16string> text;
  // An object answer carries one reference for the wrapper; it is answered once.
  void* object = nullptr;
  // Names that get_frame_names, get_file_names and get_keys put into the runtime's list.
  std::vector<std::u16string> names;
  TCefTime time{};
  // The exception text that the execute members write, as the runtime's own string.
  std::optional<std::u16string> exception;
};
Answer& Answers();

// Object arguments a fake keeps instead of releasing: visitors, listeners.
std::vector<TCefBase*>& Kept();

// Text for the call log.
std::string Text(const TCefString* text);
std::string Ptr(const void* p);
inline std::string Arg(const std::string& s) { return s; }
inline std::string Arg(const char* s) { return s; }
template <class T>
std::string Arg(const T& value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

template <class... A>
void Record(const char* member, const A&... args) {
  std::string call = member;
  ((call += " " + Arg(args)), ...);
  Calls().push_back(call);
}

// Releases the reference an object argument brought; nothing for null.
void Release(void* object);

// A fake of the runtime structure S with its own reference count. The structure comes
// first, so a member finds the fake from the structure pointer.
template <class S>
struct Fake {
  S wire{};
  int32_t refs = 1;  // the reference the program receives

  Fake() {
    wire.base.size = sizeof(S);
    wire.base.add_ref = [](TCefBase* self) CEF_CALLBACK -> int32_t { return ++Of(self)->refs; };
    wire.base.release = [](TCefBase* self) CEF_CALLBACK -> int32_t { return --Of(self)->refs; };
    wire.base.get_refct = [](TCefBase* self) CEF_CALLBACK -> int32_t { return Of(self)->refs; };
  }
  Fake(const Fake&) = delete;
  Fake& operator=(const Fake&) = delete;

  static Fake* Of(const void* self) { return reinterpret_cast<Fake*>(const_cast<void*>(self)); }
  S* get() { return &wire; }
  // One more reference, for one more crossing into the program.
  S* Hand() {
    ++refs;
    return &wire;
  }
};

struct FakeBrowser : Fake<TCefBrowser> { FakeBrowser(); };
struct FakeFrame : Fake<TCefFrame> { FakeFrame(); };
struct FakeRequest : Fake<TCefRequest> { FakeRequest(); };
struct FakePostData : Fake<TCefPostData> { FakePostData(); };
struct FakePostDataElement : Fake<TCefPostDataElement> { FakePostDataElement(); };
struct FakeStreamReader : Fake<TCefStreamReader> { FakeStreamReader(); };
struct FakeDomDocument : Fake<TCefDomDocument> { FakeDomDocument(); };
struct FakeDomNode : Fake<TCefDomNode> { FakeDomNode(); };
struct FakeDomEvent : Fake<TCefDomEvent> { FakeDomEvent(); };
struct FakeDragData : Fake<TCefDragData> { FakeDragData(); };
struct FakeV8Value : Fake<TCefv8Value> { FakeV8Value(); };
struct FakeV8Context : Fake<TCefv8Context> { FakeV8Context(); };
struct FakeV8Handler : Fake<TCefv8Handler> { FakeV8Handler(); };

// The argument block of a call as text: "null", or the pointers in brackets.
std::string Block(uint32_t count, TCefv8Value* const* arguments);

// The runtime's side of a call into a script function or handler: records the call, what
// it brought and whether the return slot and exception record arrived empty ("fresh"),
// releases every reference it brought, and answers the chosen value and exception text.
TCefBool AnswerExecute(const std::string& call, TCefv8Value* object, uint32_t count, TCefv8Value* const* arguments,
                       TCefv8Value** retval, TCefString* exception);

// One export of the program's runtime replaced by a fake while the object lives.
template <auto Member>
class ExportFake {
 public:
  using Entry = std::remove_reference_t<decltype(std::declval<cef::CefExports&>().*Member)>;
  explicit ExportFake(Entry fake) : saved_(std::exchange(Slot(), fake)) {}
  ExportFake(const ExportFake&) = delete;
  ExportFake& operator=(const ExportFake&) = delete;
  ~ExportFake() { Slot() = saved_; }

 private:
  static Entry& Slot() { return const_cast<cef::CefExports&>(cef::CefApi()).*Member; }
  Entry saved_;
};

// The fixture of the fakes' tests: the program's runtime is loaded, the log and answers
// start empty, and callback failures are collected in reports instead of printed.
class FakeTest : public testing_support::StandinTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  const testing_support::StandinControl& standin() { return testing_support::ProgramStandin(); }
  int32_t Live(const char* kind) { return standin().standin_live_objects(kind); }
  int32_t CallCount(const char* exportName) { return standin().standin_call_count(exportName); }

  std::vector<std::u16string> reports;

 private:
  cef::CallbackErrorReport previous_;
};

}  // namespace fakes
