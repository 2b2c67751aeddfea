// Pages that open pop-ups by the hundred, each pop-up opening the next and closing itself:
// every pop-up reaches the control with the control's client, closes through the life-span
// callbacks and is released; the control stays usable; and once the control is gone, no
// pop-up that lives on reaches it.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cef/cefvcl/pump.h"
#include "cefvcl/chromium_fixture.h"
#include "support/test_service.h"
#include "platform/text.h"

namespace {

using namespace cefvcl_testing;
using namespace cef;

constexpr int kPopups = 100;

// Pop-up number n titles itself "popup n", opens number n + 1 up to the last (unless told
// to stay) and closes itself.
std::string PopupScript(bool closeItself) {
  return "var n = +location.href.split('&n=')[1];"
         "document.title = 'popup ' + n;"
         "if (n < " + std::to_string(kPopups) + ") window.open(location.href.split('&n=')[0] + '&n=' + (n + 1));" +
         (closeItself ? "window.close();" : "");
}

// The page that opens the first pop-up, and then tries to close itself, which a window that
// no script opened may not.
std::string OpenerPage(bool popupsCloseThemselves) {
  std::string code = "window.open('/script-page?code=" + testing_support::QueryEscape(PopupScript(popupsCloseThemselves)) +
                     "&n=1'); document.title = 'opener'; window.close();";
  return "/script-page?code=" + testing_support::QueryEscape(code);
}

// The runtime's structure behind a browser, as an identity only: no reference is kept.
const void* Identity(const Ref<ICefBrowser>& browser) {
  TCefBase* raw = browser->Wrap();
  raw->release(raw);
  return raw;
}

// What the control heard of pop-ups, kept outside it so that it outlives the control.
struct PopupEvents {
  std::set<const void*> open;  // pop-ups made and not yet closed
  int created = 0;
  int closing = 0;  // OnClose, the runtime asking whether the close is taken over
  int closed = 0;   // OnBeforeClose
  int mainClosed = 0;
  std::set<int> titled;
  int afterControlWent = 0;
  bool controlGone = false;
};

class PopupStorm : public ChromiumTest {
 protected:
  // A control whose events count into events_.
  void MakeWatchedForm() {
    MakeForm("");
    TChromium* chrome = form_->Chrome();
    chrome->SetOnAfterCreated([this](TObject*, const Ref<ICefBrowser>& browser) {
      Note();
      if (!browser || !browser->IsPopup()) return;
      ++events_.created;
      events_.open.insert(Identity(browser));
    });
    chrome->SetOnClose([this](TObject*, const Ref<ICefBrowser>& browser, bool&) {
      Note();
      if (browser && browser->IsPopup()) ++events_.closing;
    });
    // A closing browser no longer answers its members, so it is known by its identity.
    chrome->SetOnBeforeClose([this](TObject*, const Ref<ICefBrowser>& browser, bool&) {
      Note();
      (browser && events_.open.erase(Identity(browser)) ? events_.closed : events_.mainClosed)++;
    });
    chrome->SetOnTitleChange([this](TObject*, const Ref<ICefBrowser>& browser, const std::u16string& title, bool&) {
      Note();
      std::string text = platform::Utf16ToUtf8(title);
      if (browser && browser->IsPopup() && text.rfind("popup ", 0) == 0)
        events_.titled.insert(std::stoi(text.substr(6)));
    });
  }
  void Note() {
    if (events_.controlGone) ++events_.afterControlWent;
  }
  static int OpenPopups() { return Control().standin_browser_count() - 1; }

  PopupEvents events_;
};

TEST_F(PopupStorm, AHundredPopupsOpenAndCloseThemselvesAndTheControlCarriesOn) {
  MakeWatchedForm();
  Ref<ICefBrowser> main = form_->Chrome()->Browser();
  ASSERT_TRUE(main);
  form_->Chrome()->Load(Service16(OpenerPage(true)));
  ASSERT_TRUE(PumpUntil([&] { return events_.closed == kPopups && OpenPopups() == 0; }, 120000))
      << events_.created << " pop-ups made, " << events_.closed << " closed, " << OpenPopups() << " open";

  EXPECT_EQ(events_.created, kPopups);
  EXPECT_TRUE(events_.open.empty()) << "each pop-up made was the one closed";
  EXPECT_EQ(events_.closing, kPopups) << "each close was offered to the control first";
  EXPECT_EQ(events_.titled.size(), static_cast<size_t>(kPopups)) << "every pop-up's page reached the control";
  EXPECT_EQ(*events_.titled.begin(), 1);
  EXPECT_EQ(*events_.titled.rbegin(), kPopups);
  EXPECT_EQ(events_.mainClosed, 0) << "the opener may not close itself";
  EXPECT_EQ(BrowserText(main, "title"), u"opener");

  // The control is the same and still browses.
  EXPECT_EQ(form_->Chrome()->Browser(), main);
  form_->Chrome()->Load(Service16("/dom"));
  EXPECT_TRUE(PumpUntil([&] { return BrowserText(main, "title") == u"DOM test page"; }));
  main = nullptr;
}

TEST_F(PopupStorm, PopupsThatOutliveTheControlNeverReachIt) {
  MakeWatchedForm();
  form_->Chrome()->Load(Service16(OpenerPage(false)));
  // A few pop-ups are up and more are coming when the control goes.
  ASSERT_TRUE(PumpUntil([&] { return events_.created >= 10; }, 60000)) << events_.created << " pop-ups made";
  int before = events_.created;
  events_.controlGone = true;
  form_.reset();

  // The control's own browser went with it; the chain goes on without the control until
  // every pop-up is up, and then the runtime is asked to close them one by one.
  EXPECT_TRUE(PumpUntil([&] { return Control().standin_browser_count() == kPopups; }, 120000))
      << Control().standin_browser_count() << " browsers open, " << before << " made before the control went";
  EXPECT_TRUE(PumpUntil([&] {
    TCefBrowser* any = Control().standin_browser_at(0);
    if (!any) return true;
    any->close_browser(any);
    any->base.release(&any->base);
    return false;
  }, 60000)) << Control().standin_browser_count() << " browsers left";
  EXPECT_EQ(events_.afterControlWent, 0) << "a pop-up reached the destroyed control";
  EXPECT_TRUE(PumpUntil([] { return ClientHandlerCount.load() == 0; })) << "a pop-up kept the client";
}

}  // namespace
