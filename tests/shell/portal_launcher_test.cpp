// The portal launcher driving the Internet Explorer stand-in through COM, as the program
// drives Internet Explorer: the stand-in is registered as the server of the shell's window
// collection and of "InternetExplorer.Application", and the launcher's real COM calls
// reach it.

#include "shell/portal_launcher.h"

#include <gtest/gtest.h>

#include <exdisp.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "cef/ceflib/guard.h"
#include "platform/text.h"
#include "shell/com.h"
#include "shell/config.h"
#include "shell/ie_standin_control.h"
#include "support/fake_system.h"
#include "support/standin_control.h"

namespace {

using testing_support::FakeSystem;
using testing_support::IEStandinControl;

IEStandinControl& IE() { return IEStandinControl::Get(); }

const auto* const environment = ::testing::AddGlobalTestEnvironment(new testing_support::IEStandinEnvironment);

const std::u16string kPortal = std::u16string(u"http://") + shell::PortalHost;
const std::u16string kPortalPage = kPortal + u"/index.jsp";
const std::u16string kOtherSite = u"http://www.example.com/";

// The address the launcher must navigate to for a bid number.
std::u16string BidListAddress(const std::u16string& bidNumber) {
  return kPortal + u"/pt/menu/selectSubFrame.do?framesrc=/pt/menu/frameTgong.do?url=" + kPortal +
         u":8101/ep/tbid/tbidList.do?bidSearchType=1&bidno=" + bidNumber + u"&searchType=2";
}

std::string Utf8(const std::u16string& text) { return platform::Utf16ToUtf8(text); }

std::u16string Lines(std::initializer_list<std::u16string> lines) {
  std::u16string text;
  for (const std::u16string& line : lines) text += line + u"\n";
  return text;
}

class PortalLauncherTest : public testing_support::StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    IE().iestandin_reset();
  }
  void TearDown() override {
    EXPECT_EQ(IE().iestandin_live_objects(), 0) << "every interface the launcher took is released";
    EXPECT_EQ(IE().Errors(), u"");
    IE().iestandin_reset();
    IE().iestandin_register(kIEStandinAllParts);
    StandinTest::TearDown();
  }

  static int32_t AddBrowser(const std::u16string& address, IEStandinShow show = kIEStandinShown) {
    return IE().iestandin_add_entry(kIEStandinBrowser, address.c_str(), show);
  }
  static int32_t AddEntry(IEStandinEntryKind kind, const std::u16string& address = u"") {
    return IE().iestandin_add_entry(kind, address.c_str(), kIEStandinShown);
  }
  // Navigations made anywhere.
  static int32_t Navigations() {
    int32_t total = 0;
    for (int32_t i = 0; i < IE().iestandin_entry_count(); ++i) total += std::max(0, IE().iestandin_navigation_count(i));
    return total;
  }

  FakeSystem system;
};

// The bid number is the piece of the second argument before its first "-".
class BidNumberTest : public PortalLauncherTest,
                      public ::testing::WithParamInterface<std::pair<std::u16string, std::u16string>> {};

TEST_P(BidNumberTest, NavigatesANewWindowToTheBidList) {
  const auto& [second, bidNumber] = GetParam();
  shell::OpenG2bBidList(u"unused", second);
  ASSERT_EQ(IE().iestandin_entry_count(), 1);
  EXPECT_EQ(IE().Address(0), BidListAddress(bidNumber));
  EXPECT_EQ(IE().iestandin_navigation_count(0), 1);
  EXPECT_TRUE(system.messageBoxes.empty());
}

INSTANTIATE_TEST_SUITE_P(SecondArguments, BidNumberTest,
                         ::testing::Values(std::pair<std::u16string, std::u16string>{u"123-45", u"123"},
                                           std::pair<std::u16string, std::u16string>{u"123", u"123"},
                                           std::pair<std::u16string, std::u16string>{u"20240101234-00-1", u"20240101234"},
                                           std::pair<std::u16string, std::u16string>{u"-45", u""},
                                           std::pair<std::u16string, std::u16string>{u"", u""}));

