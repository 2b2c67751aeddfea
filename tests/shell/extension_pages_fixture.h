#pragma once
// Pages of the test service in a stand-in browser, with the page extension registered the
// way the program registers it, under the service's own host name and a foreign one.

#include <string>

#include "ceflib/browsing_fixture.h"
#include "support/fake_system.h"

namespace extension_testing {

inline constexpr char kForeignHost[] = "foreign.example";
// The service's host as the program has it built in.
std::string ServiceHostName();

// A page script that leaves in `big` a text of ten mebi code units and an end mark, the
// same as BigText(): sixteen units (a Korean syllable and a surrogate pair among them)
// doubled to one mebi-unit, ten times over, so that a cut anywhere shows.
extern const std::string kBigTextScript;
const std::u16string& BigText();

class ExtensionPagesTest : public browsing_testing::BrowsingTest {
 protected:
  void SetUp() override;

  // Loads a script page from host and answers its title once its script has run.
  std::u16string RunPage(const std::string& host, const std::string& code);
  std::u16string RunServicePage(const std::string& code);
  // The script page's address on host.
  static std::u16string ScriptPage(const std::string& host, const std::string& code);

  // Records what reaches the shell instead of opening it.
  testing_support::FakeSystem system;
};

}  // namespace extension_testing
