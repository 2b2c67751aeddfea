// New script values, contexts and extension registration, with the runtime's exports
// replaced by fakes that record what they receive.

#include <gtest/gtest.h>

#include "cef/ceflib/extension.h"
#include "cef/ceflib/v8_context.h"
#include "cef/ceflib/v8_handler.h"
#include "cef/ceflib/v8_value.h"
#include "fake_objects.h"

namespace {

using namespace cef;
using fakes::Answers;
using fakes::Calls;
using fakes::ExportFake;
using fakes::FakeV8Value;
using fakes::Ptr;
using fakes::Record;
using Log = std::vector<std::string>;

class V8CreateTest : public fakes::FakeTest {};

// The structure an own object presents, without keeping the reference Wrap adds.
TCefBase* WireOf(const Ref<ICefv8Handler>& handler) {
  TCefBase* wire = handler->Wrap();
  fakes::Release(wire);
  return wire;
}

TCefv8Value* Answer() { return static_cast<TCefv8Value*>(std::exchange(Answers().object, nullptr)); }

TEST_F(V8CreateTest, ScalarCreatorsPassTheirValueAndWrapTheAnswer) {
  ExportFake<&CefExports::cef_v8value_create_undefined> undefined([]() -> TCefv8Value* {
    Record("create_undefined");
    return Answer();
  });
  ExportFake<&CefExports::cef_v8value_create_null> null([]() -> TCefv8Value* {
    Record("create_null");
    return Answer();
  });
  ExportFake<&CefExports::cef_v8value_create_array> array([]() -> TCefv8Value* {
    Record("create_array");
    return Answer();
  });
  ExportFake<&CefExports::cef_v8value_create_bool> boolean([](TCefBool value) -> TCefv8Value* {
    Record("create_bool", value);
    return Answer();
  });
  ExportFake<&CefExports::cef_v8value_create_int> integer([](int32_t value) -> TCefv8Value* {
    Record("create_int", value);
    return Answer();
  });
  ExportFake<&CefExports::cef_v8value_create_double> number([](double value) -> TCefv8Value* {
    Record("create_double", value);
    return Answer();
  });
  FakeV8Value made;
  Answers().object = made.Hand();
  Ref<ICefv8Value> created = TCefv8ValueRef::CreateUndefined();
  ASSERT_TRUE(created);
  created->IsUndefined();
  created.reset();
  EXPECT_EQ(made.refs, 1) << "the wrapper took over the creator's reference";
  EXPECT_FALSE(TCefv8ValueRef::CreateNull()) << "no value from the runtime gives null";
  EXPECT_FALSE(TCefv8ValueRef::CreateArray());
  TCefv8ValueRef::CreateBool(true);
  TCefv8ValueRef::CreateBool(false);
  TCefv8ValueRef::CreateInt(-2147483647 - 1);
  TCefv8ValueRef::CreateDouble(-0.125);
  EXPECT_EQ(Calls(), (Log{"create_undefined", "is_undefined", "create_null", "create_array", "create_bool 1",
                          "create_bool 0", "create_int -2147483648", "create_double -0.125"}));
}

TEST_F(V8CreateTest, CreateDatePassesTheUtcRecordOfTheLocalDateValue) {
  ExportFake<&CefExports::cef_v8value_create_date> date([](const TCefTime* t) -> TCefv8Value* {
    Record("create_date", t->year, t->month, t->day_of_week, t->day_of_month, t->hour, t->minute, t->second,
           t->millisecond);
    return nullptr;
  });
  EXPECT_FALSE(TCefv8ValueRef::CreateDate(36526.0 + 9.0 / 24.0));  // 1 January 2000, 09:00 in Seoul
  EXPECT_EQ(Calls(), Log{"create_date 2000 1 6 1 0 0 0 0"});
}

const char16_t* g_seen_chars = nullptr;

TEST_F(V8CreateTest, CreateStringAndCreateFunctionBorrowTheTextWithoutCopying) {
  ExportFake<&CefExports::cef_v8value_create_string> string([](const TCefString* value) -> TCefv8Value* {
    g_seen_chars = value->str;
    Record("create_string", fakes::Text(value), Ptr(reinterpret_cast<void*>(value->dtor)));
    return nullptr;
  });
  ExportFake<&CefExports::cef_v8value_create_function> function([](const TCefString* name,
                                                                    TCefv8Handler* handler) -> TCefv8Value* {
    g_seen_chars = name->str;
    Record("create_function", fakes::Text(name), Ptr(handler), handler ? handler->base.get_refct(&handler->base) : 0);
    fakes::Release(handler);
    return nullptr;
  });
  const std::u16string text = u"Retrieving a parameter on a native object succeeded.";
  TCefv8ValueRef::CreateString(text);
  EXPECT_EQ(g_seen_chars, text.data());
  Ref<ICefv8Handler> handler = base::MakeRef<TCefv8HandlerOwn>();
  TCefBase* wire = WireOf(handler);
  const std::u16string name = u"GetMessage";
  TCefv8ValueRef::CreateFunction(name, handler);
  EXPECT_EQ(g_seen_chars, name.data());
  TCefv8ValueRef::CreateFunction(u"", nullptr);
  EXPECT_EQ(Calls(), (Log{"create_string \"Retrieving a parameter on a native object succeeded.\" null",
                          "create_function \"GetMessage\" " + Ptr(wire) + " 2", "create_function \"\" null 0"}));
  EXPECT_EQ(wire->get_refct(wire), 1) << "the runtime's reference was released again";
}

TEST_F(V8CreateTest, ObjectCreatorsHandUserDataAndAccessorOverWithOneReferenceEach) {
  ExportFake<&CefExports::cef_v8value_create_object> object([](TCefv8Value* userData) -> TCefv8Value* {
    Record("create_object", Ptr(userData));
    fakes::Release(userData);
    return Answer();
  });
  ExportFake<&CefExports::cef_v8value_create_object_with_accessor> withAccessor(
      [](TCefv8Value* userData, TCefV8Accessor* accessor) -> TCefv8Value* {
        Record("create_object_with_accessor", Ptr(userData), Ptr(accessor));
        fakes::Release(userData);
        fakes::Release(accessor);
        return Answer();
      });
  FakeV8Value data, made;
  Ref<ICefv8Value> userData = TCefv8ValueRef::UnWrap(data.Hand());
  Answers().object = made.Hand();
  EXPECT_TRUE(TCefv8ValueRef::CreateObject(userData));
  EXPECT_FALSE(TCefv8ValueRef::CreateObject(nullptr));
  Ref<TCefV8AccessorOwn> accessor = base::MakeRef<TCefV8AccessorOwn>();
  TCefv8ValueRef::CreateObjectWithAccessor(userData, accessor);
  TCefv8ValueRef::CreateObjectWithAccessor(nullptr, nullptr);
  EXPECT_EQ(Calls(), (Log{"create_object " + Ptr(&data.wire), "create_object null",
                          "create_object_with_accessor " + Ptr(&data.wire) + " " + Ptr(accessor->Struct()),
                          "create_object_with_accessor null null"}));
  EXPECT_EQ(accessor->RefCount(), 1);
  userData.reset();
  EXPECT_EQ(data.refs, 1);
  EXPECT_EQ(made.refs, 1);
}

TEST_F(V8CreateTest, AnAccessorFromProceduresIsHeldByTheRuntimeAloneAndAnEmptySetterRefusesWrites) {
  ExportFake<&CefExports::cef_v8value_create_object_with_accessor> withAccessor(
      [](TCefv8Value* userData, TCefV8Accessor* accessor) -> TCefv8Value* {
        fakes::Release(userData);
        fakes::Kept().push_back(&accessor->base);
        return nullptr;
      });
  std::vector<std::u16string> gets;
  TCefv8ValueRef::CreateObjectWithAccessorProc(
      nullptr,
      [&](const std::u16string& name, const Ref<ICefv8Value>&, Ref<ICefv8Value>&, const std::u16string&) {
        gets.push_back(name);
        return true;
      },
      nullptr);
  ASSERT_EQ(fakes::Kept().size(), 1u);
  auto* accessor = reinterpret_cast<TCefV8Accessor*>(fakes::Kept().back());
  fakes::Kept().clear();
  EXPECT_EQ(accessor->base.get_refct(&accessor->base), 1) << "held by the runtime alone";
  TCefString name = CefStringBorrow(u"test_param");
  TCefString exception{};
  TCefv8Value* retval = nullptr;
  EXPECT_EQ(accessor->get(accessor, &name, nullptr, &retval, &exception), 1);
  FakeV8Value written;
  EXPECT_EQ(accessor->set(accessor, &name, nullptr, written.Hand(), &exception), 0) << "no setter";
  EXPECT_EQ(gets, std::vector<std::u16string>{u"test_param"});
  EXPECT_EQ(written.refs, 1);
  fakes::Release(accessor);
}

TEST_F(V8CreateTest, ContextOperationsReachTheirMembersAndWrapTheirObjects) {
  fakes::FakeV8Context fake;
  fakes::FakeBrowser browser;
  fakes::FakeFrame frame;
  FakeV8Value global;
  Ref<ICefv8Context> context = TCefv8ContextRef::UnWrap(fake.Hand());
  Answers().object = browser.Hand();
  EXPECT_TRUE(context->GetBrowser());
  Answers().object = frame.Hand();
  EXPECT_TRUE(context->GetFrame());
  Answers().object = global.Hand();
  Ref<ICefv8Value> wrappedGlobal = context->GetGlobal();
  ASSERT_TRUE(wrappedGlobal);
  wrappedGlobal->IsObject();
  EXPECT_FALSE(context->GetBrowser());
  EXPECT_FALSE(context->GetFrame());
  EXPECT_FALSE(context->GetGlobal());
  Answers().boolean = 5;
  EXPECT_TRUE(context->Enter());
  Answers().boolean = 0;
  EXPECT_FALSE(context->Exit());
  EXPECT_EQ(Calls(), (Log{"get_browser", "get_frame", "get_global", "is_object", "get_browser", "get_frame",
                          "get_global", "enter", "exit"}));
  wrappedGlobal.reset();
  context.reset();
  EXPECT_EQ(fake.refs, 1);
  EXPECT_EQ(browser.refs, 1);
  EXPECT_EQ(frame.refs, 1);
  EXPECT_EQ(global.refs, 1);
}

fakes::FakeV8Context* g_context = nullptr;

TEST_F(V8CreateTest, CurrentAndEnteredContextsComeFromTheirOwnExports) {
  fakes::FakeV8Context context;
  g_context = &context;
  ExportFake<&CefExports::cef_v8context_get_current_context> current([]() -> TCefv8Context* {
    Record("get_current_context");
    return g_context->Hand();
  });
  ExportFake<&CefExports::cef_v8context_get_entered_context> entered([]() -> TCefv8Context* {
    Record("get_entered_context");
    return nullptr;
  });
  Ref<ICefv8Context> now = TCefv8ContextRef::Current();
  ASSERT_TRUE(now);
  EXPECT_FALSE(TCefv8ContextRef::Entered());
  EXPECT_EQ(Calls(), (Log{"get_current_context", "get_entered_context"}));
  now.reset();
  EXPECT_EQ(context.refs, 1);
}

TEST_F(V8CreateTest, RegisterExtensionBorrowsItsTextsAndHandsTheHandlerOverWithOneReference) {
  ExportFake<&CefExports::cef_register_extension> registration(
      [](const TCefString* name, const TCefString* code, TCefv8Handler* handler) -> TCefBool {
        Record("register_extension", fakes::Text(name), fakes::Text(code), Ptr(reinterpret_cast<void*>(name->dtor)),
               Ptr(reinterpret_cast<void*>(code->dtor)), Ptr(handler),
               handler ? handler->base.get_refct(&handler->base) : 0);
        fakes::Release(handler);
        return Answers().boolean;
      });
  Ref<ICefv8Handler> handler = base::MakeRef<TCefv8HandlerOwn>();
  TCefBase* wire = WireOf(handler);
  Answers().boolean = 2;
  EXPECT_TRUE(CefRegisterExtension(u"v8/app", u"var cef;", handler));
  Answers().boolean = 0;
  EXPECT_FALSE(CefRegisterExtension(u"v8/none", u"", nullptr));
  EXPECT_EQ(Calls(), (Log{"register_extension \"v8/app\" \"var cef;\" null null " + Ptr(wire) + " 2",
                          "register_extension \"v8/none\" \"\" null null null 0"}));
  EXPECT_EQ(wire->get_refct(wire), 1);
}

}  // namespace