TEST_F(PortalLauncherTest, NoPortalWindowOpensAVisibleOneInTheForeground) {
  shell::OpenG2bBidList(u"x", u"123-45");
  const std::u16string address = BidListAddress(u"123");
  EXPECT_EQ(IE().Record(), Lines({u"ShellWindows", u"Count 0", u"InternetExplorer 0", u"Visible 0 true", u"HWND 0",
                                  u"Foreground 0", u"Navigate2 0 " + address}));
  HWND window = IE().Window(0);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(IE().iestandin_entry_visible(0), 1);
  EXPECT_EQ(GetForegroundWindow(), window);
  EXPECT_EQ(IE().Address(0), address);
}

TEST_F(PortalLauncherTest, TheWindowItOpenedIsReusedByTheNextCall) {
  shell::OpenG2bBidList(u"x", u"111");
  shell::OpenG2bBidList(u"x", u"222-1");
  ASSERT_EQ(IE().iestandin_entry_count(), 1) << "no second Internet Explorer";
  EXPECT_EQ(IE().iestandin_navigation_count(0), 2);
  EXPECT_EQ(IE().Address(0), BidListAddress(u"222"));
}

TEST_F(PortalLauncherTest, TheEarlierOfTwoPortalWindowsIsReused) {
  AddBrowser(kOtherSite);
  AddBrowser(kPortalPage);
  AddBrowser(kPortal + u"/second.jsp");
  shell::OpenG2bBidList(u"x", u"77-1");
  EXPECT_EQ(IE().Record(), Lines({u"ShellWindows", u"Count 3", u"Item 0", u"LocationURL 0", u"Item 1",
                                  u"LocationURL 1", u"HWND 1", u"Foreground 1", u"Navigate2 1 " + BidListAddress(u"77")}));
  EXPECT_EQ(IE().iestandin_navigation_count(0), 0);
  EXPECT_EQ(IE().iestandin_navigation_count(2), 0);
  EXPECT_EQ(IE().iestandin_entry_count(), 3) << "no new Internet Explorer";
  EXPECT_EQ(GetForegroundWindow(), IE().Window(1));
}

TEST_F(PortalLauncherTest, WindowsOfOtherSitesAreNeverReused) {
  AddBrowser(kOtherSite);
  AddBrowser(u"C:\\Users\\Public\\Documents");
  // The domain is matched as it is written: other case is another address.
  AddBrowser(u"http://WWW.G2B.GO.KR/");
  AddBrowser(u"about:blank");
  shell::OpenG2bBidList(u"x", u"5");
  ASSERT_EQ(IE().iestandin_entry_count(), 5);
  EXPECT_EQ(IE().Address(4), BidListAddress(u"5"));
  EXPECT_EQ(Navigations(), 1);
  EXPECT_EQ(IE().Address(0), kOtherSite);
}

TEST_F(PortalLauncherTest, APortalWindowLaterInTheListIsFoundPastOtherSites) {
  AddBrowser(kOtherSite);
  AddBrowser(u"http://www.example.com/search?q=procurement");
  AddBrowser(kPortalPage);
  shell::OpenG2bBidList(u"x", u"9");
  EXPECT_EQ(IE().iestandin_navigation_count(2), 1);
  EXPECT_EQ(Navigations(), 1);
  EXPECT_EQ(IE().iestandin_entry_count(), 3);
}

TEST_F(PortalLauncherTest, EntriesThatAreNoWebBrowserArePassedOver) {
  AddEntry(kIEStandinNotBrowser);
  AddEntry(kIEStandinEmpty);
  AddEntry(kIEStandinBrowserWithoutApp, kPortalPage);
  AddBrowser(kPortalPage);
  shell::OpenG2bBidList(u"x", u"1-2");
  EXPECT_EQ(IE().Record(), Lines({u"ShellWindows", u"Count 4", u"Item 0", u"Item 1", u"Item 2", u"Item 3",
                                  u"LocationURL 3", u"HWND 3", u"Foreground 3", u"Navigate2 3 " + BidListAddress(u"1")}));
  EXPECT_EQ(IE().iestandin_navigation_count(2), 0);
}

TEST_F(PortalLauncherTest, AMinimisedPortalWindowComesForwardAndKeepsItsVisibility) {
  const int32_t portal = AddBrowser(kPortalPage, kIEStandinMinimised);
  const int32_t other = AddBrowser(kOtherSite);
  SetForegroundWindow(IE().Window(other));
  ASSERT_EQ(GetForegroundWindow(), IE().Window(other));
  shell::OpenG2bBidList(u"x", u"31-4");
  EXPECT_EQ(GetForegroundWindow(), IE().Window(portal));
  EXPECT_TRUE(IsIconic(IE().Window(portal))) << "the window is not restored";
  EXPECT_EQ(IE().iestandin_entry_visible(portal), 1);
  EXPECT_EQ(IE().Record().find(u"Visible"), std::u16string::npos) << Utf8(IE().Record());
  EXPECT_EQ(IE().Address(portal), BidListAddress(u"31"));
}

