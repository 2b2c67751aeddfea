#include "shell/extension_pages_fixture.h"

#include <memory>

#include "platform/text.h"
#include "shell/config.h"
#include "shell/extension.h"
#include "support/test_service.h"

namespace extension_testing {
std::string ServiceHostName() { return platform::Utf16ToUtf8(shell::ServiceHost); }

const std::string kBigTextScript =
    "var k = '0123456789abc\\uD55C\\uD83D\\uDE00';"
    "while (k.length < 1048576) k += k;"
    "var big = '';"
    "for (var i = 0; i < 10; i++) big += k;"
    "big += 'END';";

const std::u16string& BigText() {
  static const std::u16string big = [] {
    std::u16string k = u"0123456789abc\uD55C\U0001F600";
    while (k.size() < 1048576) k += k;
    std::u16string text;
    for (int i = 0; i < 10; ++i) text += k;
    return text + u"END";
  }();
  return big;
}

void ExtensionPagesTest::SetUp() {
  testing_support::ProgramStandin();
  // Once for the program, before its first page, as at start-up; the runtime keeps the
  // handler, and with it the test parameter, until it shuts down.
  static const bool registered = (shell::RegisterExtension(), true);
  ASSERT_TRUE(registered);
  BrowsingTest::SetUp();
  // Both names reach the test service. The old mapping goes first: its end clears the
  // variable.
  std::string service = "127.0.0.1:" + std::to_string(testing_support::TestServicePort());
  hosts_.reset();
  hosts_ = std::make_unique<testing_support::ScopedHosts>(ServiceHostName() + "=" + service + ";" + kForeignHost + "=" +
                                                          service);
}

std::u16string ExtensionPagesTest::ScriptPage(const std::string& host, const std::string& code) {
  return platform::Utf8ToUtf16("http://" + host + "/script-page?code=" + testing_support::QueryEscape(code));
}

std::u16string ExtensionPagesTest::RunPage(const std::string& host, const std::string& code) {
  Load(ScriptPage(host, code));
  return BrowserText("title");
}

std::u16string ExtensionPagesTest::RunServicePage(const std::string& code) { return RunPage(ServiceHostName(), code); }

}  // namespace extension_testing
