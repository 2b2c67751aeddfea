// Script values crossing for real: an extension registered through the layer, called by
// the scripts of pages the test service serves, in a stand-in browser.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ceflib/browsing_fixture.h"
#include "cef/ceflib/extension.h"
#include "cef/ceflib/v8_accessor.h"
#include "cef/ceflib/v8_context.h"
#include "cef/ceflib/v8_handler.h"
#include "cef/ceflib/v8_value.h"
#include "platform/text.h"
#include "support/standin_control.h"
#include "support/test_service.h"

namespace {

using namespace cef;
using testing_support::ProgramStandin;

// The test's own extension: every native function of its script reaches Native, which
// each test sets; a call that finds no body there is declined.
class TestExtension : public TCefv8HandlerOwn {
 public:
  using Body = std::function<bool(const std::u16string& name, const Ref<ICefv8Value>& obj,
                                  const TCefv8ValueArray& arguments, Ref<ICefv8Value>& retval,
                                  std::u16string& exception)>;
  Body Native;
  int calls = 0;

  bool Execute(const std::u16string& name, const Ref<ICefv8Value>& obj, const TCefv8ValueArray& arguments,
               Ref<ICefv8Value>& retval, std::u16string& exception) override {
    ++calls;
    return Native ? Native(name, obj, arguments, retval, exception) : false;
  }
};

// A native function per use: Probe takes any arguments, Make answers a value, Call hands a
// script function over.
const char16_t kExtensionCode[] =
    u"var qvn; if (!qvn) qvn = {};"
    u"(function() {"
    u"  qvn.probe = function() { native function Probe(); return Probe.apply(this, arguments); };"
    u"  qvn.make = function(kind) { native function Make(); return Make(kind); };"
    u"  qvn.call = function(f) { native function Call(); return Call(f); };"
    u"})();";

TestExtension& Extension() {
  // Registered once for the program: the runtime holds it until it shuts down.
  static TestExtension* extension = [] {
    auto handler = base::MakeRef<TestExtension>();
    EXPECT_TRUE(CefRegisterExtension(u"v8/qvn-test", kExtensionCode, handler));
    return handler.get();
  }();
  return *extension;
}

class ScriptingTest : public browsing_testing::BrowsingTest {
 protected:
  void SetUp() override {
    testing_support::ProgramStandin();
    Extension();
    BrowsingTest::SetUp();
    Extension().Native = nullptr;
    Extension().calls = 0;
  }

  void TearDown() override {
    Extension().Native = nullptr;
    BrowsingTest::TearDown();
  }

  // Loads a page of the service whose one script is code, and answers the page's title
  // once its scripts have run.
  std::u16string RunPage(const std::string& code) {
    url_ = Service(("/script-page?code=" + testing_support::QueryEscape(code)).c_str());
    Load(url_);
    return BrowserText("title");
  }

