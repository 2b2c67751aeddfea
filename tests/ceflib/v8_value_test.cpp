#include "cef/ceflib/v8_value.h"

#include <gtest/gtest.h>

#include <functional>

#include "cef/ceflib/v8_context.h"
#include "cef/ceflib/v8_handler.h"
#include "fake_objects.h"

namespace {

using namespace cef;
using fakes::Answers;
using fakes::Calls;
using fakes::FakeV8Value;
using fakes::Ptr;
using Log = std::vector<std::string>;

class V8ValueTest : public fakes::FakeTest {
 protected:
  Ref<ICefv8Value> Wrap(FakeV8Value& value) { return TCefv8ValueRef::UnWrap(value.Hand()); }
};

TEST_F(V8ValueTest, EachOperationCallsTheMemberOfItsOwnPosition) {
  FakeV8Value fake, other;
  Ref<ICefv8Value> value = Wrap(fake);
  Ref<ICefv8Value> that = Wrap(other);
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[&] { value->IsUndefined(); }, "is_undefined"},
      {[&] { value->IsNull(); }, "is_null"},
      {[&] { value->IsBool(); }, "is_bool"},
      {[&] { value->IsInt(); }, "is_int"},
      {[&] { value->IsDouble(); }, "is_double"},
      {[&] { value->IsDate(); }, "is_date"},
      {[&] { value->IsString(); }, "is_string"},
      {[&] { value->IsObject(); }, "is_object"},
      {[&] { value->IsArray(); }, "is_array"},
      {[&] { value->IsFunction(); }, "is_function"},
      {[&] { value->IsSame(that); }, "is_same " + Ptr(&other.wire)},
      {[&] { value->IsSame(nullptr); }, "is_same null"},
      {[&] { value->GetBoolValue(); }, "get_bool_value"},
      {[&] { value->HasValueByKey(u"param"); }, "has_value_bykey \"param\""},
      {[&] { value->HasValueByIndex(4); }, "has_value_byindex 4"},
      {[&] { value->DeleteValueByKey(u"키"); }, "delete_value_bykey \"키\""},
      {[&] { value->DeleteValueByIndex(-1); }, "delete_value_byindex -1"},
      {[&] { value->SetValueByKey(u"GetMessage", that); }, "set_value_bykey \"GetMessage\" " + Ptr(&other.wire)},
      {[&] { value->SetValueByKey(u"none", nullptr); }, "set_value_bykey \"none\" null"},
      {[&] { value->SetValueByIndex(2, that); }, "set_value_byindex 2 " + Ptr(&other.wire)},
      {[&] { value->SetValueByAccessor(u"", 0x7FFFFFFF, -3); }, "set_value_byaccessor \"\" 2147483647 -3"},
  };
  for (const auto& [operation, expected] : cases) {
    Calls().clear();
    operation();
    EXPECT_EQ(Calls(), Log{expected});
  }
  EXPECT_EQ(other.refs, 2) << "the runtime released every reference it was handed";
  that.reset();
  value.reset();
  EXPECT_EQ(fake.refs, 1);
  EXPECT_EQ(other.refs, 1);
}

TEST_F(V8ValueTest, BooleanAnswersAreTrueWhenNotZeroAndNumbersPassThrough) {
  FakeV8Value fake;
  Ref<ICefv8Value> value = Wrap(fake);
  Answers().boolean = -1;
  EXPECT_TRUE(value->IsString());
  EXPECT_TRUE(value->GetBoolValue());
  EXPECT_TRUE(value->SetValueByAccessor(u"k", 1, 2));
  Answers().boolean = 0;
  EXPECT_FALSE(value->IsObject());
  EXPECT_FALSE(value->HasValueByIndex(0));
  Answers().integer = -70000;
  EXPECT_EQ(value->GetIntValue(), -70000);
  EXPECT_EQ(value->GetArrayLength(), -70000);
  Answers().number = 0.1 + 0.2;
  EXPECT_EQ(value->GetDoubleValue(), 0.1 + 0.2);
}

