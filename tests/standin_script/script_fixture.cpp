#include "standin_script/script_fixture.h"

namespace script_testing {

TestHandler::TestHandler(Answer a) : TCefBaseOwn(sizeof(TCefv8Handler)), answer(std::move(a)) {
  Struct<TCefv8Handler>()->execute = [](TCefv8Handler* self, const TCefString* name, TCefv8Value* object,
                                        uint32_t count, TCefv8Value* const* arguments, TCefv8Value** retval,
                                        TCefString* exception) CEF_CALLBACK -> TCefBool {
    TestHandler* handler = Self<TestHandler>(self);
    NativeCall call{std::u16string(name->str, name->length), Value(object), {}, retval, exception};
    for (uint32_t i = 0; i < count; ++i) call.arguments.emplace_back(arguments[i]);
    ++handler->calls;
    handler->names.push_back(call.name);
    handler->argument_counts.push_back(count);
    return handler->answer ? handler->answer(call) : 0;
  };
}

TestAccessor::TestAccessor(Get get, Set set)
    : TCefBaseOwn(sizeof(TCefV8Accessor)), get_(std::move(get)), set_(std::move(set)) {
  Struct<TCefV8Accessor>()->get = [](TCefV8Accessor* self, const TCefString* name, TCefv8Value* object,
                                     TCefv8Value** retval, TCefString* exception) CEF_CALLBACK -> TCefBool {
    TestAccessor* a = Self<TestAccessor>(self);
    Value held(object);
    ++a->gets;
    return a->get_ ? a->get_(std::u16string(name->str, name->length), object, retval, exception) : 0;
  };
  Struct<TCefV8Accessor>()->set = [](TCefV8Accessor* self, const TCefString* name, TCefv8Value* object,
                                     TCefv8Value* value, TCefString* exception) CEF_CALLBACK -> TCefBool {
    TestAccessor* a = Self<TestAccessor>(self);
    Value heldObject(object), heldValue(value);
    ++a->sets;
    return a->set_ ? a->set_(std::u16string(name->str, name->length), object, value, exception) : 0;
  };
}

void ScriptTest::TearDown() {
  frame_.reset();
  Close();
  while (TCefBrowser* open = Control().standin_browser_at(0)) {
    open->close_browser(open);
    open->base.release(&open->base);
  }
  EXPECT_EQ(Count("contexts"), 0) << "a context outlived its page";
  EXPECT_EQ(Count("values"), 0) << "a script value outlived the program's last reference";
  EXPECT_EQ(Count("attachments"), 0) << "a script object outlived everything that reached it";
  EXPECT_EQ(Control().standin_held_objects(), extensions_) << Control().Report();
}

void ScriptTest::Open(const std::u16string& html, const std::u16string& url) {
  TCefWindowInfo info{};
  TCefBrowserSettings settings{};
  settings.size = sizeof settings;
  TCefString empty = View(u"");
  browser_ = RuntimeRef<TCefBrowser>(Api().cef_browser_create_sync(&info, nullptr, &empty, &settings));
  ASSERT_TRUE(browser_);
  frame_ = RuntimeRef<TCefFrame>(browser_->get_main_frame(browser_.get()));
  Load(html, url);
}

void ScriptTest::OpenUrl(const std::u16string& url) {
  Open(u"", u"about:blank");
  TCefString address = View(url);
  frame_->load_url(frame_.get(), &address);
  WaitIdle();
}

void ScriptTest::Load(const std::u16string& html, const std::u16string& url) {
  TCefString text = View(html), address = View(url);
  frame_->load_string(frame_.get(), &text, &address);
  WaitIdle();
}

void ScriptTest::WaitIdle() {
  ASSERT_EQ(Control().standin_wait_idle(browser_.get(), 10000), 1) << "the browser's loads did not finish";
}

void ScriptTest::Close() {
  frame_.reset();
  if (browser_) browser_->close_browser(browser_.get());
  browser_.reset();
}

std::u16string ScriptTest::Run(const std::u16string& code, TCefFrame* frame) {
  std::u16string text(4096, u'\0');
  int32_t threw = 0;
  int32_t length = Control().standin_script_run(frame ? frame : frame_.get(), code.c_str(), &threw, text.data(),
                                                static_cast<int32_t>(text.size()));
  EXPECT_GE(length, 0) << "the frame has no script context";
  EXPECT_LT(length, static_cast<int32_t>(text.size()));
  text.resize(static_cast<size_t>(std::max(length, 0)));
  EXPECT_EQ(threw, 0) << "the script threw: " << testing::PrintToString(text);
  return text;
}

std::u16string ScriptTest::RunThrowing(const std::u16string& code, TCefFrame* frame) {
  std::u16string text(4096, u'\0');
  int32_t threw = 0;
  int32_t length = Control().standin_script_run(frame ? frame : frame_.get(), code.c_str(), &threw, text.data(),
                                                static_cast<int32_t>(text.size()));
  text.resize(static_cast<size_t>(std::clamp(length, 0, 4095)));
  EXPECT_EQ(threw, 1) << "the script did not throw";
  return text;
}

void ScriptTest::RegisterExtension(const std::u16string& name, const std::u16string& code, TCefv8Handler* handler) {
  TCefString n = View(name), c = View(code);
  ASSERT_EQ(Api().cef_register_extension(&n, &c, handler), 1);
  ++extensions_;
}

RuntimeRef<TCefv8Context> ScriptTest::Context(TCefFrame* frame) {
  return RuntimeRef<TCefv8Context>(Control().standin_script_context(frame ? frame : frame_.get()));
}

Value ScriptTest::Global(TCefFrame* frame) {
  RuntimeRef<TCefv8Context> context = Context(frame);
  return context ? Value(context->get_global(context.get())) : Value();
}

void ScriptTest::SetGlobal(const std::u16string& name, TCefv8Value* value, TCefFrame* frame) {
  Value global = Global(frame);
  ASSERT_TRUE(global);
  ASSERT_TRUE(Set(global.get(), name, value));
}

Value ScriptTest::String(const std::u16string& text) const {
  TCefString s = View(text);
  return Value(Api().cef_v8value_create_string(&s));
}

std::u16string ScriptTest::Text(TCefv8Value* value) const { return Take(value->get_string_value(value)); }

Value ScriptTest::Get(TCefv8Value* object, const std::u16string& key) const {
  TCefString k = View(key);
  return Value(object->get_value_bykey(object, &k));
}

bool ScriptTest::Set(TCefv8Value* object, const std::u16string& key, TCefv8Value* value) const {
  TCefString k = View(key);
  // The value goes with a reference of its own, as the program hands values over.
  if (value) value->base.add_ref(&value->base);
  return object->set_value_bykey(object, &k, value) != 0;
}

std::vector<std::u16string> ScriptTest::Keys(TCefv8Value* object, std::vector<std::u16string> initial,
                                             int32_t* answer) const {
  TCefStringList list = Api().cef_string_list_alloc();
  for (const std::u16string& item : initial) {
    TCefString s = View(item);
    Api().cef_string_list_append(list, &s);
  }
  *answer = object->get_keys(object, list);
  std::vector<std::u16string> keys;
  for (int32_t i = 0, n = Api().cef_string_list_size(list); i < n; ++i) {
    TCefString value{};
    Api().cef_string_list_value(list, i, &value);
    keys.push_back(TakeRecord(value));
  }
  Api().cef_string_list_free(list);
  return keys;
}

std::u16string ScriptTest::Take(TCefStringUserFree s) const {
  if (!s) return u"(null)";
  std::u16string text(s->str, s->length);
  Api().cef_string_userfree_utf16_free(s);
  return text;
}

std::u16string ScriptTest::TakeRecord(TCefString& s) const {
  std::u16string text = s.str ? std::u16string(s.str, s.length) : std::u16string();
  Api().cef_string_utf16_clear(&s);
  return text;
}

void ScriptTest::Throw(TCefString* exception, const std::u16string& text) const {
  Api().cef_string_utf16_set(text.data(), static_cast<uint32_t>(text.size()), exception, 1);
}

std::u16string ScriptTest::BrowserText(const char* key) const {
  return testing_support::ControlText([&](char16_t* b, int32_t n) { return Control().standin_browser_text(browser_.get(), key, b, n); });
}

std::u16string ScriptTest::FrameText(TCefFrame* frame, const char* key) const {
  return testing_support::ControlText([&](char16_t* b, int32_t n) { return Control().standin_frame_text(frame, key, b, n); });
}

std::u16string ScriptTest::Record(const char* kind, int32_t index, const char* field) const {
  return testing_support::ControlText([&](char16_t* b, int32_t n) { return Control().standin_script_record(kind, index, field, b, n); });
}

}  // namespace script_testing
