#pragma once
// The program's main window made in the test's process, with its browser on the program's
// runtime stand-in and the service host mapped to the test service.

#include <memory>
#include <string>

#include "cef/cefvcl/pump.h"
#include "shell/config.h"
#include "shell/main_form.h"
#include "support/app_loop.h"
#include "support/pump_module.h"
#include "support/raw_browser.h"
#include "support/standin_control.h"
#include "support/test_service.h"
#include "ui/picture.h"

namespace shell_testing {

// The service's home address, as the program builds it.
inline std::u16string ServiceHome() { return u"http://" + std::u16string(shell::ServiceHost); }

class MainFormFixture : public testing_support::StandinTest {
 protected:
  static void SetUpTestSuite() {
    testing_support::ProgramStandin();
    testing_support::StartPumpModule();
  }
  void SetUp() override {
    StandinTest::SetUp();
    std::string host;
    for (char16_t c : std::u16string(shell::ServiceHost)) host.push_back(static_cast<char>(c));
    hosts_ = std::make_unique<testing_support::ScopedHosts>(host + "=127.0.0.1:" +
                                                            std::to_string(testing_support::TestServicePort()));
    ui::RegisterGdiplusPictureFormats();
    form_ = std::make_unique<shell::TMainForm>(nullptr);
  }
  void TearDown() override {
    form_.reset();
    ui::UnregisterGdiplusPictureFormats();
    EXPECT_TRUE(testing_support::PumpUntil([] {
      return cef::ClientHandlerCount.load() == 0 && testing_support::ProgramStandin().standin_browser_count() == 0;
    })) << "the runtime kept the window's client or browser";
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    hosts_.reset();
    StandinTest::TearDown();
  }
  // Makes the main window again on a runtime that makes no browser for it.
  void RemakeFormWithoutABrowser() {
    form_.reset();
    ASSERT_TRUE(testing_support::PumpUntil([] { return cef::ClientHandlerCount.load() == 0; }));
    testing_support::ProgramStandin().standin_fail_next("cef_browser_create_sync", 1);
    form_ = std::make_unique<shell::TMainForm>(nullptr);
    ASSERT_FALSE(form_->chrome->Browser());
  }
  // Turns the loop until the browser has no load pending.
  void WaitIdle() {
    ASSERT_TRUE(testing_support::PumpUntil(
        [&] { return testing_support::BrowserValue(form_->chrome->Browser(), "loads.pending") == 0; }));
  }

  std::unique_ptr<shell::TMainForm> form_;

 private:
  std::unique_ptr<testing_support::ScopedHosts> hosts_;
};

}  // namespace shell_testing