TEST_F(V8ValueTest, TheDateComesBackAsTheLocalDateValueOfTheRuntimesUtcTime) {
  FakeV8Value fake;
  Ref<ICefv8Value> value = Wrap(fake);
  Answers().time = {2000, 1, 6, 1, 0, 0, 0, 0};
  EXPECT_DOUBLE_EQ(value->GetDateValue(), 36526.0 + 9.0 / 24.0) << "1 January 2000, 09:00 in Seoul";
  Answers().time = {2024, 2, 4, 29, 23, 30, 15, 500};
  EXPECT_DOUBLE_EQ(value->GetDateValue(), 45352.0 + (8 * 3600 + 30 * 60 + 15.5) / 86400.0);
}

TEST_F(V8ValueTest, StringResultsAreReadAndFreedAndNullReadsAsEmpty) {
  FakeV8Value fake;
  Ref<ICefv8Value> value = Wrap(fake);
  const std::vector<std::function<std::u16string()>> reads = {[&] { return value->GetStringValue(); },
                                                              [&] { return value->GetFunctionName(); }};
  for (const auto& read : reads) {
    int32_t frees = CallCount("cef_string_userfree_utf16_free");
    Answers().text = u"입찰 공고 \U0001F4C4";
    EXPECT_EQ(read(), u"입찰 공고 \U0001F4C4");
    EXPECT_EQ(CallCount("cef_string_userfree_utf16_free"), frees + 1);
    Answers().text.reset();
    EXPECT_EQ(read(), u"");
    EXPECT_EQ(CallCount("cef_string_userfree_utf16_free"), frees + 1) << "null frees nothing";
  }
  EXPECT_EQ(Calls(), (Log{"get_string_value", "get_string_value", "get_function_name", "get_function_name"}));
}

TEST_F(V8ValueTest, ValueResultsAreWrappersThatTakeOverTheirReferenceAndNullIsNull) {
  FakeV8Value fake, member, element, data;
  Ref<ICefv8Value> value = Wrap(fake);
  Answers().object = member.Hand();
  Ref<ICefv8Value> byKey = value->GetValueByKey(u"param");
  Answers().object = element.Hand();
  Ref<ICefv8Value> byIndex = value->GetValueByIndex(3);
  Answers().object = data.Hand();
  Ref<ICefv8Value> userData = value->GetUserData();
  ASSERT_TRUE(byKey && byIndex && userData);
  EXPECT_FALSE(value->GetValueByKey(u"missing"));
  EXPECT_FALSE(value->GetValueByIndex(9));
  EXPECT_FALSE(value->GetUserData());
  byKey->IsString();
  byIndex->IsInt();
  EXPECT_EQ(Calls(), (Log{"get_value_bykey \"param\"", "get_value_byindex 3", "get_user_data",
                          "get_value_bykey \"missing\"", "get_value_byindex 9", "get_user_data", "is_string", "is_int"}));
  byKey.reset();
  byIndex.reset();
  userData.reset();
  EXPECT_EQ(member.refs, 1);
  EXPECT_EQ(element.refs, 1);
  EXPECT_EQ(data.refs, 1);
}

TEST_F(V8ValueTest, GetKeysAppendsAfterExistingEntriesAndAnswersTheRuntimesCount) {
  FakeV8Value fake;
  Ref<ICefv8Value> value = Wrap(fake);
  int32_t allocated = CallCount("cef_string_list_alloc");
  int32_t freed = CallCount("cef_string_list_free");
  std::vector<std::u16string> keys{u"already"};
  Answers().names = {u"param", u"GetMessage"};
  Answers().integer = 7;
  EXPECT_EQ(value->GetKeys(keys), 7) << "the runtime's integer, not the number appended";
  EXPECT_EQ(keys, (std::vector<std::u16string>{u"already", u"param", u"GetMessage"}));
  Answers().names.clear();
  Answers().integer = 0;
  EXPECT_EQ(value->GetKeys(keys), 0);
  EXPECT_EQ(keys.size(), 3u);
  EXPECT_EQ(CallCount("cef_string_list_alloc") - allocated, 2);
  EXPECT_EQ(CallCount("cef_string_list_free") - freed, 2);
  EXPECT_EQ(Live("StringList"), 0);
  EXPECT_EQ(Live("String"), 0) << "every item record was cleared";
}

