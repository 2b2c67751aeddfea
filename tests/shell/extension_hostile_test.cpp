// `cef.app` called badly by service pages: ten-mebibyte texts (the test parameter's round
// trip is with the other parameter tests), values of every kind, a thousand arguments,
// re-entry from a value's own conversion, and ten thousand test objects. The program
// answers each call, loses no character and keeps nothing: the runtime's accounts and the
// Internet Explorer stand-in's objects end at zero.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text.h"
#include "shell/config.h"
#include "shell/extension_portal_fixture.h"
#include "shell/ie_standin_control.h"
#include "shell/untrusted.h"

namespace {

using testing_support::IEStandinControl;

IEStandinControl& IE() { return IEStandinControl::Get(); }

using extension_testing::BigText;
using extension_testing::kBigTextScript;

std::vector<std::u16string> Split(const std::u16string& text, char16_t separator) {
  std::vector<std::u16string> pieces;
  size_t start = 0;
  for (size_t end; (end = text.find(separator, start)) != std::u16string::npos; start = end + 1)
    pieces.push_back(text.substr(start, end - start));
  pieces.push_back(text.substr(start));
  return pieces;
}

std::vector<std::u16string> Files(const testing_support::FakeSystem& system) {
  std::vector<std::u16string> files;
  for (const auto& call : system.shellCalls) files.push_back(call.file);
  return files;
}

// go_g2b reaches the real launcher, which drives the Internet Explorer stand-in that the
// portal tests of this program register.
using HostileExtensionPages = extension_testing::PortalPagesTest;

TEST_F(HostileExtensionPages, TenMebibytesReachTheShellUnchanged) {
  EXPECT_EQ(RunServicePage(kBigTextScript +
                           "cef.app.open_bidview('http://docs.example/' + big);"
                           "cef.app.open_sucview('http://docs.example/' + big + 'S');"
                           "document.title = 'done';"),
            u"done");
  const std::u16string address = u"http://docs.example/" + BigText();
  ASSERT_EQ(system.shellCalls.size(), 2u);
  EXPECT_EQ(system.shellCalls[0].file.size(), address.size());
  EXPECT_TRUE(system.shellCalls[0].file == address) << "the text differs";
  EXPECT_TRUE(system.shellCalls[1].file == address + u"S") << "the text differs";
}

TEST_F(HostileExtensionPages, ATenMebibyteBidNumberReachesThePortal) {
  EXPECT_EQ(RunServicePage(kBigTextScript + "cef.app.go_g2b('x', big); document.title = 'done';"), u"done");
  ASSERT_EQ(IE().iestandin_entry_count(), 1) << "a window was opened";
  EXPECT_EQ(IE().iestandin_navigation_count(0), 1);
  std::u16string address = IE().Address(0);
  EXPECT_TRUE(address == shell::BidListAddress(BigText())) << address.size() << " characters";
  EXPECT_TRUE(system.shellCalls.empty());
}

// Every function with values of every kind. A truthy value reaches the native function,
// which takes what String() of it gives; the page writes those texts into its title, one
// per truthy value, so that the shell's calls can be held against them.
TEST_F(HostileExtensionPages, ValuesOfEveryKindAreAnsweredAndPassedAsTheirText) {
  std::u16string title = RunServicePage(
      // The parameter is left as other tests left it: this test writes no string to it.
      "var was = cef.app.test_param;"
      "var odd = [{}, [], [1, [2, 'x']], function () { return 1; }, null, undefined, 0, 42, -1.5, NaN,"
      "  true, false, new Date(0), /re/g, Infinity, {toString: function () { return 'http://own.example/'; }}];"
      "var texts = [];"
      "for (var i = 0; i < odd.length; i++) {"
      "  var v = odd[i];"
      "  cef.app.open_bidview(v);"
      "  cef.app.test_param = v;"
      "  cef.app.go_g2b(v, v);"
      "  cef.app.open_home(v);"
      "  if (v) texts.push(String(v));"
      "}"
      "document.title = (cef.app.test_param === was) + '\\u0001' + texts.join('\\u0001');");
  std::vector<std::u16string> pieces = Split(title, u'\u0001');
  ASSERT_FALSE(pieces.empty());
  EXPECT_EQ(pieces[0], u"true") << "no value of another kind replaced the parameter";
  std::vector<std::u16string> texts(pieces.begin() + 1, pieces.end());
  ASSERT_EQ(texts.size(), 11u) << platform::Utf16ToUtf8(title);

  // The shell saw, per value, the home page (always), and the one text that is a web address.
  const std::u16string home = std::u16string(shell::ServiceScheme) + u"://" + shell::ServiceHost;
  std::vector<std::u16string> documents, homes;
  for (const std::u16string& file : Files(system)) (file == home ? homes : documents).push_back(file);
  EXPECT_EQ(homes.size(), 16u);
  EXPECT_EQ(texts.back(), u"http://own.example/");
  EXPECT_EQ(documents, std::vector<std::u16string>{texts.back()});
  // Each truthy value sent the portal window (the first one opened, then reused) once.
  EXPECT_EQ(IE().iestandin_entry_count(), 1);
  EXPECT_EQ(IE().iestandin_navigation_count(0), 11);
}

TEST_F(HostileExtensionPages, AThousandArgumentsAreTakenAndTheSurplusIgnored) {
  EXPECT_EQ(RunServicePage("var many = [];"
                           "for (var i = 0; i < 1000; i++) many.push('a' + i);"
                           "many[0] = 'http://a.example/0';"
                           "cef.app.open_bidview.apply(null, many);"
                           "cef.app.go_g2b.apply(null, many);"
                           "cef.app.open_home.apply(null, many);"
                           "var o = cef.app.test_object.apply(null, many);"
                           // The object's function is the one native function a page calls
                           // directly: the thousand values cross to the handler.
                           "document.title = o.GetMessage.apply(o, many.concat(many));"),
            u"Calling a function on a native object succeeded.");
  ASSERT_EQ(system.shellCalls.size(), 2u);
  EXPECT_EQ(system.shellCalls[0].file, u"http://a.example/0");
  EXPECT_EQ(system.shellCalls[1].file, std::u16string(shell::ServiceScheme) + u"://" + shell::ServiceHost);
  ASSERT_EQ(IE().iestandin_entry_count(), 1);
  EXPECT_NE(IE().Address(0).find(u"bidno=a1&"), std::u16string::npos);
}

// A value whose conversion to text runs page script re-enters the handler while it is
// answering a call; one whose conversion throws still gets an answer.
TEST_F(HostileExtensionPages, AValueWhoseConversionCallsBackOrThrowsLeavesThePageRunning) {
  EXPECT_EQ(RunServicePage("var inner = {toString: function () { cef.app.open_sucview('http://inner.example/'); return 'http://outer.example/'; }};"
                           "cef.app.open_bidview(inner);"
                           "var thrower = {toString: function () { throw new Error('no text'); }};"
                           "try { cef.app.open_bidview(thrower); } catch (e) {}"
                           "document.title = 'done';"),
            u"done");
  ASSERT_GE(system.shellCalls.size(), 2u);
  EXPECT_EQ(system.shellCalls[0].file, u"http://inner.example/");
  EXPECT_EQ(system.shellCalls[1].file, u"http://outer.example/");
}

TEST_F(HostileExtensionPages, TenThousandTestObjectsAreMadeCalledAndLetGo) {
  EXPECT_EQ(RunServicePage("var bad = 0;"
                           "for (var i = 0; i < 10000; i++) {"
                           "  var o = cef.app.test_object();"
                           "  if (o.GetMessage() !== 'Calling a function on a native object succeeded.' ||"
                           "      o.param !== 'Retrieving a parameter on a native object succeeded.') bad++;"
                           "}"
                           "document.title = 'bad ' + bad;"),
            u"bad 0");
  // The objects go with the page; the fixture's end checks that the runtime let go of
  // every one, and of every reference to the handler they carried.
  Load(ScriptPage(extension_testing::kForeignHost, "document.title = 'after';"));
  EXPECT_EQ(BrowserText("title"), u"after");
}

}  // namespace
