// Page scripts: inline scripts in document order, scripts of the test service's pages,
// execute_java_script, errors with their place, one context per page and frame, and the
// page's environment (document, elements, location, console, dialogs).

#include "standin_script/script_fixture.h"
#include "support/test_service.h"

namespace {

using script_testing::RuntimeRef;
using script_testing::ScriptTest;
using script_testing::Value;
using script_testing::View;

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::u16string ServiceUrl(const std::string& path) { return Wide(testing_support::TestServiceUrl(path)); }

using PageScriptsTest = ScriptTest;

TEST_F(PageScriptsTest, InlineScriptsRunInDocumentOrderAndSetTheTitle) {
  Open(u"<title>Start</title><script>var order = ['first'];</script><p>between</p>"
       u"<script type=\"text/javascript\">order.push('second'); document.title = order.join(' ');</script>"
       u"<script src=\"elsewhere.js\">order.push('with src');</script>"
       u"<script type=\"text/template\">order.push('template');</script>");
  EXPECT_EQ(BrowserText("title"), u"first second");
  EXPECT_EQ(Run(u"document.title"), u"first second");
  EXPECT_EQ(Run(u"order.length"), u"2") << "scripts with a src or another type do not run";
  EXPECT_EQ(Count("errors"), 0);
  Close();
}

TEST_F(PageScriptsTest, ServicePagesRunTheirScripts) {
  OpenUrl(ServiceUrl("/dom"));
  EXPECT_EQ(Run(u"answer"), u"</p>") << "the page's own script ran, raw text and all";
  EXPECT_EQ(Run(u"document.title"), u"DOM test page");
  EXPECT_EQ(Run(u"document.getElementById('heading').innerText"), u"Hello, DOM");
  EXPECT_EQ(Run(u"document.getElementById('korean').innerText"), u"한글 문장");
  EXPECT_EQ(Run(u"location.href"), ServiceUrl("/dom"));
  Close();
}

TEST_F(PageScriptsTest, ExecuteJavaScriptRunsInThePageAtOnce) {
  Open(u"<title>Before</title><script>var base = 40;</script>");
  TCefString code = View(u"var sum = base + 2;\ndocument.title = 'After ' + sum;"), url = View(u"http://scripts.example/x.js");
  frame_->execute_java_script(frame_.get(), &code, &url, 1);
  EXPECT_EQ(BrowserText("title"), u"After 42") << "no work call needed";
  EXPECT_EQ(Run(u"sum"), u"42");
  EXPECT_EQ(FrameText(frame_.get(), "script.code"), u"var sum = base + 2;\ndocument.title = 'After ' + sum;");
  Close();
}

TEST_F(PageScriptsTest, UncaughtErrorsAreRecordedWithTheirPlaceAndLaterScriptsStillRun) {
  Open(u"<title>t</title>\n<script>\n  throw new Error('boom');\n</script>\n<script>var after = 1;</script>",
       u"http://pages.example/errors.html");
  ASSERT_EQ(Count("errors"), 1);
  EXPECT_EQ(Record("errors", 0, "message"), u"Error: boom");
  EXPECT_EQ(Record("errors", 0, "url"), u"http://pages.example/errors.html");
  EXPECT_EQ(Record("errors", 0, "line"), u"3") << "lines count from the page's first";
  EXPECT_EQ(Run(u"after"), u"1");

  TCefString code = View(u"var ok = 1;\nmissing();"), url = View(u"http://scripts.example/run.js");
  frame_->execute_java_script(frame_.get(), &code, &url, 10);
  ASSERT_EQ(Count("errors"), 2);
  EXPECT_NE(Record("errors", -1, "message").find(u"ReferenceError"), std::u16string::npos);
  EXPECT_EQ(Record("errors", -1, "url"), u"http://scripts.example/run.js");
  EXPECT_EQ(Record("errors", -1, "line"), u"11");

  TCefString broken = View(u"var = ;");
  frame_->execute_java_script(frame_.get(), &broken, &url, 1);
  ASSERT_EQ(Count("errors"), 3);
  EXPECT_NE(Record("errors", -1, "message").find(u"SyntaxError"), std::u16string::npos);
  EXPECT_EQ(RunThrowing(u"null.x").substr(0, 9), u"TypeError");
  Close();
}

TEST_F(PageScriptsTest, EachPageHasAFreshGlobalAndTheOldContextIsDetached) {
  Open(u"<script>var kept = 'first page';</script>", u"http://pages.example/one.html");
  RuntimeRef<TCefv8Context> old = Context();
  ASSERT_TRUE(old);
  EXPECT_EQ(Count("contexts"), 1);
  Load(u"<title>Two</title>", u"http://pages.example/two.html");
  EXPECT_EQ(Run(u"typeof kept"), u"undefined");
  EXPECT_EQ(Count("contexts"), 1) << "the first page's context went with its page";
  EXPECT_EQ(old->get_frame(old.get()), nullptr);
  EXPECT_EQ(old->get_global(old.get()), nullptr);
  EXPECT_EQ(old->enter(old.get()), 0);
  RuntimeRef<TCefv8Context> now = Context();
  RuntimeRef<TCefFrame> frame(now->get_frame(now.get()));
  EXPECT_EQ(frame.get(), frame_.get());
  Close();
  EXPECT_EQ(Count("contexts"), 0);
}

TEST_F(PageScriptsTest, FramesHaveContextsOfTheirOwn) {
  OpenUrl(ServiceUrl("/frames"));
  TCefString name = View(u"left");
  RuntimeRef<TCefFrame> left(browser_->get_frame(browser_.get(), &name));
  ASSERT_TRUE(left);
  EXPECT_EQ(Count("contexts"), 3);
  Run(u"var mine = 'main';");
  EXPECT_EQ(Run(u"document.title", left.get()), u"Left frame");
  EXPECT_EQ(Run(u"typeof mine", left.get()), u"undefined");
  EXPECT_EQ(Run(u"location.href", left.get()), ServiceUrl("/frames/left"));
  left.reset();
  Close();
}

TEST_F(PageScriptsTest, ElementsReadAndReplaceTheirText) {
  Open(u"<title>t</title><p id=\"para\" class=\"lead\">First <b>bold</b> text.</p><div id=\"empty\"></div>");
  EXPECT_EQ(Run(u"document.getElementById('para').innerText"), u"First bold text.");
  EXPECT_EQ(Run(u"var p = document.getElementById('para'); [p.id, p.tagName, p.getAttribute('class')].join()"),
            u"para,P,lead");
  EXPECT_EQ(Run(u"p.getAttribute('missing') === null && document.getElementById('nowhere') === null"), u"true");
  Run(u"p.innerText = 'Replaced'; document.getElementById('empty').innerText = 'filled';");
  EXPECT_EQ(Run(u"p.innerText"), u"Replaced");
  std::u16string text = FrameText(frame_.get(), "text");
  EXPECT_NE(text.find(u"Replaced"), std::u16string::npos);
  EXPECT_NE(text.find(u"filled"), std::u16string::npos);
  EXPECT_EQ(text.find(u"bold"), std::u16string::npos) << "the old children left the page";
  Close();
}

TEST_F(PageScriptsTest, TitleWritesReachThePageAndItsDocument) {
  Open(u"<p>no title element</p>");
  Run(u"document.title = 'Made by script';");
  EXPECT_EQ(BrowserText("title"), u"Made by script");
  EXPECT_EQ(FrameText(frame_.get(), "title"), u"Made by script");
  EXPECT_NE(FrameText(frame_.get(), "source").find(u"no title"), std::u16string::npos);
  Close();
}

TEST_F(PageScriptsTest, AssigningLocationNavigatesLikeALink) {
  OpenUrl(ServiceUrl("/dom"));
  int32_t entries = Control().standin_browser_value(browser_.get(), "history.count");
  Run(u"location.href = 'second';");
  WaitIdle();
  EXPECT_EQ(BrowserText("url"), ServiceUrl("/second"));
  EXPECT_EQ(BrowserText("title"), u"Second page");
  EXPECT_EQ(Control().standin_browser_value(browser_.get(), "history.count"), entries + 1) << "a new entry";
  Run(u"window.location.assign('/dom?again=1')");
  WaitIdle();
  EXPECT_EQ(Run(u"document.location.href"), ServiceUrl("/dom?again=1"));
  Close();
}

TEST_F(PageScriptsTest, ConsoleMessagesAreRecordedWithTheirPlace) {
  Open(u"<title>c</title>\n<script>\nconsole.log('hello', 42, [1, 2]);\n</script>", u"http://pages.example/c.html");
  EXPECT_EQ(Count("errors"), 0) << testing::PrintToString(Record("errors", -1, "message"));
  ASSERT_EQ(Count("console"), 1);
  EXPECT_EQ(Record("console", 0, "message"), u"hello 42 1,2");
  EXPECT_EQ(Record("console", 0, "url"), u"http://pages.example/c.html");
  EXPECT_EQ(Record("console", 0, "line"), u"3");
  Close();
}

TEST_F(PageScriptsTest, DialogsAreRecordedAndAnswerTheirNeutralValues) {
  Open(u"<title>d</title>");
  EXPECT_EQ(Run(u"[alert('note'), confirm('sure?'), prompt('name?', 'Kim'), window.open('/pop', 'win', 'width=10')]"
                u".map(String).join('|')"),
            u"undefined|false|null|null");
  ASSERT_EQ(Count("dialogs"), 4);
  EXPECT_EQ(Record("dialogs", 0, "kind"), u"alert");
  EXPECT_EQ(Record("dialogs", 0, "arg0"), u"note");
  EXPECT_EQ(Record("dialogs", 1, "kind"), u"confirm");
  EXPECT_EQ(Record("dialogs", 2, "arg1"), u"Kim");
  EXPECT_EQ(Record("dialogs", 3, "kind"), u"open");
  EXPECT_EQ(Record("dialogs", 3, "arg0"), u"/pop");
  EXPECT_EQ(Record("dialogs", 3, "arg2"), u"width=10");
  EXPECT_EQ(Run(u"window === this && window.window === window"), u"true");
  Close();
}

}  // namespace
