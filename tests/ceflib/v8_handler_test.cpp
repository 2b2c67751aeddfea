#include "cef/ceflib/v8_handler.h"

#include <gtest/gtest.h>

#include <functional>

#include "cef/ceflib/v8_context.h"
#include "fake_objects.h"
#include "platform/errors.h"
#include "platform/text.h"

namespace {

using namespace cef;
using fakes::Answers;
using fakes::Calls;
using fakes::FakeV8Value;
using fakes::Ptr;
using Log = std::vector<std::string>;

// The runtime structure behind a program value, as text; "null" for none.
std::string WireText(const Ref<ICefBase>& object) {
  if (!object) return "null";
  TCefBase* wire = object->Wrap();
  fakes::Release(wire);
  return Ptr(wire);
}

std::string WiresOf(const TCefv8ValueArray& values) {
  std::string text = "[";
  for (size_t i = 0; i < values.size(); ++i) {
    if (i) text += ' ';
    text += WireText(values[i]);
  }
  return text + "]";
}

// A handler whose answer each test scripts, and which notes what every call received.
class ScriptedHandler : public TCefv8HandlerOwn {
 public:
  using Body = std::function<bool(Ref<ICefv8Value>& retval, std::u16string& exception)>;
  Body body = [](Ref<ICefv8Value>&, std::u16string&) { return true; };
  std::vector<std::string> seen;

  bool Execute(const std::u16string& name, const Ref<ICefv8Value>& obj, const TCefv8ValueArray& arguments,
               Ref<ICefv8Value>& retval, std::u16string& exception) override {
    seen.push_back("Execute \"" + platform::Utf16ToUtf8(name) + "\" " + WireText(obj) + " " + WiresOf(arguments) +
                   (retval || !exception.empty() ? " dirty" : " fresh"));
    return body(retval, exception);
  }
  bool ExecuteWithContext(const Ref<ICefv8Context>& context, const Ref<ICefv8Value>& obj,
                          const TCefv8ValueArray& arguments, Ref<ICefv8Value>& retval,
                          std::u16string& exception) override {
    seen.push_back("ExecuteWithContext " + WireText(context) + " " + WireText(obj) + " " + WiresOf(arguments));
    return body(retval, exception);
  }

  TCefv8Handler* Wire() { return Struct<TCefv8Handler>(); }
};

void CEF_CALLBACK NeverCalled(char16_t*) { ADD_FAILURE() << "the runtime's old record was cleared"; }
char16_t g_sentinel_chars[] = u"old";
TCefv8Value* const kUntouchedResult = reinterpret_cast<TCefv8Value*>(uintptr_t{0x5A5A50});

class V8HandlerTest : public fakes::FakeTest {
 protected:
  Ref<ScriptedHandler> handler = base::MakeRef<ScriptedHandler>();
  TCefv8Value* retval = kUntouchedResult;
  TCefString exception{g_sentinel_chars, 3, &NeverCalled};

