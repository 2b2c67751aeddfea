#include "cefvcl/chromium_fixture.h"

#include <windows.h>


#include "cef/cefvcl/pump.h"
#include "platform/text.h"
#include "support/app_loop.h"
#include "support/pump_module.h"
#include "ui/application.h"

namespace cefvcl_testing {

using namespace cef;

bool EventLog::Has(const std::string& entry) const { return IndexOf(entry) != entries.size(); }

size_t EventLog::IndexOf(const std::string& entry) const {
  size_t i = 0;
  while (i < entries.size() && entries[i] != entry) ++i;
  return i;
}

namespace {

std::string Utf8(const std::u16string& text) { return platform::Utf16ToUtf8(text); }

// The form's methods, one per event the tests watch; each writes a line to the log.
void PublishLogging(EventLog& log, const std::function<void(const std::u16string&, std::any)>& publish) {
  publish(u"ChromeAddressChange", TOnAddressChange([&log](TObject*, const Ref<ICefBrowser>&, const Ref<ICefFrame>& frame,
                                                          const std::u16string& url, bool&) {
            log.entries.push_back(std::string(frame && frame->IsMain() ? "address " : "sub address ") + Utf8(url));
          }));
  publish(u"ChromeTitleChange", TOnTitleChange([&log](TObject*, const Ref<ICefBrowser>&, const std::u16string& title,
                                                      bool&) { log.entries.push_back("title " + Utf8(title)); }));
  publish(u"ChromeLoadStart", TOnLoadStart([&log](TObject*, const Ref<ICefBrowser>&, const Ref<ICefFrame>& frame) {
            if (frame && frame->IsMain()) log.entries.push_back("load start");
          }));
  publish(u"ChromeLoadEnd", TOnLoadEnd([&log](TObject*, const Ref<ICefBrowser>&, const Ref<ICefFrame>& frame,
                                              int32_t status, bool&) {
            if (frame && frame->IsMain()) log.entries.push_back("load end " + std::to_string(status));
          }));
  publish(u"ChromeJsAlert", TOnJsAlert([&log](TObject*, const Ref<ICefBrowser>&, const Ref<ICefFrame>& frame,
                                              const std::u16string& message, bool& result) {
            log.entries.push_back(std::string("alert ") + (frame ? "" : "(no frame) ") + Utf8(message));
            result = true;  // answered: the runtime shows nothing itself
          }));
}

}  // namespace

ChromeForm::ChromeForm(const std::string& layout, EventLog& log) : TForm(nullptr) {
  PublishLogging(log, [this](const std::u16string& name, std::any method) { PublishMethod(name, std::move(method)); });
  InitFromLayout(ui::ReadLayout(layout), [] {});
}

std::string ChromeLayout(const std::string& controlProperties, int controls) {
  std::string layout =
      "object ChromeForm: TChromeForm\n"
      "  Left = 40\n  Top = 40\n  ClientWidth = 640\n  ClientHeight = 480\n";
  // A form without controls stays hidden, so that no window exists before the test asks.
  layout += controls ? "  Visible = True\n" : "  Visible = False\n";
  for (int i = 0; i < controls; ++i) {
    layout += "  object chrome" + (i ? std::to_string(i + 1) : std::string()) + ": TChromium\n";
    layout += controls == 1 ? "    Align = alClient\n"
                            : "    Left = " + std::to_string(i * 320) + "\n    Top = 0\n    Width = 320\n    Height = 480\n";
    layout += controlProperties + "  end\n";
  }
  return layout + "end\n";
}

void ChromiumTest::SetUpTestSuite() {
  testing_support::ProgramStandin();  // the runtime is loaded before any control exists
  testing_support::StartPumpModule();
}

void ChromiumTest::SetUp() {
  StandinTest::SetUp();
  hosts_ = std::make_unique<testing_support::ScopedHosts>("service.example=127.0.0.1:" +
                                                          std::to_string(testing_support::TestServicePort()));
}

void ChromiumTest::TearDown() {
  DestroyForm();
  hosts_.reset();
  StandinTest::TearDown();
}

ChromeForm* ChromiumTest::MakeForm(const std::string& controlProperties, int controls) {
  form_ = std::make_unique<ChromeForm>(ChromeLayout(controlProperties, controls), log_);
  return form_.get();
}

void ChromiumTest::DestroyForm() {
  form_.reset();
  EXPECT_TRUE(PumpUntil([] { return ClientHandlerCount.load() == 0 && Control().standin_browser_count() == 0; }))
      << "the runtime kept a client or a browser: " << ClientHandlerCount.load() << " clients, "
      << Control().standin_browser_count() << " browsers";
}

bool ChromiumTest::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  return testing_support::PumpUntil(done, timeoutMs);
}

void ChromiumTest::PumpFor(int milliseconds) { testing_support::PumpFor(milliseconds); }

std::string ChromiumTest::Service(const std::string& path) {
  return "http://service.example:" + std::to_string(testing_support::TestServicePort()) + path;
}

std::u16string ChromiumTest::Service16(const std::string& path) { return platform::Utf8ToUtf16(Service(path)); }

}  // namespace cefvcl_testing
