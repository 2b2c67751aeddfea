// The page extension's handler on its own: its script text and its dispatch as the runtime
// calls it.

#include "shell/extension.h"

#include <gtest/gtest.h>

#include "cef/ceflib/strings.h"
#include "shell/config.h"
#include "support/fake_system.h"
#include "support/standin_control.h"

namespace {

using namespace cef;
using testing_support::FakeSystem;

TEST(ExtensionScriptTest, TheRegisteredTextIsTheServicesOwnCharacterForCharacter) {
  // The lines as the service's pages were written against, joined with nothing between.
  const std::u16string expected =
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
  ASSERT_EQ(expected.size(), 795u);
  EXPECT_EQ(shell::kExtensionScript, expected);
  EXPECT_EQ(std::u16string(shell::kExtensionName), u"v8/app");
}

// The handler as the runtime sees it: called through its structure's execute member.
class ExtensionHandlerTest : public testing_support::StandinTest {
 protected:
  void SetUp() override {
    testing_support::ProgramStandin();
    StandinTest::SetUp();
  }
  void TearDown() override {
    returned = nullptr;
    StandinTest::TearDown();
  }

  // One native call as the runtime makes it, each argument carrying a reference that the
  // call takes over; answers the member's result and keeps the returned value in `returned`.
  TCefBool Call(const std::u16string& name, const TCefv8ValueArray& arguments = {}) {
    std::vector<TCefv8Value*> wires;
    for (const auto& argument : arguments) wires.push_back(CefWrapAs<TCefv8Value>(argument));
    TCefString wireName = CefStringView(name);
    auto* wire = reinterpret_cast<TCefv8Handler*>(handler->Wrap());
    TCefv8Value* result = nullptr;
    TCefString exception{};
    TCefBool answer = wire->execute(wire, &wireName, nullptr, static_cast<uint32_t>(wires.size()),
                                    wires.empty() ? nullptr : wires.data(), &result, &exception);
    wire->base.release(&wire->base);
    EXPECT_EQ(exception.str, nullptr) << "the handler sets no exception";
    returned = TCefv8ValueRef::UnWrap(result);
    return answer;
  }

  std::u16string TestParam() {
    EXPECT_EQ(Call(u"GetTestParam"), -1);
    return returned && returned->IsString() ? returned->GetStringValue() : u"(no string)";
  }

  static Ref<ICefv8Value> Text(const std::u16string& text) { return TCefv8ValueRef::CreateString(text); }

  Ref<shell::TExtension> handler = base::MakeRef<shell::TExtension>();
  Ref<ICefv8Value> returned;
  FakeSystem system;
};

TEST_F(ExtensionHandlerTest, NamesMatchExactlyAndUnknownOnesAreDeclined) {
  for (const char16_t* name : {u"Unknown", u"getmessage", u"GETMESSAGE", u"GetMessage ", u"", u"OpenBidview"}) {
    EXPECT_EQ(Call(name, {Text(u"http://x.example/")}), 0) << ::testing::PrintToString(std::u16string(name));
    EXPECT_FALSE(returned);
  }
  EXPECT_TRUE(system.shellCalls.empty());
  EXPECT_EQ(Call(u"GetMessage"), -1);
  ASSERT_TRUE(returned);
  EXPECT_EQ(returned->GetStringValue(), u"Calling a function on a native object succeeded.");
}

TEST_F(ExtensionHandlerTest, TheTestParameterTakesOneStringOnly) {
  EXPECT_EQ(TestParam(), u"") << "empty at creation";
  EXPECT_EQ(Call(u"SetTestParam", {Text(u"입찰")}), -1);
  EXPECT_FALSE(returned) << "no value for a setter";
  EXPECT_EQ(TestParam(), u"입찰");

  EXPECT_EQ(Call(u"SetTestParam"), 0) << "no argument";
  EXPECT_EQ(Call(u"SetTestParam", {Text(u"a"), Text(u"b")}), 0) << "two arguments";
  EXPECT_EQ(Call(u"SetTestParam", {TCefv8ValueRef::CreateInt(5)}), 0) << "a number";
  EXPECT_EQ(Call(u"SetTestParam", {TCefv8ValueRef::CreateNull()}), 0) << "null";
  EXPECT_EQ(Call(u"SetTestParam", {nullptr}), 0) << "a missing value";
  EXPECT_EQ(TestParam(), u"입찰") << "the refused calls kept the value";
  EXPECT_EQ(Call(u"SetTestParam", {Text(u"")}), -1) << "an empty string is a string";
  EXPECT_EQ(TestParam(), u"");
}

TEST_F(ExtensionHandlerTest, TheTestObjectIsNewEachTimeWithItsParameterAndFunction) {
  ASSERT_EQ(Call(u"GetTestObject"), -1);
  Ref<ICefv8Value> first = returned;
  ASSERT_TRUE(first && first->IsObject());
  Ref<ICefv8Value> param = first->GetValueByKey(u"param");
  ASSERT_TRUE(param);
  EXPECT_EQ(param->GetStringValue(), u"Retrieving a parameter on a native object succeeded.");
  Ref<ICefv8Value> function = first->GetValueByKey(u"GetMessage");
  ASSERT_TRUE(function && function->IsFunction());
  EXPECT_EQ(function->GetFunctionName(), u"GetMessage");
  ASSERT_EQ(Call(u"GetTestObject"), -1);
  EXPECT_FALSE(returned->IsSame(first)) << "a new object on every call";
}

TEST_F(ExtensionHandlerTest, NothingOpensWithoutAServicePageCalling) {
  // No script runs here, so there is no calling page: the call is answered but opens nothing.
  EXPECT_EQ(Call(u"OpenBidView", {Text(u"http://docs.example/a.hwp")}), -1);
  EXPECT_EQ(Call(u"OpenSucView", {Text(u"http://docs.example/b.hwp")}), -1);
  EXPECT_EQ(Call(u"OpenHome"), -1);
  EXPECT_FALSE(returned);
  EXPECT_TRUE(system.shellCalls.empty());
}

}  // namespace