TEST_F(V8ValueTest, TheFunctionHandlerIsARuntimeHandlerThatTheProgramCanCall) {
  FakeV8Value fake;
  fakes::FakeV8Handler runtimeHandler;
  Ref<ICefv8Value> value = Wrap(fake);
  EXPECT_FALSE(value->GetFunctionHandler());
  Answers().object = runtimeHandler.Hand();
  Ref<ICefv8Handler> handler = value->GetFunctionHandler();
  ASSERT_TRUE(handler);
  Ref<ICefv8Value> retval;
  std::u16string exception;
  EXPECT_FALSE(handler->Execute(u"GetMessage", nullptr, {}, retval, exception));
  EXPECT_EQ(Calls(), (Log{"get_function_handler", "get_function_handler", "execute \"GetMessage\" null 0 null fresh"}));
  handler.reset();
  EXPECT_EQ(runtimeHandler.refs, 1);
}

TEST_F(V8ValueTest, ExecuteFunctionHandsEachArgumentOverAndReadsResultAndExceptionBack) {
  FakeV8Value function, receiver, first, second, result;
  Ref<ICefv8Value> value = Wrap(function);
  TCefv8ValueArray arguments{Wrap(first), nullptr, Wrap(second)};
  Ref<ICefv8Value> retval = Wrap(receiver);  // replaced, never passed in
  std::u16string exception = u"replaced as well";
  Answers().object = result.Hand();
  Answers().exception = u"TypeError: 정의되지 않음";
  Answers().boolean = 1;
  EXPECT_TRUE(value->ExecuteFunction(Wrap(receiver), arguments, retval, exception));
  EXPECT_EQ(Calls(), Log{"execute_function " + Ptr(&receiver.wire) + " 3 [" + Ptr(&first.wire) + " null " +
                         Ptr(&second.wire) + "] fresh"});
  ASSERT_TRUE(retval);
  EXPECT_EQ(retval->Wrap(), &result.wire.base);
  fakes::Release(&result.wire);
  EXPECT_EQ(exception, u"TypeError: 정의되지 않음");
  EXPECT_EQ(Live("String"), 0) << "the exception record was cleared";
  EXPECT_EQ(receiver.refs, 1) << "the receiver's reference went to the runtime";
  arguments.clear();
  retval.reset();
  EXPECT_EQ(first.refs, 1);
  EXPECT_EQ(second.refs, 1);
  EXPECT_EQ(result.refs, 1);
}

TEST_F(V8ValueTest, ExecuteFunctionWithNoArgumentsPassesCountZeroAndANullBlock) {
  FakeV8Value function;
  Ref<ICefv8Value> value = Wrap(function);
  Ref<ICefv8Value> retval;
  std::u16string exception = u"stale";
  EXPECT_FALSE(value->ExecuteFunction(nullptr, {}, retval, exception));
  EXPECT_FALSE(retval);
  EXPECT_EQ(exception, u"") << "no exception text reads as empty";
  EXPECT_EQ(Calls(), Log{"execute_function null 0 null fresh"});
}

TEST_F(V8ValueTest, ExecuteFunctionWithContextHandsTheContextOverFirst) {
  FakeV8Value function, receiver, argument;
  fakes::FakeV8Context context;
  Ref<ICefv8Value> value = Wrap(function);
  Ref<ICefv8Context> wrappedContext = TCefv8ContextRef::UnWrap(context.Hand());
  Ref<ICefv8Value> retval;
  std::u16string exception;
  Answers().boolean = 1;
  EXPECT_TRUE(value->ExecuteFunctionWithContext(wrappedContext, Wrap(receiver), {Wrap(argument)}, retval, exception));
  EXPECT_TRUE(value->ExecuteFunctionWithContext(nullptr, nullptr, {}, retval, exception));
  EXPECT_EQ(Calls(), (Log{"execute_function_with_context " + Ptr(&context.wire) + " " + Ptr(&receiver.wire) + " 1 [" +
                              Ptr(&argument.wire) + "] fresh",
                          "execute_function_with_context null null 0 null fresh"}));
  wrappedContext.reset();
  EXPECT_EQ(context.refs, 1);
  EXPECT_EQ(receiver.refs, 1);
  EXPECT_EQ(argument.refs, 1);
}

}  // namespace