TEST_F(PortalLauncherTest, AHiddenPortalWindowStaysHidden) {
  const int32_t portal = AddBrowser(kPortalPage, kIEStandinHidden);
  shell::OpenG2bBidList(u"x", u"8");
  EXPECT_EQ(IE().iestandin_entry_visible(portal), 0);
  EXPECT_FALSE(IsWindowVisible(IE().Window(portal)));
  EXPECT_EQ(IE().Address(portal), BidListAddress(u"8"));
}

// Internet Explorer cannot be had: the user is told, and nothing else happens.
struct CreationFailure {
  const char* name;
  void (*arrange)();
};

class CreationFailureTest : public PortalLauncherTest, public ::testing::WithParamInterface<CreationFailure> {};

TEST_P(CreationFailureTest, ShowsTheMessageBoxAndNothingElse) {
  AddBrowser(kOtherSite);
  GetParam().arrange();
  EXPECT_NO_THROW(shell::OpenG2bBidList(u"x", u"123-45"));
  ASSERT_EQ(system.messageBoxes.size(), 1u);
  EXPECT_EQ(system.messageBoxes[0].text, u"브라우저 실행에러...");
  EXPECT_EQ(system.messageBoxes[0].flags & MB_TYPEMASK, static_cast<UINT>(MB_OK));
  EXPECT_EQ(Navigations(), 0);
  const std::u16string record = IE().Record();
  for (const char16_t* call : {u"Visible", u"HWND", u"Foreground", u"Navigate2"})
    EXPECT_EQ(record.find(call), std::u16string::npos) << Utf8(record);
  for (int32_t i = 1; i < IE().iestandin_entry_count(); ++i) EXPECT_EQ(IE().iestandin_entry_visible(i), 0);
}

INSTANTIATE_TEST_SUITE_P(
    InternetExplorer, CreationFailureTest,
    ::testing::Values(CreationFailure{"ProgIdUnknown", [] { ASSERT_EQ(IE().iestandin_unregister(kIEStandinProgId), S_OK); }},
                      CreationFailure{"ClassNotRegistered",
                                      [] { ASSERT_EQ(IE().iestandin_unregister(kIEStandinBrowserClass), S_OK); }},
                      CreationFailure{"CreationFails", [] { IE().iestandin_fail_next("InternetExplorer", 1, E_FAIL); }},
                      CreationFailure{"NoWebBrowser",
                                      [] { IE().iestandin_fail_next("IWebBrowser2", 1, E_NOINTERFACE); }}),
    [](const ::testing::TestParamInfo<CreationFailure>& info) { return std::string(info.param.name); });

