// `cef.app` as pages call it, on the service's own pages and on a foreign one.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text.h"
#include "shell/config.h"
#include "shell/extension_pages_fixture.h"

namespace {

using testing_support::FakeSystem;
using extension_testing::ExtensionPagesTest;
using extension_testing::kForeignHost;
using extension_testing::ServiceHostName;

// The test parameter lives in the one handler, so this sequence is one test.
TEST_F(ExtensionPagesTest, TheTestParameterIsSharedByLaterPagesAndIgnoresWhatItMustIgnore) {
  EXPECT_EQ(RunServicePage("document.title = '[' + cef.app.test_param + ']';"), u"[]");
  EXPECT_EQ(RunServicePage("cef.app.test_param = '낙찰'; document.title = cef.app.test_param;"), u"낙찰");
  EXPECT_EQ(RunPage(kForeignHost, "document.title = cef.app.test_param;"), u"낙찰") << "a later page reads it";
  EXPECT_EQ(RunServicePage("cef.app.test_param = ''; cef.app.test_param = 0; document.title = cef.app.test_param;"),
            u"낙찰")
      << "falsy values never reach the handler";
  EXPECT_EQ(RunServicePage("var r = 'kept';"
                           "try { cef.app.test_param = 5; } catch (e) { r = 'threw'; }"
                           "document.title = r + ' ' + cef.app.test_param;"),
            u"kept 낙찰")
      << "a number is refused and the old value stays";
  EXPECT_EQ(RunServicePage("cef.app.test_param = 'x'; document.title = typeof cef.app.test_param;"), u"string");
  EXPECT_EQ(RunServicePage("document.title = cef.app.test_param;"), u"x");
}

// After the test above, which needs the parameter unset at first: this one leaves ten
// mebibytes in it for the rest of the program.
TEST_F(ExtensionPagesTest, TenMebibytesRoundTripThroughTheTestParameter) {
  using extension_testing::kBigTextScript;
  EXPECT_EQ(RunServicePage(kBigTextScript +
                           "cef.app.test_param = big;"
                           "var back = cef.app.test_param;"
                           "document.title = (back === big) + ' ' + back.length;"),
            u"true 10485763");
  EXPECT_EQ(RunServicePage("var p = cef.app.test_param; document.title = p.length + ' ' + p.slice(-5);"),
            u"10485763 \U0001F600END")
      << "a later page reads all of it";
}

TEST_F(ExtensionPagesTest, TheTestObjectCarriesItsParameterAndCallsBack) {
  EXPECT_EQ(RunServicePage("var o = cef.app.test_object();"
                           "document.title = o.param + ' | ' + o.GetMessage() + ' | ' +"
                           "  (o !== cef.app.test_object());"),
            u"Retrieving a parameter on a native object succeeded. | "
            u"Calling a function on a native object succeeded. | true");
}

TEST_F(ExtensionPagesTest, TheNativeFunctionsAreReachedOnlyThroughCefApp) {
  EXPECT_EQ(RunServicePage("document.title = [typeof cef.app.open_bidview, typeof cef.app.open_sucview,"
                           "  typeof cef.app.go_g2b, typeof cef.app.open_home, typeof cef.app.test_object,"
                           "  typeof OpenBidView, typeof GetTestParam, typeof GetMessage].join(' ');"),
            u"function function function function function undefined undefined undefined");
}

// Only web addresses reach the shell, without the blanks around them; anything that would
// start a program (a share, a path, another scheme's handler) opens nothing.
TEST_F(ExtensionPagesTest, OnlyWebAddressesReachTheShell) {
  struct Case {
    std::string target;     // a script literal
    std::u16string opened;  // empty: nothing opens
  } cases[] = {
      {"http://docs.example/bid view.hwp?no=2024-01&name=입찰#p1", u"http://docs.example/bid view.hwp?no=2024-01&name=입찰#p1"},
      {" \\thttps://docs.example/a.pdf\\t ", u"https://docs.example/a.pdf"},
      {"HTTP://user@DOCS.example:8080", u"HTTP://user@DOCS.example:8080"},
      {"\\\\\\\\host\\\\share\\\\tool.exe", u""},
      {"C:\\\\Windows\\\\System32\\\\calc.exe", u""},
      {"file:///C:/Windows/System32/calc.exe", u""},
      {"javascript:alert(1)", u""},
      {"data:text/html,x", u""},
      {"ms-msdt:/id PCWDiagnostic /skip force", u""},
      {"search-ms:query=x&crumb=location:\\\\\\\\host\\\\share", u""},
      {"http://docs.example/a\\u0001b", u""},
      {"https://docs.example/\\nx", u""},
      {"http://docs.example/\\u0085", u""},
      {"https://docs.example/\" --gpu-launcher=calc", u""},
      {"http://", u""},
      {"http:///C:/x", u""},
      {"http:docs.example", u""},
      {" \\t ", u""},
  };
  std::string script = "var t = [";
  std::vector<std::u16string> expected;
  for (const Case& c : cases) {
    script += "'" + c.target + "',";
    if (!c.opened.empty()) expected.push_back(c.opened);
  }
  script += "]; for (var i = 0; i < t.length; i++) (i % 2 ? cef.app.open_sucview : cef.app.open_bidview)(t[i]);"
            "document.title = 'done';";
  EXPECT_EQ(RunServicePage(script), u"done");
  std::vector<std::u16string> opened;
  for (const FakeSystem::ShellCall& call : system.shellCalls) {
    opened.push_back(call.file);
    EXPECT_EQ(call.verb, u"Open");
    EXPECT_EQ(call.parameters, u"");
    EXPECT_EQ(call.directory, u"");
    EXPECT_EQ(call.show, SW_SHOW);
    EXPECT_EQ(call.owner, nullptr) << "no main window in this program";
  }
  EXPECT_EQ(opened, expected);
}

TEST_F(ExtensionPagesTest, NothingOpensWithoutATruthyDocument) {
  EXPECT_EQ(RunServicePage("cef.app.open_bidview(''); cef.app.open_bidview(); cef.app.open_sucview(null);"
                           "cef.app.open_sucview(0); document.title = 'done';"),
            u"done");
  EXPECT_TRUE(system.shellCalls.empty());
}

TEST_F(ExtensionPagesTest, AForeignPageCannotMakeTheShellOpenAnything) {
  EXPECT_EQ(RunPage(kForeignHost, "var r = [cef.app.open_bidview('http://docs.example/a.pdf'),"
                                  "  cef.app.open_sucview('http://evil.example/'), cef.app.open_home()];"
                                  "document.title = 'done ' + r.join(',');"),
            u"done ,,")
      << "the page sees the same as on a service page";
  EXPECT_TRUE(system.shellCalls.empty());
  // The same call from the service's page goes through, so the host made the difference.
  RunServicePage("cef.app.open_bidview('http://docs.example/a.pdf');");
  ASSERT_EQ(system.shellCalls.size(), 1u);
  EXPECT_EQ(system.shellCalls[0].file, u"http://docs.example/a.pdf");
}

TEST_F(ExtensionPagesTest, TheHomePageOpensInTheUsersOwnBrowser) {
  EXPECT_EQ(RunServicePage("cef.app.open_home(); document.title = 'done';"), u"done");
  ASSERT_EQ(system.shellCalls.size(), 1u);
  EXPECT_EQ(system.shellCalls[0].file, std::u16string(shell::ServiceScheme) + u"://" + shell::ServiceHost);
  EXPECT_EQ(system.shellCalls[0].verb, u"Open");
  EXPECT_EQ(system.shellCalls[0].show, SW_SHOW);
  EXPECT_EQ(BrowserText("url"), ScriptPage(ServiceHostName(), "cef.app.open_home(); document.title = 'done';"))
      << "the embedded browser stays where it was";
}

// In a frame or a pop-up, the address of the page whose script calls decides, not the page
// around it or the one that opened it.
TEST_F(ExtensionPagesTest, AFramesOrPopupsOwnAddressDecides) {
  auto calling = [](const std::string& host, const std::string& what, const std::string& then = "") {
    return platform::Utf16ToUtf8(ScriptPage(host, "cef.app.open_bidview('" + what + "');" + then));
  };
  auto frames = [](const std::string& host, const std::string& left) {
    return platform::Utf8ToUtf16("http://" + host + "/frames?left=" + testing_support::QueryEscape(left));
  };
  Load(frames(ServiceHostName(), calling(kForeignHost, "http://x.example/foreign-frame")));
  Load(frames(kForeignHost, calling(ServiceHostName(), "http://x.example/service-frame")));
  RunPage(kForeignHost, "window.open('" + calling(ServiceHostName(), "http://x.example/service-pop-up", "window.close();") + "');");
  RunServicePage("window.open('" + calling(kForeignHost, "http://x.example/foreign-pop-up", "window.close();") + "');");
  ASSERT_EQ(testing_support::ProgramStandin().standin_wait_idle(nullptr, 20000), 1);
  std::vector<std::u16string> opened;
  for (const FakeSystem::ShellCall& call : system.shellCalls) opened.push_back(call.file);
  EXPECT_EQ(opened, (std::vector<std::u16string>{u"http://x.example/service-frame", u"http://x.example/service-pop-up"}));
}

}  // namespace
