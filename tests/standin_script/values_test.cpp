// Values made by the creators and read back, in and out of pages: kinds, numbers, UTF-16
// text, dates in UTC, properties by key and index, user data, accessors, and what releasing
// a value lets go.

#include <cmath>

#include "standin_script/script_fixture.h"

namespace {

using script_testing::RuntimeRef;
using script_testing::ScriptTest;
using script_testing::TestAccessor;
using script_testing::TestHandler;
using script_testing::Value;
using script_testing::View;

using ValuesTest = ScriptTest;

// The kind tests' answers as letters: undefined, null, bool, int, double, date, string,
// object, array, function.
std::string Kinds(TCefv8Value* v) {
  std::string kinds;
  auto add = [&](TCefBool answer, char letter) {
    if (answer) kinds.push_back(letter);
  };
  add(v->is_undefined(v), 'u');
  add(v->is_null(v), 'n');
  add(v->is_bool(v), 'b');
  add(v->is_int(v), 'i');
  add(v->is_double(v), 'd');
  add(v->is_date(v), 't');
  add(v->is_string(v), 's');
  add(v->is_object(v), 'o');
  add(v->is_array(v), 'a');
  add(v->is_function(v), 'f');
  return kinds;
}

TEST_F(ValuesTest, EveryKindAnswersItsOwnTests) {
  TCefTime when{2024, 2, 4, 29, 13, 45, 30, 123};
  EXPECT_EQ(Kinds(Value(Api().cef_v8value_create_undefined()).get()), "u");
  EXPECT_EQ(Kinds(Value(Api().cef_v8value_create_null()).get()), "n");
  EXPECT_EQ(Kinds(Value(Api().cef_v8value_create_bool(1)).get()), "b");
  EXPECT_EQ(Kinds(Int(-7).get()), "id");
  EXPECT_EQ(Kinds(Double(2.5).get()), "d");
  EXPECT_EQ(Kinds(Double(4294967296.0).get()), "d") << "an integer beyond 32 bits is no int";
  EXPECT_EQ(Kinds(Double(-2147483648.0).get()), "id");
  EXPECT_EQ(Kinds(Value(Api().cef_v8value_create_date(&when)).get()), "to");
  EXPECT_EQ(Kinds(String(u"s").get()), "s");
  EXPECT_EQ(Kinds(Value(Api().cef_v8value_create_object(nullptr)).get()), "o");
  EXPECT_EQ(Kinds(Value(Api().cef_v8value_create_array()).get()), "oa");
  TCefString name = View(u"f");
  EXPECT_EQ(Kinds(Value(Api().cef_v8value_create_function(&name, nullptr)).get()), "of");
}

TEST_F(ValuesTest, NumbersBooleansAndTextReadBack) {
  Value i = Int(-123456), d = Double(0.1 + 0.2), t = Value(Api().cef_v8value_create_bool(1));
  EXPECT_EQ(i->get_int_value(i.get()), -123456);
  EXPECT_EQ(i->get_double_value(i.get()), -123456.0);
  EXPECT_EQ(d->get_double_value(d.get()), 0.1 + 0.2);
  EXPECT_EQ(d->get_int_value(d.get()), 0);
  EXPECT_EQ(t->get_bool_value(t.get()), 1);
  EXPECT_EQ(Text(i.get()), u"-123456") << "other kinds give what String() gives";
  // Hangul, a pair of surrogates and a lone one go through unchanged.
  std::u16string text = u"가나 \U0001F600 ";
  text.push_back(u'\xD800');
  Value s = String(text);
  EXPECT_EQ(Text(s.get()), text);
  Open(u"<title>t</title>");
  SetGlobal(u"s", s.get());
  EXPECT_EQ(Run(u"s.length"), u"7") << "script sees UTF-16 code units";
  EXPECT_EQ(Run(u"s.charCodeAt(3).toString(16) + s.charCodeAt(6).toString(16)"), u"d83dd800");
  Close();
}

TEST_F(ValuesTest, DatesCrossInUtc) {
  TCefTime when{2024, 2, 0, 29, 13, 45, 30, 123};
  Value date(Api().cef_v8value_create_date(&when));
  TCefTime back = date->get_date_value(date.get());
  EXPECT_EQ(back.year, 2024);
  EXPECT_EQ(back.month, 2);
  EXPECT_EQ(back.day_of_month, 29);
  EXPECT_EQ(back.day_of_week, 4) << "a Thursday";
  EXPECT_EQ(back.hour, 13);
  EXPECT_EQ(back.minute, 45);
  EXPECT_EQ(back.second, 30);
  EXPECT_EQ(back.millisecond, 123);
  Open(u"<script>var made = new Date(Date.UTC(1999, 11, 31, 23, 59, 58, 7));</script>");
  SetGlobal(u"given", date.get());
  EXPECT_EQ(Run(u"given.toISOString()"), u"2024-02-29T13:45:30.123Z");
  // Made while the page's context is entered, a date is one of the page's own.
  RuntimeRef<TCefv8Context> context = Context();
  ASSERT_EQ(context->enter(context.get()), 1);
  Value own(Api().cef_v8value_create_date(&when));
  EXPECT_EQ(context->exit(context.get()), 1);
  SetGlobal(u"own", own.get());
  EXPECT_EQ(Run(u"(own instanceof Date) + ' ' + (own - given)"), u"true 0");
  Value made = Get(Global().get(), u"made");
  TCefTime read = made->get_date_value(made.get());
  EXPECT_EQ(read.year, 1999);
  EXPECT_EQ(read.month, 12);
  EXPECT_EQ(read.day_of_month, 31);
  EXPECT_EQ(read.hour, 23);
  EXPECT_EQ(read.millisecond, 7);
  Value five = Int(5);
  EXPECT_EQ(five->get_date_value(five.get()).year, 0) << "no date, no time";
  Close();
}

TEST_F(ValuesTest, ObjectPropertiesByKey) {
  Value object(Api().cef_v8value_create_object(nullptr));
  EXPECT_TRUE(Set(object.get(), u"a", Int(1).get()));
  EXPECT_TRUE(Set(object.get(), u"b", String(u"two").get()));
  TCefString a = View(u"a"), missing = View(u"missing");
  EXPECT_EQ(object->has_value_bykey(object.get(), &a), 1);
  EXPECT_EQ(object->has_value_bykey(object.get(), &missing), 0);
  EXPECT_EQ(Text(Get(object.get(), u"b").get()), u"two");
  Value none = Get(object.get(), u"missing");
  EXPECT_EQ(Kinds(none.get()), "u");
  int32_t answer = 0;
  EXPECT_EQ(Keys(object.get(), {u"earlier"}, &answer), (std::vector<std::u16string>{u"earlier", u"a", u"b"}));
  EXPECT_EQ(answer, 1);
  EXPECT_EQ(object->delete_value_bykey(object.get(), &a), 1);
  EXPECT_EQ(object->has_value_bykey(object.get(), &a), 0);
  Value number = Int(3);
  EXPECT_EQ(Keys(number.get(), {}, &answer), std::vector<std::u16string>{});
  EXPECT_EQ(answer, 0) << "a number has no keys";
  EXPECT_FALSE(Set(number.get(), u"x", Int(1).get())) << "and takes no properties";
}

TEST_F(ValuesTest, ArrayElementsByIndex) {
  Value array(Api().cef_v8value_create_array());
  for (int32_t i = 0; i < 3; ++i) ASSERT_EQ(array->set_value_byindex(array.get(), i, Pass(Int(i * 10))), 1);
  EXPECT_EQ(array->get_array_length(array.get()), 3);
  Value second(array->get_value_byindex(array.get(), 1));
  EXPECT_EQ(second->get_int_value(second.get()), 10);
  EXPECT_EQ(array->has_value_byindex(array.get(), 2), 1);
  EXPECT_EQ(array->has_value_byindex(array.get(), 3), 0);
  EXPECT_EQ(array->delete_value_byindex(array.get(), 2), 1);
  EXPECT_EQ(array->has_value_byindex(array.get(), 2), 0);
  EXPECT_EQ(array->get_value_byindex(array.get(), -1), nullptr);
  EXPECT_EQ(array->set_value_byindex(array.get(), -1, Pass(Int(1))), 0);
  int32_t answer = 0;
  EXPECT_EQ(Keys(array.get(), {}, &answer), (std::vector<std::u16string>{u"0", u"1"}));
}

TEST_F(ValuesTest, ScriptFailuresInPropertyAccessAnswerNeutrally) {
  Open(u"<script>var guarded = {}; Object.defineProperty(guarded, 'fixed', {value: 1});"
       u"Object.defineProperty(guarded, 'trap', {get: function() { throw new Error('trap'); }});</script>");
  Value guarded = Get(Global().get(), u"guarded");
  EXPECT_EQ(Get(guarded.get(), u"trap").get(), nullptr) << "a throwing getter gives no value";
  EXPECT_FALSE(Set(guarded.get(), u"fixed", Int(2).get())) << "a read-only property refuses";
  TCefString fixed = View(u"fixed");
  EXPECT_EQ(guarded->delete_value_bykey(guarded.get(), &fixed), 0);
  EXPECT_EQ(Run(u"guarded.fixed"), u"1");
  EXPECT_EQ(Count("errors"), 0) << "failures the program sees are no uncaught errors";
  guarded.reset();
  Close();
}

TEST_F(ValuesTest, UserDataStaysWithItsObjectUntilTheObjectGoes) {
  Value data = String(u"mine");
  Value object(Api().cef_v8value_create_object(Pass(data)));
  Value back(object->get_user_data(object.get()));
  ASSERT_TRUE(back);
  EXPECT_EQ(back.get(), data.get()) << "the very value the program gave";
  EXPECT_EQ(Count("attachments"), 1);
  EXPECT_EQ(Control().standin_held_objects(), 1);
  Value plain(Api().cef_v8value_create_object(nullptr));
  EXPECT_EQ(plain->get_user_data(plain.get()), nullptr);
  object.reset();
  EXPECT_EQ(Count("attachments"), 0) << "releasing the object let its script value go";
  EXPECT_EQ(Control().standin_held_objects(), 0);
  EXPECT_EQ(Text(back.get()), u"mine");
}

TEST_F(ValuesTest, ReleasingAValueLetsItsScriptValueGo) {
  int before = Count("values");
  auto handler = base::MakeRef<TestHandler>();
  TCefString name = View(u"f");
  Value function(Api().cef_v8value_create_function(&name, handler->Hand()));
  EXPECT_EQ(Count("values"), before + 1);
  EXPECT_EQ(handler->RefCount(), 2) << "the function holds its handler";
  function.reset();
  EXPECT_EQ(Count("values"), before);
  EXPECT_EQ(handler->RefCount(), 1) << "and lets go of it with the function";

  Open(u"<title>kept</title>");
  function = Value(Api().cef_v8value_create_function(&name, handler->Hand()));
  SetGlobal(u"kept", function.get());
  function.reset();
  EXPECT_EQ(handler->RefCount(), 2) << "the page still reaches the function";
  Load(u"<title>next</title>", u"http://pages.example/next.html");
  EXPECT_EQ(handler->RefCount(), 1) << "the page went, and with it the function";
  Close();
}

TEST_F(ValuesTest, ValuesCrossBetweenPagesOfTheHeap) {
  Open(u"<script>var shared = { n: 41, bump: function() { return ++this.n; } };</script>", u"http://one.example/");
  Value shared = Get(Global().get(), u"shared");
  RuntimeRef<TCefBrowser> first = std::move(browser_);
  RuntimeRef<TCefFrame> firstFrame = std::move(frame_);
  Open(u"<title>two</title>", u"http://two.example/");
  SetGlobal(u"borrowed", shared.get());
  EXPECT_EQ(Run(u"borrowed.bump()"), u"42");
  EXPECT_EQ(Run(u"shared.n", firstFrame.get()), u"42") << "the same object in both pages";
  Value again = Get(Global().get(), u"borrowed");
  EXPECT_EQ(again->is_same(again.get(), Pass(shared)), 1);
  EXPECT_EQ(again->is_same(again.get(), Pass(Global(firstFrame.get()))), 0);
  again.reset();
  shared.reset();
  firstFrame.reset();
  first->close_browser(first.get());
  first.reset();
  Close();
}

TEST_F(ValuesTest, FailedCreationsReleaseWhatTheyWereGiven) {
  Value data = String(u"data");
  Control().standin_fail_next("cef_v8value_create_object", 1);
  EXPECT_EQ(Api().cef_v8value_create_object(Pass(data)), nullptr);
  auto handler = base::MakeRef<TestHandler>();
  Control().standin_fail_next("cef_v8value_create_function", 1);
  TCefString name = View(u"f");
  EXPECT_EQ(Api().cef_v8value_create_function(&name, handler->Hand()), nullptr);
  EXPECT_EQ(handler->RefCount(), 1);
  EXPECT_EQ(Control().standin_held_objects(), 0);
}

}  // namespace