// Any other failing automation call raises an error naming it and ends the operation there.
class AutomationFailureTest : public PortalLauncherTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(AutomationFailureTest, StopsBeforeTheNavigation) {
  // One window of another site: the launcher reads its address, creates a new browser,
  // shows it, brings it forward and navigates it, so that every call is reached.
  AddBrowser(kOtherSite);
  const HRESULT failure = E_ACCESSDENIED;
  IE().iestandin_fail_next(GetParam(), 1, failure);
  try {
    shell::OpenG2bBidList(u"x", u"123-45");
    ADD_FAILURE() << "no error was raised";
  } catch (const shell::EComError& error) {
    EXPECT_EQ(error.Result(), failure);
    EXPECT_FALSE(error.Call().empty());
  }
  const std::u16string record = IE().Record();
  const std::u16string failedLine = std::u16string(GetParam(), GetParam() + std::strlen(GetParam())) + u" failed 0x80070005\n";
  ASSERT_GE(record.size(), failedLine.size()) << Utf8(record);
  EXPECT_EQ(record.substr(record.size() - failedLine.size()), failedLine) << "nothing after the failed call:\n" << Utf8(record);
  EXPECT_EQ(Navigations(), 0);
  EXPECT_TRUE(system.messageBoxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Calls, AutomationFailureTest,
                         ::testing::Values("ShellWindows", "IShellWindows", "Count", "Item", "LocationURL", "Visible",
                                           "HWND", "Navigate2"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

TEST_F(PortalLauncherTest, AnUnregisteredWindowCollectionIsAnError) {
  ASSERT_EQ(IE().iestandin_unregister(kIEStandinShellWindowsClass), S_OK);
  try {
    shell::OpenG2bBidList(u"x", u"1");
    ADD_FAILURE() << "no error was raised";
  } catch (const shell::EComError& error) {
    // Windows answers REGDB_E_CLASSNOTREG; Wine, left with the class but no server, another failure.
    EXPECT_TRUE(FAILED(error.Result()));
    EXPECT_NE(error.Call().find(u"ShellWindows"), std::u16string::npos);
  }
  EXPECT_EQ(IE().Record(), u"");
  EXPECT_TRUE(system.messageBoxes.empty());
}

// Inside the runtime's call of the native function the layer's guard catches the error
// and hands its message to the application's error report.
TEST_F(PortalLauncherTest, AFailureInsideTheCallbackGuardReachesTheErrorReport) {
  std::u16string reported;
  cef::CallbackErrorReport previous = cef::SetCallbackErrorReport([&](const std::u16string& text) { reported = text; });
  IE().iestandin_fail_next("Count", 1, E_ACCESSDENIED);
  bool handled = cef::Guarded(false, [] {
    shell::OpenG2bBidList(u"x", u"1");
    return true;
  });
  cef::SetCallbackErrorReport(previous);
  EXPECT_FALSE(handled);
  EXPECT_EQ(reported.rfind(u"System Error.  Code: -2147024891.\r\n", 0), 0u) << Utf8(reported);
  EXPECT_NE(reported.find(u"IShellWindows.Count"), std::u16string::npos);
}

TEST_F(PortalLauncherTest, FindIEWindowKnowsOnlyThePortal) {
  const int32_t portal = AddBrowser(kPortalPage);
  {
    base::Ref<IWebBrowser2> found = shell::FindIEWindow(u"g2b");
    ASSERT_TRUE(found);
    SHANDLE_PTR window = 0;
    ASSERT_EQ(found->get_HWND(&window), S_OK);
    EXPECT_EQ(reinterpret_cast<HWND>(window), IE().Window(portal));
  }
  EXPECT_FALSE(shell::FindIEWindow(u"G2B"));
  EXPECT_FALSE(shell::FindIEWindow(u"naver"));
  EXPECT_EQ(IE().Record().find(u"LocationURL", IE().Record().find(u"HWND")), std::u16string::npos)
      << "other kinds read no address";
}

// Sets an environment variable of the process for the life of the holder.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const wchar_t* name, const std::wstring& value) : name_(name) {
    SetEnvironmentVariableW(name_, value.c_str());
  }
  ~ScopedEnvironment() { SetEnvironmentVariableW(name_, nullptr); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const wchar_t* name_;
};

// A run of the real program cannot reach the control interface: it scripts the windows
// through the environment and reads the record from the log file.
TEST_F(PortalLauncherTest, TheEnvironmentScriptsWindowsAndTheLogFileKeepsTheRecord) {
  const std::filesystem::path log =
      std::filesystem::temp_directory_path() / ("ie-standin-" + std::to_string(GetCurrentProcessId()) + ".log");
  std::filesystem::remove(log);
  {
    ScopedEnvironment logVariable(L"IE_STANDIN_LOG", log.wstring());
    ScopedEnvironment windows(L"IE_STANDIN_WINDOWS", L"folder:C:\\Users|empty|browser:" + platform::Utf16ToWide(kPortalPage));
    IE().iestandin_reset();
    ASSERT_EQ(IE().iestandin_entry_count(), 3);
    EXPECT_EQ(IE().iestandin_entry_window(0), nullptr);
    EXPECT_EQ(IE().Address(2), kPortalPage);
    shell::OpenG2bBidList(u"x", u"42-0");
  }
  EXPECT_EQ(IE().Address(2), BidListAddress(u"42"));
  std::stringstream written;
  written << std::ifstream(log, std::ios::binary).rdbuf();
  EXPECT_EQ(written.str(), Utf8(IE().Record()));
  EXPECT_NE(written.str().find("Navigate2 2 "), std::string::npos);
  std::filesystem::remove(log);
}

}  // namespace
