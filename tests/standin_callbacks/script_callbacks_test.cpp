// What page scripts and the program's own calls bring to the client: the JS dialogs and
// their answers, console messages, binding in each new script context, titles set by
// script, find results, and the close the program asks for.

#include "standin_callbacks/callback_fixture.h"

namespace callback_testing {
namespace {

class ScriptCallbacks : public CallbackTest {
 protected:
  void SetUp() override {
    CallbackTest::SetUp();
    browser_ = Open();
    Navigate(browser_.get(), ServiceUrl("/dom", "scripts"));
  }
  void TearDown() override {
    Close(browser_);
    CallbackTest::TearDown();
  }
  std::u16string Run(const std::u16string& code) { return CallbackTest::Run(browser_.get(), code); }

  RuntimeRef<TCefBrowser> browser_;
};

TEST_F(ScriptCallbacks, AlertShowsItsMessageToTheHandler) {
  Run(u"alert('Bid 2024-0001 closes today')");
  const Seen& alert = client_.Last("jsdialog.on_jsalert");
  EXPECT_EQ(alert.texts, std::vector<std::u16string>{u"Bid 2024-0001 closes today"});
  EXPECT_EQ(alert.frameIsMain, 1);
  EXPECT_TRUE(Contains(alert.frameUrl, u"/dom?"));
}

TEST_F(ScriptCallbacks, ConfirmReturnsTheAnswerOnlyWhenTheHandlerAnswered) {
  EXPECT_EQ(Run(u"String(confirm('Submit?'))"), u"false") << "no answer: no";
  EXPECT_EQ(client_.Last("jsdialog.on_jsconfirm").texts, std::vector<std::u16string>{u"Submit?"});
  int32_t retval = 1, answer = 1;
  client_.On("jsdialog.on_jsconfirm", [&](Seen& seen) {
    *seen.outInts[0] = retval;
    return answer;
  });
  EXPECT_EQ(Run(u"String(confirm('Submit?'))"), u"true");
  retval = 0;
  EXPECT_EQ(Run(u"String(confirm('Submit?'))"), u"false");
  retval = 1;
  answer = 0;
  EXPECT_EQ(Run(u"String(confirm('Submit?'))"), u"false") << "a choice without an answer does not count";
}

TEST_F(ScriptCallbacks, PromptReturnsTheTextEnteredOrNull) {
  EXPECT_EQ(Run(u"String(prompt('Your name?', 'Lee'))"), u"null");
  EXPECT_EQ(client_.Last("jsdialog.on_jsprompt").texts, (std::vector<std::u16string>{u"Your name?", u"Lee", u""}))
      << "message, default text, then the empty result";
  int32_t retval = 1;
  client_.On("jsdialog.on_jsprompt", [&](Seen& seen) {
    *seen.outInts[0] = retval;
    client_.Store(seen.outTexts[0], u"\uAE40\uBBFC\uC218");
    return 1;
  });
  EXPECT_EQ(Run(u"prompt('Your name?', 'Lee')"), u"\uAE40\uBBFC\uC218");
  retval = 0;
  EXPECT_EQ(Run(u"String(prompt('Your name?'))"), u"null") << "cancelled";
}

TEST_F(ScriptCallbacks, ConsoleMessagesCarryTheirSourceAndLine) {
  std::u16string url = ServiceUrl("/script-page?code=console.log(%27from%20page%27,%202)", "console");
  Navigate(browser_.get(), url);
  const Seen& message = client_.Last("display.on_console_message");
  EXPECT_EQ(message.texts, (std::vector<std::u16string>{u"from page 2", url}));
  EXPECT_EQ(message.numbers, std::vector<int64_t>{3}) << "the page's line of the script";
}

TEST_F(ScriptCallbacks, EachNewContextIsOfferedForBinding) {
  EXPECT_EQ(client_.Count("jsbinding.on_jsbinding"), 1) << "the page's context";
  client_.On("jsbinding.on_jsbinding", [&](Seen& seen) {
    auto* global = reinterpret_cast<TCefv8Value*>(seen.objects[0]);
    std::u16string name = u"bound";
    TCefString key = View(name);
    global->set_value_bykey(global, &key, Api().cef_v8value_create_int(42));
    return 0;
  });
  Navigate(browser_.get(), ServiceUrl("/second", "binding"));
  EXPECT_EQ(client_.Count("jsbinding.on_jsbinding"), 2);
  EXPECT_EQ(client_.Last("jsbinding.on_jsbinding").frameIsMain, 1);
  EXPECT_EQ(Run(u"String(window.bound)"), u"42");
  EXPECT_EQ(Control().standin_live_objects("V8Value"), 0) << "the global and the value were released";
}

TEST_F(ScriptCallbacks, ATitleSetByScriptIsATitleChange) {
  Run(u"document.title = 'Renamed by script'");
  EXPECT_EQ(client_.Last("display.on_title_change").texts, std::vector<std::u16string>{u"Renamed by script"});
}

TEST_F(ScriptCallbacks, FindResultsFollowOnTheNextWorkCall) {
  std::u16string text = u"one";
  TCefString search = View(text);
  browser_->find(browser_.get(), 7, &search, 1, 0, 0);
  EXPECT_EQ(client_.Count("find.on_find_result"), 0);
  Work();
  const Seen& result = client_.Last("find.on_find_result");
  int32_t matches = Value(browser_.get(), "find.matches");
  ASSERT_GT(matches, 0);
  EXPECT_EQ(result.numbers, (std::vector<int64_t>{7, matches, 1, 1}))
      << "identifier first, then the count, the active match and the final update";
  EXPECT_EQ(result.records.size(), 1u) << "the selection rectangle";
}

TEST_F(ScriptCallbacks, AClientTakingTheCloseOverKeepsTheBrowserOpen) {
  client_.On("life_span.do_close", [](Seen&) { return 1; });
  browser_->close_browser(browser_.get());
  EXPECT_EQ(client_.Count("life_span.do_close"), 1);
  EXPECT_EQ(Value(browser_.get(), "closed"), 0);
  EXPECT_EQ(client_.Count("life_span.on_before_close"), 0);

  client_.On("life_span.do_close", [](Seen&) { return 0; });
  browser_->close_browser(browser_.get());
  EXPECT_EQ(Value(browser_.get(), "closed"), 1);
  EXPECT_EQ(client_.Calls().back().name, "life_span.on_before_close");
  EXPECT_EQ(client_.References(), 0) << "a closed browser lets go of its client";
}

}  // namespace
}  // namespace callback_testing