  std::u16string url_;
};

TEST_F(ScriptingTest, ArgumentsOfEveryKindReachTheNativeFunction) {
  struct Seen {
    std::u16string name;
    size_t count = 0;
    bool undefined = false, null = false, boolean = false, integer = false, dbl = false, date = false,
         string = false, object = false, array = false, function = false, nullElement = true;
    int32_t intValue = 0, arrayLength = 0, keysAnswer = 0;
    double doubleValue = 0, dateValue = 0;
    std::u16string text;
    std::vector<std::u16string> keys{u"kept"};
    std::u16string frameUrl;
  } seen;
  Extension().Native = [&](const std::u16string& name, const Ref<ICefv8Value>& obj, const TCefv8ValueArray& args,
                           Ref<ICefv8Value>& retval, std::u16string&) {
    seen.name = name;
    seen.count = args.size();
    if (args.size() != 10) return false;
    seen.nullElement = false;
    for (const auto& a : args) seen.nullElement |= !a;
    if (seen.nullElement) return false;
    seen.undefined = args[0]->IsUndefined();
    seen.null = args[1]->IsNull();
    seen.boolean = args[2]->IsBool() && args[2]->GetBoolValue();
    seen.integer = args[3]->IsInt();
    seen.intValue = args[3]->GetIntValue();
    seen.dbl = args[4]->IsDouble() && !args[4]->IsInt();
    seen.doubleValue = args[4]->GetDoubleValue();
    seen.date = args[5]->IsDate();
    seen.dateValue = args[5]->GetDateValue();
    seen.string = args[6]->IsString();
    seen.text = args[6]->GetStringValue();
    seen.object = args[7]->IsObject() && !args[7]->IsArray();
    seen.keysAnswer = args[7]->GetKeys(seen.keys);
    seen.array = args[8]->IsArray();
    seen.arrayLength = args[8]->GetArrayLength();
    seen.function = args[9]->IsFunction();
    if (Ref<ICefv8Context> context = TCefv8ContextRef::Current())
      if (Ref<ICefFrame> frame = context->GetFrame()) seen.frameUrl = frame->GetUrl();
    retval = TCefv8ValueRef::CreateString(u"probed");
    return true;
  };
  std::u16string title = RunPage(
      "document.title = qvn.probe(undefined, null, true, 42, 2.5, new Date(Date.UTC(2000, 0, 1)), '입찰 공고',"
      " {a: 1, b: 'x'}, [1, 2, 3], function() {});");
  EXPECT_EQ(title, u"probed");
  EXPECT_EQ(seen.name, u"Probe");
  EXPECT_EQ(seen.count, 10u);
  EXPECT_FALSE(seen.nullElement);
  EXPECT_TRUE(seen.undefined);
  EXPECT_TRUE(seen.null);
  EXPECT_TRUE(seen.boolean);
  EXPECT_TRUE(seen.integer);
  EXPECT_EQ(seen.intValue, 42);
  EXPECT_TRUE(seen.dbl);
  EXPECT_DOUBLE_EQ(seen.doubleValue, 2.5);
  EXPECT_TRUE(seen.date);
  // Midnight UTC is 09:00 in Seoul: 1 January 2000 as a local date-time value.
  EXPECT_NEAR(seen.dateValue, 36526.375, 1e-9);
  EXPECT_TRUE(seen.string);
  EXPECT_EQ(seen.text, u"입찰 공고");
  EXPECT_TRUE(seen.object);
  EXPECT_EQ(seen.keys, (std::vector<std::u16string>{u"kept", u"a", u"b"})) << "keys are appended";
  EXPECT_NE(seen.keysAnswer, 3) << "the runtime's own answer, not the number appended";
  EXPECT_TRUE(seen.array);
  EXPECT_EQ(seen.arrayLength, 3);
  EXPECT_TRUE(seen.function);
  EXPECT_EQ(seen.frameUrl, url_) << "the current context is the calling page's";
}

TEST_F(ScriptingTest, ValuesOfEveryKindComeBackToTheScript) {
  Extension().Native = [](const std::u16string& name, const Ref<ICefv8Value>&, const TCefv8ValueArray& args,
                          Ref<ICefv8Value>& retval, std::u16string&) {
    std::u16string kind = args.size() == 1 ? args[0]->GetStringValue() : u"";
    if (kind == u"undefined") retval = TCefv8ValueRef::CreateUndefined();
    else if (kind == u"null") retval = TCefv8ValueRef::CreateNull();
    else if (kind == u"bool") retval = TCefv8ValueRef::CreateBool(true);
    else if (kind == u"int") retval = TCefv8ValueRef::CreateInt(-7);
    else if (kind == u"double") retval = TCefv8ValueRef::CreateDouble(0.25);
    else if (kind == u"date") retval = TCefv8ValueRef::CreateDate(36526.375);  // 09:00 local is midnight UTC
    else if (kind == u"string") retval = TCefv8ValueRef::CreateString(u"낙찰");
    else if (kind == u"array") {
      retval = TCefv8ValueRef::CreateArray();
      retval->SetValueByIndex(0, TCefv8ValueRef::CreateInt(1));
      retval->SetValueByIndex(1, TCefv8ValueRef::CreateString(u"two"));
    } else if (kind == u"nothing") {
      return true;  // handled, with no value
    } else {
      return false;
    }
    return true;
  };
  std::u16string title = RunPage(
      "var kinds = ['undefined', 'null', 'bool', 'int', 'double', 'date', 'string', 'array', 'nothing', 'unknown'];"
      "var out = [];"
      "for (var i = 0; i < kinds.length; ++i) {"
      "  var v = qvn.make(kinds[i]);"
      "  out.push(v instanceof Date ? 'date:' + v.getTime() : v instanceof Array ? 'array:' + v.join('+')"
      "           : v === null ? 'null' : typeof v + ':' + v);"
      "}"
      "document.title = out.join(' ');");
  EXPECT_EQ(title, u"undefined:undefined null boolean:true number:-7 number:0.25 date:946684800000 string:낙찰 "
                   u"array:1+two undefined:undefined undefined:undefined");
}

TEST_F(ScriptingTest, AnExceptionTextIsThrownIntoTheScript) {
  Extension().Native = [](const std::u16string&, const Ref<ICefv8Value>&, const TCefv8ValueArray&,
                          Ref<ICefv8Value>&, std::u16string& exception) {
    exception = u"입찰 번호가 없습니다";
    return true;
  };
  EXPECT_EQ(RunPage("try { qvn.make('x'); document.title = 'no error'; }"
                    "catch (e) { document.title = 'caught: ' + e.message; }"),
            u"caught: 입찰 번호가 없습니다");
}

TEST_F(ScriptingTest, NativeObjectsAndFunctionsAreCalledBackFromTheScript) {
  auto greeter = base::MakeRef<TestExtension>();
  greeter->Native = [](const std::u16string& name, const Ref<ICefv8Value>& obj, const TCefv8ValueArray& args,
                       Ref<ICefv8Value>& retval, std::u16string&) {
    std::u16string who = args.empty() ? u"?" : args[0]->GetStringValue();
    retval = TCefv8ValueRef::CreateString(name + u" " + who + (obj && obj->IsObject() ? u" on an object" : u""));
    return true;
  };
  Extension().Native = [&](const std::u16string&, const Ref<ICefv8Value>&, const TCefv8ValueArray&,
                           Ref<ICefv8Value>& retval, std::u16string&) {
    retval = TCefv8ValueRef::CreateObject(nullptr);
    retval->SetValueByKey(u"param", TCefv8ValueRef::CreateString(u"a parameter"));
    retval->SetValueByKey(u"greet", TCefv8ValueRef::CreateFunction(u"greet", greeter));
    return true;
  };
  EXPECT_EQ(RunPage("var o = qvn.make('object'); document.title = o.param + ', ' + o.greet('Kim');"),
            u"a parameter, greet Kim on an object");
  EXPECT_EQ(greeter->calls, 1);
}

TEST_F(ScriptingTest, AnAccessorWithoutASetterReportsFalseAndKeepsTheValue) {
  int gets = 0;
  Extension().Native = [&](const std::u16string&, const Ref<ICefv8Value>&, const TCefv8ValueArray&,
                           Ref<ICefv8Value>& retval, std::u16string&) {
    retval = TCefv8ValueRef::CreateObjectWithAccessorProc(
        nullptr,
        [&](const std::u16string& name, const Ref<ICefv8Value>&, Ref<ICefv8Value>& value, const std::u16string&) {
          ++gets;
          value = TCefv8ValueRef::CreateString(u"got " + name);
          return true;
        },
        nullptr);
    return retval->SetValueByAccessor(u"prop", 0, 0);
  };
  EXPECT_EQ(RunPage("var o = qvn.make('accessor'); var before = o.prop; o.prop = 'changed';"
                    "document.title = before + ' / ' + o.prop;"),
            u"got prop / got prop");
  EXPECT_EQ(gets, 2);
}

TEST_F(ScriptingTest, NativeCodeCallsAScriptFunctionWithAndWithoutArguments) {
  std::u16string none, some, thrown;
  bool threw = true;
  Extension().Native = [&](const std::u16string&, const Ref<ICefv8Value>&, const TCefv8ValueArray& args,
                           Ref<ICefv8Value>& retval, std::u16string&) {
    if (args.size() != 1 || !args[0]->IsFunction()) return false;
    Ref<ICefv8Value> result;
    std::u16string exception;
    if (args[0]->ExecuteFunction(nullptr, {}, result, exception) && result) none = result->GetStringValue();
    result = nullptr;
    args[0]->ExecuteFunction(nullptr, {TCefv8ValueRef::CreateInt(2), TCefv8ValueRef::CreateString(u"b")}, result,
                             exception);
    if (result) some = result->GetStringValue();
    result = nullptr;
    Ref<ICefv8Value> bad = TCefv8ValueRef::CreateString(u"throw");
    threw = !args[0]->ExecuteFunction(nullptr, {bad}, result, exception);
    thrown = exception;
    return true;
  };
  RunPage("qvn.call(function(a, b) {"
          "  if (a === 'throw') throw new Error('refused');"
          "  return arguments.length + ':' + (a === undefined ? '' : a + b);"
          "});");
  EXPECT_EQ(none, u"0:");
  EXPECT_EQ(some, u"2:2b");
  EXPECT_TRUE(threw);
  EXPECT_NE(thrown.find(u"refused"), std::u16string::npos) << platform::Utf16ToUtf8(thrown);
}

TEST_F(ScriptingTest, AnUnhandledCallGivesUndefined) {
  EXPECT_EQ(RunPage("document.title = typeof qvn.make('anything');"), u"undefined");
  EXPECT_EQ(Extension().calls, 1);
}

}  // namespace
