// Functions made with a handler, called from script and from the program (with and
// without a context), script functions called from the program, and objects whose
// properties ask an accessor.

#include "standin_script/script_fixture.h"

namespace {

using script_testing::NativeCall;
using script_testing::RuntimeRef;
using script_testing::ScriptTest;
using script_testing::TestAccessor;
using script_testing::TestHandler;
using script_testing::Value;
using script_testing::View;

template <class... V>
std::vector<Value> Values(V&&... values) {
  std::vector<Value> out;
  (out.push_back(std::forward<V>(values)), ...);
  return out;
}

class FunctionsTest : public ScriptTest {
 protected:
  // A handler that sums its integer arguments and keeps the last receiver it saw.
  base::Ref<TestHandler> Summer() {
    return base::MakeRef<TestHandler>([this](NativeCall& call) -> TCefBool {
      int32_t sum = 0;
      for (Value& argument : call.arguments) sum += argument->get_int_value(argument.get());
      receiver = std::move(call.receiver);
      *call.retval = Api().cef_v8value_create_int(sum);
      return -1;
    });
  }
  Value Function(const std::u16string& name, TCefv8Handler* handler) {
    TCefString n = View(name);
    return Value(Api().cef_v8value_create_function(&n, handler));
  }
  // execute_function(_with_context) with the arguments; the answer, the value and the
  // exception's text.
  struct Result {
    TCefBool answer;
    Value value;
    std::u16string exception;
  };
  Result Call(TCefv8Value* function, TCefv8Value* object, std::vector<Value> arguments,
              TCefv8Context* context = nullptr, bool withContext = false) {
    std::vector<TCefv8Value*> pointers;
    for (Value& argument : arguments) pointers.push_back(Pass(argument));
    TCefv8Value* retval = nullptr;
    TCefString exception{};
    TCefBool answer =
        withContext ? function->execute_function_with_context(function, context, object,
                                                               static_cast<uint32_t>(pointers.size()),
                                                               pointers.empty() ? nullptr : pointers.data(), &retval,
                                                               &exception)
                    : function->execute_function(function, object, static_cast<uint32_t>(pointers.size()),
                                                 pointers.empty() ? nullptr : pointers.data(), &retval, &exception);
    return {answer, Value(retval), TakeRecord(exception)};
  }
  Value receiver;
};

TEST_F(FunctionsTest, AFunctionWithAHandlerIsCalledFromScript) {
  auto handler = Summer();
  Value sum = Function(u"Sum", handler->Hand());
  EXPECT_EQ(Take(sum->get_function_name(sum.get())), u"Sum");
  TCefv8Handler* back = sum->get_function_handler(sum.get());
  EXPECT_EQ(back, handler->Struct<TCefv8Handler>());
  EXPECT_EQ(handler->RefCount(), 3) << "one for the function, one for the answer";
  back->base.release(&back->base);
  Value plain = Int(1);
  EXPECT_EQ(plain->get_function_handler(plain.get()), nullptr);

  Open(u"<script>var holder = { total: function() { return sum.apply(this, arguments); } };</script>");
  SetGlobal(u"sum", sum.get());
  EXPECT_EQ(Run(u"sum(1, 2, 3) + ' ' + sum.name"), u"6 Sum");
  EXPECT_EQ(handler->names.back(), u"Sum");
  EXPECT_EQ(handler->argument_counts.back(), 3u);
  EXPECT_EQ(Run(u"holder.total(4, 5)"), u"9");
  Value holder = Get(Global().get(), u"holder");
  EXPECT_EQ(receiver->is_same(receiver.get(), Pass(holder)), 1) << "the receiver is the caller's this";
  receiver.reset();
  holder.reset();
  Close();
}

TEST_F(FunctionsTest, TheProgramCallsFunctionsWithAndWithoutAContext) {
  auto handler = Summer();
  Value sum = Function(u"Sum", handler->Hand());
  Result plain = Call(sum.get(), nullptr, Values(Int(2), Int(3)));
  EXPECT_EQ(plain.answer, 1);
  ASSERT_TRUE(plain.value);
  EXPECT_EQ(plain.value->get_int_value(plain.value.get()), 5);
  EXPECT_EQ(plain.exception, u"");

  Open(u"<script>var marker = 'page global';</script>");
  RuntimeRef<TCefv8Context> context = Context();
  context->base.add_ref(&context->base);
  Result inPage = Call(sum.get(), nullptr, Values(), context.get(), true);
  EXPECT_EQ(inPage.answer, 1);
  ASSERT_TRUE(receiver);
  EXPECT_EQ(Text(Get(receiver.get(), u"marker").get()), u"page global") << "no receiver: the context's global";

  Value object(Api().cef_v8value_create_object(nullptr));
  Result onObject = Call(sum.get(), Pass(object), Values(Int(7)));
  EXPECT_EQ(onObject.value->get_int_value(onObject.value.get()), 7);
  EXPECT_EQ(receiver->is_same(receiver.get(), Pass(object)), 1);
  Call(sum.get(), nullptr, Values());
  EXPECT_EQ(handler->argument_counts.back(), 0u) << "no arguments: count 0";
  receiver.reset();
  context.reset();
  Close();
}

TEST_F(FunctionsTest, ScriptFunctionsAnswerValuesOrTheirExceptionAsText) {
  Open(u"<script>function twice(x) { return x * 2; }"
       u"function fail(why) { throw new Error(why); }"
       u"function self() { return this === window; }</script>");
  Value global = Global();
  Value twice = Get(global.get(), u"twice"), fail = Get(global.get(), u"fail"), self = Get(global.get(), u"self");
  EXPECT_EQ(Take(twice->get_function_name(twice.get())), u"twice");
  EXPECT_EQ(twice->get_function_handler(twice.get()), nullptr);
  Result doubled = Call(twice.get(), nullptr, Values(Double(1.25)));
  EXPECT_EQ(doubled.answer, 1);
  EXPECT_EQ(doubled.value->get_double_value(doubled.value.get()), 2.5);
  Result failed = Call(fail.get(), nullptr, Values(String(u"nope")));
  EXPECT_EQ(failed.answer, 0);
  EXPECT_FALSE(failed.value);
  EXPECT_EQ(failed.exception, u"Error: nope");
  EXPECT_EQ(Count("errors"), 0) << "the program got the error; nothing went uncaught";
  Result global_this = Call(self.get(), nullptr, Values());
  EXPECT_EQ(global_this.value->get_bool_value(global_this.value.get()), 1);
  Value notFunction = Int(3);
  EXPECT_EQ(Call(notFunction.get(), nullptr, Values(Int(1))).answer, 0);
  Close();
}

TEST_F(FunctionsTest, AccessorPropertiesAskTheProgram) {
  std::vector<std::u16string> written;
  auto accessor = base::MakeRef<TestAccessor>(
      [this](const std::u16string& name, TCefv8Value*, TCefv8Value** retval, TCefString* exception) -> TCefBool {
        if (name == u"bad") {
          Throw(exception, u"cannot read");
          return 1;
        }
        std::u16string text = u"read " + name;
        TCefString s = View(text);
        *retval = Api().cef_v8value_create_string(&s);
        return 1;
      },
      [&](const std::u16string& name, TCefv8Value*, TCefv8Value* value, TCefString*) -> TCefBool {
        written.push_back(name + u"=" + Text(value));
        return 0;
      });
  Value object(Api().cef_v8value_create_object_with_accessor(nullptr, accessor->Hand()));
  for (auto [key, attribute] : std::vector<std::pair<std::u16string, int32_t>>{
           {u"x", 0}, {u"fixed", 1}, {u"hidden", 2}, {u"kept", 4}, {u"bad", 0}}) {
    TCefString k = View(key);
    ASSERT_EQ(object->set_value_byaccessor(object.get(), &k, 0, attribute), 1) << testing::PrintToString(key);
  }
  Value plain(Api().cef_v8value_create_object(nullptr));
  TCefString k = View(u"x");
  EXPECT_EQ(plain->set_value_byaccessor(plain.get(), &k, 0, 0), 0) << "no accessor, no accessor properties";

  Open(u"<title>a</title>");
  SetGlobal(u"o", object.get());
  EXPECT_EQ(Run(u"o.x"), u"read x");
  EXPECT_EQ(Run(u"o.x = 5; o.x"), u"read x") << "a set answering 0 changes nothing";
  EXPECT_EQ(Run(u"o.fixed = 6; o.fixed"), u"read fixed");
  EXPECT_EQ(written, (std::vector<std::u16string>{u"x=5"})) << "a read-only property's setter is never asked";
  EXPECT_EQ(Run(u"Object.keys(o).join()"), u"x,fixed,kept,bad");
  EXPECT_EQ(Run(u"delete o.kept; typeof o.kept"), u"string");
  EXPECT_EQ(Run(u"try { o.bad; 'no' } catch (e) { e.message }"), u"cannot read");
  EXPECT_EQ(Text(Get(object.get(), u"x").get()), u"read x") << "the program's reads go through it too";
  EXPECT_GE(accessor->gets, 5);
  object.reset();
  Close();
  EXPECT_EQ(accessor->RefCount(), 1) << "the object's accessor was released with it";
}

}  // namespace
