// Extensions: their code runs in every page before the page's scripts, and their native
// functions reach the handler with the name, receiver and arguments, answering a value, an
// exception or nothing; the calling context during the call.

#include "standin_script/script_fixture.h"

namespace {

using script_testing::NativeCall;
using script_testing::RuntimeRef;
using script_testing::ScriptTest;
using script_testing::TestHandler;
using script_testing::Value;
using script_testing::View;

constexpr char16_t kCalculator[] =
    u"var calc;\n"
    u"if (!calc) calc = {};\n"
    u"(function() {\n"
    u"  calc.add = function(a, b) { native function Add(); return Add(a, b); };\n"
    u"  calc.fail = function() { native function Fail(); return Fail(); };\n"
    u"  calc.decline = function() { native function Decline(); return Decline(); };\n"
    u"  calc.nothing = function() { native function Nothing(); return Nothing(); };\n"
    u"  calc.count = function() { native   function\n   Count ( ) ; return Count.apply(null, arguments); };\n"
    u"})();\n";

class ExtensionsTest : public ScriptTest {
 protected:
  // The calculator's handler: Add sums two integers, Fail throws, Decline answers false
  // (with a value that must not be used), Nothing answers true without a value, Count
  // answers its argument count.
  base::Ref<TestHandler> Calculator() {
    return base::MakeRef<TestHandler>([this](NativeCall& call) -> TCefBool {
      if (call.name == u"Add") {
        *call.retval = Api().cef_v8value_create_int(call.arguments[0]->get_int_value(call.arguments[0].get()) +
                                                    call.arguments[1]->get_int_value(call.arguments[1].get()));
        return -1;
      }
      if (call.name == u"Fail") {
        Throw(call.exception, u"bad input");
        return -1;
      }
      if (call.name == u"Decline") {
        *call.retval = Api().cef_v8value_create_int(99);
        return 0;
      }
      if (call.name == u"Count") {
        *call.retval = Api().cef_v8value_create_int(static_cast<int32_t>(call.arguments.size()));
        return -1;
      }
      return call.name == u"Nothing" ? -1 : 0;
    });
  }
};

TEST_F(ExtensionsTest, NativeFunctionsReachTheHandlerWithNameAndArguments) {
  auto handler = Calculator();
  RegisterExtension(u"test/calc", kCalculator, handler->Hand());
  Open(u"<title>calc</title>");
  EXPECT_EQ(Run(u"calc.add(2, 3)"), u"5");
  ASSERT_EQ(handler->calls, 1);
  EXPECT_EQ(handler->names.back(), u"Add");
  EXPECT_EQ(handler->argument_counts.back(), 2u);
  EXPECT_EQ(Run(u"calc.count()"), u"0") << "no arguments, an empty list";
  EXPECT_EQ(Run(u"calc.count('a', {}, null, undefined)"), u"4");
  EXPECT_EQ(Run(u"typeof Add + typeof Count + typeof __standinNative__ + typeof __standinExtensionScope__"),
            u"undefinedundefinedundefinedundefined")
      << "the native functions are the extension's own";
  EXPECT_EQ(Count("errors"), 0);
  Close();
}

TEST_F(ExtensionsTest, AnswersBecomeValuesExceptionsOrUndefined) {
  auto handler = Calculator();
  RegisterExtension(u"test/calc", kCalculator, handler->Hand());
  Open(u"<title>calc</title>");
  EXPECT_EQ(Run(u"try { calc.fail(); 'no' } catch (e) { (e instanceof Error) + ' ' + e.message }"), u"true bad input");
  EXPECT_EQ(RunThrowing(u"calc.fail()"), u"Error: bad input");
  EXPECT_EQ(Run(u"String(calc.decline())"), u"undefined") << "an unhandled call gives undefined";
  EXPECT_EQ(Run(u"String(calc.nothing())"), u"undefined");
  EXPECT_EQ(handler->calls, 4);
  Close();
}

TEST_F(ExtensionsTest, TheReceiverIsTheCallersThis) {
  Value seen;
  auto handler = base::MakeRef<TestHandler>([&](NativeCall& call) -> TCefBool {
    seen = std::move(call.receiver);
    return -1;
  });
  RegisterExtension(u"test/who", u"var who = function() { native function Who(); return Who(); };", handler->Hand());
  Open(u"<title>who</title>");
  Run(u"who()");
  ASSERT_TRUE(seen);
  Value global = Global();
  EXPECT_EQ(seen->is_same(seen.get(), Pass(global)), 1)
      << "a plain call's receiver is the global";
  seen.reset();
  Close();
}

TEST_F(ExtensionsTest, EveryPageRunsTheExtensionsInOrderBeforeItsScripts) {
  auto first = base::MakeRef<TestHandler>([this](NativeCall& call) -> TCefBool {
    *call.retval = Api().cef_v8value_create_int(static_cast<int32_t>(call.arguments.size()));
    return -1;
  });
  auto second = base::MakeRef<TestHandler>();
  RegisterExtension(u"test/first", u"var shared = { arity: function() { native function Arity(); return Arity.apply(null, arguments); } };",
                    first->Hand());
  RegisterExtension(u"test/second", u"shared.second = shared.arity(1, 2, 3);", second->Hand());
  Open(u"<script>document.title = 'arity ' + shared.second;</script>", u"http://pages.example/1.html");
  EXPECT_EQ(BrowserText("title"), u"arity 3");
  Load(u"<script>document.title = typeof shared.arity;</script>", u"http://pages.example/2.html");
  EXPECT_EQ(BrowserText("title"), u"function") << "the next page has the extension again";
  EXPECT_EQ(first->calls, 2);
  EXPECT_EQ(Count("errors"), 0);
  Close();
}

TEST_F(ExtensionsTest, TheProgramsOwnExtensionWorksInEveryPage) {
  // The program's extension, character for character: native functions behind properties
  // made with __defineGetter__ and __defineSetter__, and behind plain functions.
  const std::u16string code =
      u"var cef;if (!cef)  cef = {};if (!cef.app)  cef.app = {};(function() {  cef.app.__defineGetter__('test_param', "
      u"function() {    native function GetTestParam();    return GetTestParam();  });  "
      u"cef.app.__defineSetter__('test_param', function(b) {    native function SetTestParam();    if(b) "
      u"SetTestParam(b);  });  cef.app.open_bidview = function(b) {    native function OpenBidView();    if(b) "
      u"OpenBidView(b);  };  cef.app.open_sucview = function(b) {    native function OpenSucView();    if(b) "
      u"OpenSucView(b);  };  cef.app.test_object = function() {    native function GetTestObject();    return "
      u"GetTestObject();  };  cef.app.go_g2b = function(a,b) {    native function GoG2b();    if (a && b) "
      u"GoG2b(a,b);  };  cef.app.open_home = function() {    native function OpenHome();    OpenHome();  };})();";
  ASSERT_EQ(code.size(), 795u);
  std::u16string param;
  std::vector<std::u16string> opened;
  TestHandler* self = nullptr;
  auto handler = base::MakeRef<TestHandler>([&](NativeCall& call) -> TCefBool {
    auto string = [&](const std::u16string& text) {
      TCefString s = View(text);
      return Api().cef_v8value_create_string(&s);
    };
    if (call.name == u"SetTestParam") {
      if (call.arguments.size() != 1 || !call.arguments[0]->is_string(call.arguments[0].get())) return 0;
      param = Text(call.arguments[0].get());
    } else if (call.name == u"GetTestParam") {
      *call.retval = string(param);
    } else if (call.name == u"GetTestObject") {
      Value object(Api().cef_v8value_create_object(nullptr));
      Set(object.get(), u"param", Value(string(u"Retrieving a parameter on a native object succeeded.")).get());
      TCefString name = View(u"GetMessage");
      Set(object.get(), u"GetMessage", Value(Api().cef_v8value_create_function(&name, self->Hand())).get());
      *call.retval = Pass(object);
    } else if (call.name == u"GetMessage") {
      *call.retval = string(u"Calling a function on a native object succeeded.");
    } else if (call.name == u"OpenBidView" || call.name == u"GoG2b") {
      std::u16string line = call.name;
      for (Value& argument : call.arguments) line.append(u" ").append(Text(argument.get()));
      opened.push_back(line);
    } else {
      return 0;
    }
    return -1;
  });
  self = handler.get();
  RegisterExtension(u"v8/app", code, handler->Hand());
  Open(u"<title>p</title>");
  EXPECT_EQ(Run(u"cef.app.test_param"), u"");
  Run(u"cef.app.test_param = 'x';");
  EXPECT_EQ(Run(u"cef.app.test_param"), u"x");
  Run(u"cef.app.test_param = ''; cef.app.test_param = 0; cef.app.test_param = 5;");
  EXPECT_EQ(Run(u"cef.app.test_param"), u"x") << "falsy values never reach the handler, a number is refused";
  EXPECT_EQ(Run(u"var o = cef.app.test_object(); o.param + ' ' + o.GetMessage()"),
            u"Retrieving a parameter on a native object succeeded. Calling a function on a native object succeeded.");
  Run(u"cef.app.open_bidview(''); cef.app.open_bidview(); cef.app.open_bidview('http://bids.example/1');"
      u"cef.app.go_g2b('x', ''); cef.app.go_g2b('', 'y'); cef.app.go_g2b('20240101', '00');");
  EXPECT_EQ(opened, (std::vector<std::u16string>{u"OpenBidView http://bids.example/1", u"GoG2b 20240101 00"}));
  Load(u"<title>later</title>", u"http://pages.example/later.html");
  EXPECT_EQ(Run(u"cef.app.test_param"), u"x") << "the handler's state outlives the page";
  EXPECT_EQ(Count("errors"), 0);
  Close();
}

TEST_F(ExtensionsTest, TheCallingContextIsCurrentAndEnteredDuringTheCall) {
  std::u16string currentUrl, enteredUrl;
  auto urlOf = [this](TCefv8Context* context) {
    if (!context) return std::u16string(u"(no context)");
    RuntimeRef<TCefv8Context> held(context);
    RuntimeRef<TCefFrame> frame(held->get_frame(held.get()));
    return frame ? Take(frame->get_url(frame.get())) : std::u16string(u"(no frame)");
  };
  auto handler = base::MakeRef<TestHandler>([&](NativeCall&) -> TCefBool {
    currentUrl = urlOf(Api().cef_v8context_get_current_context());
    enteredUrl = urlOf(Api().cef_v8context_get_entered_context());
    return -1;
  });
  RegisterExtension(u"test/where", u"var where = function() { native function Where(); Where(); };", handler->Hand());
  Open(u"<script>where();</script>", u"http://pages.example/here.html");
  EXPECT_EQ(currentUrl, u"http://pages.example/here.html");
  EXPECT_EQ(enteredUrl, u"http://pages.example/here.html");
  EXPECT_EQ(Api().cef_v8context_get_current_context(), nullptr) << "outside any script there is none";

  RuntimeRef<TCefv8Context> context = Context();
  ASSERT_EQ(context->enter(context.get()), 1);
  EXPECT_EQ(urlOf(Api().cef_v8context_get_current_context()), u"http://pages.example/here.html");
  EXPECT_EQ(context->exit(context.get()), 1);
  EXPECT_EQ(context->exit(context.get()), 0) << "nothing left to exit";
  EXPECT_EQ(Api().cef_v8context_get_entered_context(), nullptr);
  context.reset();
  Close();
}

TEST_F(ExtensionsTest, ErrorsInAnExtensionAreRecordedUnderItsName) {
  auto handler = base::MakeRef<TestHandler>();
  RegisterExtension(u"test/broken", u"var fine = 1;\nundefinedFunction();", handler->Hand());
  Open(u"<script>document.title = 'page ran';</script>");
  EXPECT_EQ(BrowserText("title"), u"page ran");
  ASSERT_GE(Count("errors"), 1);
  EXPECT_EQ(Record("errors", 0, "url"), u"test/broken");
  EXPECT_EQ(Record("errors", 0, "line"), u"2");
  EXPECT_EQ(Run(u"fine"), u"1") << "its top-level var became a global";
  Close();
}

}  // namespace
