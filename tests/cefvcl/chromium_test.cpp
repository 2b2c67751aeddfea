// The browser control on a test form: its browser, its window, its messages and its
// events, with pages of the test service.

#include <windows.h>

#include <cstring>
#include <memory>

#include "cef/ceflib/strings.h"
#include "cef/cefvcl/pump.h"
#include "cefvcl/chromium_fixture.h"
#include "standin_callbacks/control_call.h"
#include "support/fake_system.h"
#include "ui/application.h"

namespace cefvcl_testing {
namespace {

using namespace cef;
using callback_testing::ControlCall;

const char kLoggingEvents[] =
    "    OnAddressChange = ChromeAddressChange\n"
    "    OnTitleChange = ChromeTitleChange\n"
    "    OnLoadStart = ChromeLoadStart\n"
    "    OnLoadEnd = ChromeLoadEnd\n"
    "    OnJsAlert = ChromeJsAlert\n";

std::string DefaultUrl(const std::string& url) { return "    DefaultUrl = '" + url + "'\n"; }

RECT ClientOf(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

// The browser window's place in its parent's client coordinates.
RECT PlaceOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

using Chromium = ChromiumTest;

TEST_F(Chromium, APageOfTheServiceLoadsAndItsEventsFireOnTheFormInOrder) {
  ChromeForm* form = MakeForm(DefaultUrl(Service("/second")) + kLoggingEvents);
  TChromium* chrome = form->Chrome();
  ASSERT_TRUE(chrome && chrome->Browser()) << "the browser is made while the form is read";
  ASSERT_TRUE(PumpUntil([&] { return log_.Has("load end 200"); })) << "no load end reached the form";
  const std::string address = "address " + Service("/second");
  size_t start = log_.IndexOf("load start"), addr = log_.IndexOf(address), title = log_.IndexOf("title Second page"),
         end = log_.IndexOf("load end 200");
  ASSERT_TRUE(start < log_.entries.size() && addr < log_.entries.size() && title < log_.entries.size());
  EXPECT_LT(addr, title) << "the address is known before the title";
  EXPECT_LT(start, end);
  EXPECT_LT(title, end) << "the title is read while the page loads";
  EXPECT_EQ(BrowserText(chrome->Browser(), "title"), u"Second page");
  EXPECT_EQ(chrome->DefaultUrl(), Service16("/second"));
}

TEST_F(Chromium, APagesAlertReachesOnJsAlertWithItsFrame) {
  MakeForm(DefaultUrl(Service("/script-page?code=alert(''%EC%95%88%EB%85%95 there'')")) + kLoggingEvents);
  ASSERT_TRUE(PumpUntil([&] { return log_.Has("load end 200"); }));
  EXPECT_TRUE(log_.Has("alert 안녕 there")) << "log: " << testing::PrintToString(log_.entries);
}

TEST_F(Chromium, LoadBeforeTheWindowExistsMakesTheWindowAndTheBrowserFirst) {
  ui::TForm* form = MakeForm("", 0);  // a form not shown yet: no window anywhere
  ASSERT_FALSE(form->HandleAllocated());
  auto* chrome = form->CreateOwned<TChromium>();
  chrome->SetParent(form);
  chrome->SetBounds(0, 0, 200, 100);
  ASSERT_FALSE(chrome->HandleAllocated());
  EXPECT_FALSE(chrome->Browser());
  chrome->SetOnLoadEnd([&](TObject*, const Ref<ICefBrowser>&, const Ref<ICefFrame>&, int32_t status, bool&) {
    log_.entries.push_back("own load end " + std::to_string(status));
  });
  chrome->Load(Service16("/dom"));
  EXPECT_TRUE(chrome->HandleAllocated());
  ASSERT_TRUE(chrome->Browser());
  EXPECT_EQ(GetParent(chrome->BrowserHandle()), chrome->Handle()) << "the browser's window is the control's child";
  ASSERT_TRUE(PumpUntil([&] { return log_.Has("own load end 200"); }));
  EXPECT_EQ(BrowserText(chrome->Browser(), "url"), Service16("/dom"));
}

TEST_F(Chromium, AnEmptyDefaultUrlIsStillLoaded) {
  int32_t before = Control().standin_call_count("frame.load_url");
  ChromeForm* form = MakeForm("");
  ASSERT_TRUE(form->Chrome()->Browser());
  EXPECT_EQ(Control().standin_call_count("frame.load_url"), before + 1) << "Loaded sends the main frame to \"\"";
  EXPECT_EQ(BrowserText(form->Chrome()->Browser(), "url"), u"");
}

TEST_F(Chromium, TheBrowserIsMadeInTheControlsWindowWithItsClientArea) {
  ChromeForm* form = MakeForm("");
  TChromium* chrome = form->Chrome();
  HWND browserWindow = chrome->BrowserHandle();
  ASSERT_TRUE(IsWindow(browserWindow));
  EXPECT_EQ(GetParent(browserWindow), chrome->Handle());
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(browserWindow, GWL_STYLE)) & 0x56010000u, 0x56010000u)
      << "child, visible, clipping children and siblings, a tab stop";
  EXPECT_TRUE(SameRect(PlaceOf(browserWindow), ClientOf(chrome->Handle())));
  EXPECT_EQ(browserWindow, static_cast<HWND>(chrome->Browser()->GetWindowHandle()));
}

TEST_F(Chromium, WithoutABrowserLoadAndReCreateBrowserDoNothing) {
  Control().standin_fail_next("cef_browser_create_sync", 1);
  int32_t loads = Control().standin_call_count("frame.load_url");
  ChromeForm* form = MakeForm(DefaultUrl(Service("/dom")));
  TChromium* chrome = form->Chrome();
  EXPECT_TRUE(chrome->HandleAllocated());
  EXPECT_FALSE(chrome->Browser());
  EXPECT_EQ(chrome->BrowserHandle(), static_cast<HWND>(INVALID_HANDLE_VALUE)) << "left as it was";
  int32_t creations = Control().standin_call_count("cef_browser_create_sync");
  chrome->ReCreateBrowser(Service16("/second"));
  chrome->Load(Service16("/second"));
  EXPECT_EQ(Control().standin_call_count("cef_browser_create_sync"), creations) << "no new browser";
  EXPECT_EQ(Control().standin_call_count("frame.load_url"), loads) << "nothing loaded";
  EXPECT_EQ(SendMessageW(chrome->Handle(), WM_ERASEBKGND, 0, 0), 1) << "erased as any control is";
  SendMessageW(chrome->Handle(), WM_SETFOCUS, 0, 0);
  form->SetClientSize(300, 200);  // a resize without a browser asks nothing
  PumpFor(50);
  EXPECT_EQ(Control().standin_error_count(), 0);
}

TEST_F(Chromium, ReCreateBrowserReplacesTheBrowserAndLoadsTheAddress) {
  ChromeForm* form = MakeForm(DefaultUrl(Service("/dom")) + kLoggingEvents);
  TChromium* chrome = form->Chrome();
  ASSERT_TRUE(PumpUntil([&] { return log_.Has("load end 200"); }));
  Ref<ICefBrowser> old = chrome->Browser();
  HWND oldWindow = chrome->BrowserHandle();
  chrome->ReCreateBrowser(Service16("/second"));
  ASSERT_TRUE(chrome->Browser());
  EXPECT_NE(chrome->Browser().get(), old.get());
  EXPECT_NE(chrome->BrowserHandle(), oldWindow);
  EXPECT_EQ(BrowserValue(old, "parent_window_will_close"), 1) << "the old browser was told first";
  ASSERT_TRUE(PumpUntil([&] { return log_.Has("title Second page") && BrowserValue(old, "closed") == 1; }));
  EXPECT_FALSE(IsWindow(oldWindow));
  EXPECT_EQ(Control().standin_browser_count(), 1);
  old = nullptr;
}

TEST_F(Chromium, ANewWindowGetsANewBrowser) {
  ChromeForm* form = MakeForm(DefaultUrl(Service("/dom")));
  TChromium* chrome = form->Chrome();
  Ref<ICefBrowser> first = chrome->Browser();
  ASSERT_TRUE(first);
  chrome->RecreateWnd();
  chrome->Handle();
  ASSERT_TRUE(chrome->Browser());
  EXPECT_NE(chrome->Browser().get(), first.get());
  EXPECT_EQ(GetParent(chrome->BrowserHandle()), chrome->Handle());
  ASSERT_TRUE(PumpUntil([&] { return BrowserValue(first, "closed") == 1; }))
      << "the old browser closes with its window";
  first = nullptr;
}

TEST_F(Chromium, TheFourWindowMessages) {
  ChromeForm* form = MakeForm("");
  TChromium* chrome = form->Chrome();
  HWND window = chrome->Handle();
  EXPECT_EQ(SendMessageW(window, WM_GETDLGCODE, 0, 0), 1) << "the control wants the arrow keys";
  for (WPARAM key : {WPARAM{9}, WPARAM{13}, WPARAM{27}, WPARAM{'A'}, WPARAM{36}, WPARAM{41}})
    EXPECT_EQ(SendMessageW(window, 0xB01E, key, 0), 1) << "the control takes key " << key;
  for (WPARAM key = 37; key <= 40; ++key)
    EXPECT_EQ(SendMessageW(window, 0xB01E, key, 0), 0) << "arrow " << key << " goes to the default handling";

  // With a browser covering it the control erases nothing; without one it takes the
  // framework's way (painted with everything else, answering 1).
  EXPECT_EQ(SendMessageW(window, WM_ERASEBKGND, 0, 0), 0);

  // Focus is handed on as a posted message: the browser has it only after the loop ran.
  Ref<ICefBrowser> browser = chrome->Browser();
  ASSERT_EQ(BrowserValue(browser, "focused"), 0);
  // wParam names the window that lost the focus; lParam is not passed on.
  SendMessageW(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(form->Handle()), 77);
  EXPECT_EQ(BrowserValue(browser, "focused"), 0) << "not sent: posted";
  MSG posted{};
  ASSERT_TRUE(PeekMessageW(&posted, chrome->BrowserHandle(), WM_SETFOCUS, WM_SETFOCUS, PM_NOREMOVE));
  EXPECT_EQ(posted.wParam, reinterpret_cast<WPARAM>(form->Handle()));
  EXPECT_EQ(posted.lParam, 0);
  EXPECT_TRUE(PumpUntil([&] { return BrowserValue(browser, "focused") == 1; }));
}

TEST_F(Chromium, TheBrowsersWindowFollowsEveryResizeKeepingItsPlaceInTheStack) {
  ChromeForm* form = MakeForm("");
  TChromium* chrome = form->Chrome();
  HWND browserWindow = chrome->BrowserHandle();
  // A sibling above the browser's window inside the control: the batch must not reorder them.
  HWND sibling = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, chrome->Handle(), nullptr, nullptr, nullptr);
  SetWindowPos(sibling, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  HWND topBefore = GetWindow(chrome->Handle(), GW_CHILD);
  form->SetClientSize(900, 700);
  EXPECT_TRUE(SameRect(PlaceOf(browserWindow), ClientOf(chrome->Handle())));
  EXPECT_TRUE(SameRect(ClientOf(chrome->Handle()), ClientOf(form->Handle()))) << "the control fills the form";
  chrome->SetAlign(ui::Align::None);
  chrome->SetBounds(10, 10, 333, 222);
  EXPECT_TRUE(SameRect(PlaceOf(browserWindow), RECT{0, 0, 333, 222}));
  EXPECT_EQ(GetWindow(chrome->Handle(), GW_CHILD), topBefore) << "the stacking order is unchanged";
  ShowWindow(form->Handle(), SW_MAXIMIZE);
  PumpFor(30);
  EXPECT_TRUE(SameRect(PlaceOf(browserWindow), ClientOf(chrome->Handle())));
  DestroyWindow(sibling);
}

TEST_F(Chromium, APopupGetsTheControlsSettings) {
  ChromeForm* form = MakeForm("    DefaultEncoding = 'euc-kr'\n    Options = [coDeveloperToolsDisabled, coJavaDisabled]\n"
                              "    FontOptions.DefaultFontSize = 15\n");
  Ref<ICefBrowser> browser = form->Chrome()->Browser();
  ASSERT_TRUE(browser);
  TCefBrowserSettings own{};
  ASSERT_EQ(WithRawBrowser(browser,
                           [&](TCefBrowser* b) {
                             return Control().standin_browser_settings(b, &own, static_cast<int32_t>(sizeof own));
                           }),
            static_cast<int32_t>(sizeof own));
  EXPECT_EQ(own.default_font_size, 15);
  EXPECT_EQ(own.developer_tools_disabled, 1);
  {
    ControlCall call(Control(), "life_span.on_before_popup");
    TCefBrowserSettings given{};
    given.size = sizeof given;
    TCefPopupFeatures features{};
    TCefWindowInfo info{};
    call.Record(1, features).Record(2, info).Text(3, u"http://service.example/popup").Record(5, given);
    ASSERT_EQ(WithRawBrowser(browser, [&](TCefBrowser* b) { return call.Fire(b); }), 1);
    EXPECT_EQ(call.Answer(), 0) << "no OnBeforePopup: the pop-up is not cancelled";
    auto seen = call.RecordAt<TCefBrowserSettings>(5);
    EXPECT_EQ(std::memcmp(&seen, &own, sizeof seen), 0) << "byte for byte the control's own settings";
    EXPECT_EQ(call.RecordText(5, offsetof(TCefBrowserSettings, default_encoding)), u"euc-kr");
    EXPECT_EQ(call.TextAt(3), u"http://service.example/popup");
  }
}

TEST_F(Chromium, APopupSettingsRecordOfAnotherSizeIsAnAssertionFailureReportedOnce) {
  testing_support::FakeSystem system;
  ChromeForm* form = MakeForm("");
  Ref<ICefBrowser> browser = form->Chrome()->Browser();
  ControlCall call(Control(), "life_span.on_before_popup");
  TCefBrowserSettings given{};
  given.size = 100;
  given.default_font_size = 77;
  call.Record(5, given);
  ASSERT_EQ(WithRawBrowser(browser, [&](TCefBrowser* b) { return call.Fire(b); }), 1);
  EXPECT_EQ(call.Answer(), 0);
  auto seen = call.RecordAt<TCefBrowserSettings>(5);
  EXPECT_EQ(seen.default_font_size, 77) << "nothing written";
  ASSERT_EQ(system.messageBoxes.size(), 1u);
  EXPECT_EQ(system.messageBoxes[0].text, u"Assertion failure (cefvcl, line 855)");
}

TEST_F(Chromium, OnBeforePopupMayChangeThePopupsFeatures) {
  ChromeForm* form = MakeForm("");
  form->Chrome()->SetOnBeforePopup([](TObject*, const Ref<ICefBrowser>&, TCefPopupFeatures& features,
                                      TCefWindowInfo&, std::u16string&, Ref<ICefBase>&, bool&) {
    features.width = 480;
    features.widthSet = 1;
    features.menuBarVisible = 0;
  });
  ControlCall call(Control(), "life_span.on_before_popup");
  TCefBrowserSettings given{};
  given.size = sizeof given;
  TCefPopupFeatures features{};
  features.menuBarVisible = 1;
  call.Record(1, features).Record(5, given);
  ASSERT_EQ(WithRawBrowser(form->Chrome()->Browser(), [&](TCefBrowser* b) { return call.Fire(b); }), 1);
  auto seen = call.RecordAt<TCefPopupFeatures>(1);
  EXPECT_EQ(seen.width, 480);
  EXPECT_EQ(seen.widthSet, 1);
  EXPECT_EQ(seen.menuBarVisible, 0);
}

TEST_F(Chromium, AnEventThatClearsItselfWhileItRunsLivesUntilItReturns) {
  ChromeForm* form = MakeForm("");
  TChromium* chrome = form->Chrome();
  // Statics: once the handler is gone, its own captures may not be touched.
  static bool running;
  static int destroyedWhileRunning;
  running = false;
  destroyedWhileRunning = -1;
  struct Witness {
    ~Witness() { destroyedWhileRunning = running ? 1 : 0; }
  };
  auto witness = std::make_shared<Witness>();
  chrome->SetOnTitleChange([witness, chrome](TObject*, const Ref<ICefBrowser>&, const std::u16string&, bool&) {
    running = true;
    chrome->SetOnTitleChange(nullptr);
    running = false;
  });
  witness.reset();
  ControlCall call(Control(), "display.on_title_change");
  call.Text(1, u"A title");
  ASSERT_EQ(WithRawBrowser(chrome->Browser(), [&](TCefBrowser* b) { return call.Fire(b); }), 1);
  EXPECT_FALSE(chrome->OnTitleChange());
  EXPECT_EQ(destroyedWhileRunning, 0) << "the handler was destroyed while it ran";
}

TEST_F(Chromium, AfterDestroyTheOldClientAnswersNullAndAHandlerTheRuntimeHeldRaisesNoEvent) {
  ChromeForm* form = MakeForm(DefaultUrl(Service("/dom")) + kLoggingEvents);
  Ref<ICefBrowser> browser = form->Chrome()->Browser();
  ASSERT_TRUE(PumpUntil([&] { return log_.Has("load end 200"); }));
  Ref<ICefBase> client = browser->GetClient();
  ASSERT_TRUE(client);
  auto* raw = reinterpret_cast<TCefClient*>(client->Wrap());
  // The runtime may hold a handler beyond the control's life and call it then.
  TCefDisplayHandler* display = raw->get_display_handler(raw);
  ASSERT_NE(display, nullptr) << "while the control lives";
  size_t eventsBefore = log_.entries.size();

  form_.reset();
  EXPECT_EQ(BrowserValue(browser, "parent_window_will_close"), 1);
  std::u16string late = u"Late title";
  TCefString title{late.data(), static_cast<uint32_t>(late.size()), nullptr};
  WithRawBrowser(browser, [&](TCefBrowser* b) {
    b->base.add_ref(&b->base);  // the reference that goes with a callback's argument
    display->on_title_change(display, b, &title);
    return 0;
  });
  display->base.release(&display->base);
  // The getters differ in their result type only; each is called as the runtime calls it.
  using Getter = void*(CEF_CALLBACK*)(TCefClient*);
  const Getter getters[] = {
      reinterpret_cast<Getter>(raw->get_life_span_handler), reinterpret_cast<Getter>(raw->get_load_handler),
      reinterpret_cast<Getter>(raw->get_request_handler),   reinterpret_cast<Getter>(raw->get_display_handler),
      reinterpret_cast<Getter>(raw->get_focus_handler),     reinterpret_cast<Getter>(raw->get_keyboard_handler),
      reinterpret_cast<Getter>(raw->get_menu_handler),      reinterpret_cast<Getter>(raw->get_print_handler),
      reinterpret_cast<Getter>(raw->get_find_handler),      reinterpret_cast<Getter>(raw->get_jsdialog_handler),
      reinterpret_cast<Getter>(raw->get_jsbinding_handler), reinterpret_cast<Getter>(raw->get_render_handler),
      reinterpret_cast<Getter>(raw->get_drag_handler)};
  for (Getter get : getters) EXPECT_EQ(get(raw), nullptr);
  EXPECT_EQ(ClientHandlerCount.load(), 1) << "our reference keeps the client alive";
  raw->base.release(&raw->base);
  client = nullptr;
  browser = nullptr;
  PumpFor(30);
  EXPECT_EQ(log_.entries.size(), eventsBefore) << "no event after the control was destroyed";
}

}  // namespace
}  // namespace cefvcl_testing
