#pragma once
// A test form holding browser controls, read from a layout as the main window is, with
// pages from the test service under the made-up host service.example, and a loop turned
// through the application's own hooks so that the pump does the runtime's work.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cef/cefvcl/chromium.h"
#include "support/raw_browser.h"
#include "support/standin_control.h"
#include "support/test_service.h"
#include "ui/form.h"

namespace cefvcl_testing {

// The events a form's methods saw, as short texts ("title Page", "load end 200").
struct EventLog {
  std::vector<std::string> entries;
  bool Has(const std::string& entry) const;
  size_t IndexOf(const std::string& entry) const;
};

class ChromeForm : public ui::TForm {
 public:
  ChromeForm(const std::string& layout, EventLog& log);
  std::u16string ClassName() const override { return u"TChromeForm"; }
  cef::TChromium* Chrome(const std::u16string& name = u"chrome") const { return Find<cef::TChromium>(name); }
};

// A form with browser controls (one fills it, more stand side by side); extra lines go into
// each control's object. A form of no controls is not shown.
std::string ChromeLayout(const std::string& controlProperties, int controls = 1);

class ChromiumTest : public testing_support::StandinTest {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  ChromeForm* MakeForm(const std::string& controlProperties, int controls = 1);
  // Destroys the form and turns the loop until the runtime has let go of every client.
  void DestroyForm();
  // Turns the application loop (message and idle hooks) until done() or the time is out.
  static bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 15000);
  static void PumpFor(int milliseconds);

  static std::string Service(const std::string& path);
  static std::u16string Service16(const std::string& path);
  static const testing_support::StandinControl& Control() { return testing_support::ProgramStandin(); }

  EventLog log_;
  std::unique_ptr<ChromeForm> form_;

 private:
  std::unique_ptr<testing_support::ScopedHosts> hosts_;
};

using testing_support::BrowserText;
using testing_support::BrowserValue;
using testing_support::WithRawBrowser;

}  // namespace cefvcl_testing