  TCefBool Call(const std::u16string& name, TCefv8Value* object, std::vector<TCefv8Value*> arguments) {
    TCefString wireName = CefStringView(name);
    TCefv8Handler* wire = handler->Wire();
    return wire->execute(wire, &wireName, object, static_cast<uint32_t>(arguments.size()),
                         arguments.empty() ? nullptr : arguments.data(), &retval, &exception);
  }
  bool SlotsUntouched() const {
    return retval == kUntouchedResult && exception.str == g_sentinel_chars && exception.length == 3 &&
           exception.dtor == &NeverCalled;
  }
  bool ExceptionRecordZero() const { return !exception.str && exception.length == 0 && !exception.dtor; }
};

TEST_F(V8HandlerTest, ArgumentsReceiverAndNameReachExecuteAndAreReleasedAfterwards) {
  FakeV8Value receiver, first, second;
  const std::u16string name = u"GoG2b";
  EXPECT_EQ(Call(name, receiver.Hand(), {first.Hand(), nullptr, second.Hand()}), -1);
  EXPECT_EQ(handler->seen, Log{"Execute \"GoG2b\" " + Ptr(&receiver.wire) + " [" + Ptr(&first.wire) + " null " +
                               Ptr(&second.wire) + "] fresh"});
  EXPECT_EQ(receiver.refs, 1);
  EXPECT_EQ(first.refs, 1);
  EXPECT_EQ(second.refs, 1);
  EXPECT_EQ(handler->RefCount(), 1) << "the call took no lasting reference to its handler";
}

TEST_F(V8HandlerTest, NoArgumentsGiveAnEmptyArrayAndANullReceiverANullObject) {
  EXPECT_EQ(Call(u"OpenHome", nullptr, {}), -1);
  EXPECT_EQ(handler->seen, Log{"Execute \"OpenHome\" null [] fresh"});
}

TEST_F(V8HandlerTest, TrueWithoutAValueAnswersAllBitsSetANullValueAndAnEmptyRecord) {
  TCefBool answer = Call(u"OpenHome", nullptr, {});
  EXPECT_EQ(answer, -1);
  EXPECT_EQ(static_cast<uint32_t>(answer), 0xFFFFFFFFu);
  EXPECT_EQ(retval, nullptr);
  EXPECT_TRUE(ExceptionRecordZero()) << "written as a zero record, not through a clear";
}

TEST_F(V8HandlerTest, FalseStillHandsTheValueAndARuntimeOwnedExceptionOver) {
  FakeV8Value result;
  handler->body = [&](Ref<ICefv8Value>& value, std::u16string& error) {
    value = TCefv8ValueRef::UnWrap(result.Hand());
    error = u"인자가 없습니다";
    return false;
  };
  EXPECT_EQ(Call(u"SetTestParam", nullptr, {}), 0);
  ASSERT_EQ(retval, &result.wire);
  EXPECT_EQ(result.refs, 2) << "one reference for the runtime, the program's own dropped";
  ASSERT_NE(exception.dtor, nullptr) << "the runtime's own copy";
  EXPECT_NE(exception.str, g_sentinel_chars);
  EXPECT_EQ(std::u16string(exception.str, exception.length), u"인자가 없습니다");
  EXPECT_EQ(Live("String"), 1);
  CefApi().cef_string_utf16_clear(&exception);
  fakes::Release(retval);
  EXPECT_EQ(result.refs, 1);
}

TEST_F(V8HandlerTest, AFailingExecuteIsReportedOnceAnswersZeroReleasesEverythingAndWritesNothing) {
  FakeV8Value receiver, argument, result;
  fakes::FakeV8Context context;
  handler->body = [&](Ref<ICefv8Value>& value, std::u16string& error) -> bool {
    value = TCefv8ValueRef::UnWrap(result.Hand());
    error = u"half-way";
    throw platform::Exception(u"the portal is unreachable");
  };
  EXPECT_EQ(Call(u"GoG2b", receiver.Hand(), {argument.Hand()}), 0);
  TCefv8Value* arguments[] = {argument.Hand()};
  TCefv8Handler* wire = handler->Wire();
  EXPECT_EQ(wire->execute_with_context(wire, context.Hand(), receiver.Hand(), 1, arguments, &retval, &exception), 0);
  EXPECT_TRUE(SlotsUntouched());
  EXPECT_EQ(reports, std::vector<std::u16string>(2, u"the portal is unreachable"));
  EXPECT_EQ(receiver.refs, 1);
  EXPECT_EQ(argument.refs, 1);
  EXPECT_EQ(context.refs, 1);
  EXPECT_EQ(result.refs, 1) << "the value set before the failure was let go";
  EXPECT_EQ(handler->seen.size(), 2u);
}

TEST_F(V8HandlerTest, TheContextVariantWrapsTheContextAndCallsItsOwnOperation) {
  FakeV8Value receiver, argument;
  fakes::FakeV8Context context;
  TCefv8Value* arguments[] = {argument.Hand()};
  TCefv8Handler* wire = handler->Wire();
  EXPECT_EQ(wire->execute_with_context(wire, context.Hand(), receiver.Hand(), 1, arguments, &retval, &exception), -1);
  EXPECT_EQ(wire->execute_with_context(wire, nullptr, nullptr, 0, nullptr, &retval, &exception), -1);
  EXPECT_EQ(handler->seen, (Log{"ExecuteWithContext " + Ptr(&context.wire) + " " + Ptr(&receiver.wire) + " [" +
                                    Ptr(&argument.wire) + "]",
                                "ExecuteWithContext null null []"}));
  EXPECT_EQ(retval, nullptr);
  EXPECT_TRUE(ExceptionRecordZero());
  EXPECT_EQ(context.refs, 1);
  EXPECT_EQ(receiver.refs, 1);
  EXPECT_EQ(argument.refs, 1);
}

TEST_F(V8HandlerTest, TheBaseHandlerAnswersFalseAndLeavesValueAndExceptionAsTheyWere) {
  Ref<TCefv8HandlerOwn> plain = base::MakeRef<TCefv8HandlerOwn>();
  FakeV8Value kept;
  Ref<ICefv8Value> value = TCefv8ValueRef::UnWrap(kept.Hand());
  Ref<ICefv8Value> before = value;
  std::u16string error = u"kept";
  EXPECT_FALSE(plain->Execute(u"x", nullptr, {}, value, error));
  EXPECT_FALSE(plain->ExecuteWithContext(nullptr, nullptr, {}, value, error));
  EXPECT_EQ(value, before);
  EXPECT_EQ(error, u"kept");
  Ref<ICefv8Handler> asHandler = base::interface_cast<ICefv8Handler>(Ref<ICefBase>(plain));
  ASSERT_TRUE(asHandler);
  auto* wire = plain->Struct<TCefv8Handler>();
  TCefString name = CefStringBorrow(u"OpenBidView");
  EXPECT_EQ(wire->execute(wire, &name, nullptr, 0, nullptr, &retval, &exception), 0);
  EXPECT_EQ(retval, nullptr);
  EXPECT_TRUE(ExceptionRecordZero());
}

class V8HandlerRefTest : public fakes::FakeTest {};

TEST_F(V8HandlerRefTest, ExecuteHandsNameReceiverAndArgumentsOverAndReadsTheAnswersBack) {
  fakes::FakeV8Handler fake;
  FakeV8Value receiver, first, second, result;
  Ref<ICefv8Handler> handler = TCefv8HandlerRef::UnWrap(fake.Hand());
  Ref<ICefv8Value> retval;
  std::u16string exception;
  Answers().object = result.Hand();
  Answers().exception = u"ReferenceError";
  Answers().boolean = 1;
  EXPECT_TRUE(handler->Execute(u"GetMessage", TCefv8ValueRef::UnWrap(receiver.Hand()),
                               {TCefv8ValueRef::UnWrap(first.Hand()), TCefv8ValueRef::UnWrap(second.Hand())}, retval,
                               exception));
  EXPECT_EQ(WireText(retval), Ptr(&result.wire));
  EXPECT_EQ(exception, u"ReferenceError");
  EXPECT_EQ(Live("String"), 0) << "the exception record was cleared";
  Answers().exception.reset();
  Answers().boolean = 0;
  EXPECT_FALSE(handler->ExecuteWithContext(nullptr, nullptr, {}, retval, exception));
  EXPECT_FALSE(retval);
  EXPECT_EQ(exception, u"");
  EXPECT_EQ(Calls(), (Log{"execute \"GetMessage\" " + Ptr(&receiver.wire) + " 2 [" + Ptr(&first.wire) + " " +
                              Ptr(&second.wire) + "] fresh",
                          "execute_with_context null null 0 null fresh"}));
  handler.reset();
  EXPECT_EQ(fake.refs, 1);
  EXPECT_EQ(receiver.refs, 1);
  EXPECT_EQ(first.refs, 1);
  EXPECT_EQ(second.refs, 1);
  EXPECT_EQ(result.refs, 1);
}

}  // namespace
