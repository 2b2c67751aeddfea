// Pop-ups from window.open: the life-span handler hears of them with the features read
// from the script's string, a top-level window request, the address, the opener's client
// and a copy of its settings; it may cancel or change them, and otherwise a pop-up
// browser opens. A pop-up's own page may close it again with window.close().

#include <climits>

#include "standin_callbacks/callback_fixture.h"

namespace callback_testing {
namespace {

// What the handler saw of a pop-up request, copied while the callback ran.
struct PopupRequest {
  TCefPopupFeatures features{};
  std::vector<std::u16string> additional;
  TCefWindowInfo window{};
  std::u16string windowName;
  std::u16string url;
  uint32_t settingsSize = 0;
  std::u16string encoding;
  TCefClient* client = nullptr;
};


class PopupCallbacks : public CallbackTest {
 protected:
  // A browser whose settings carry a default encoding, showing a page of the service.
  RuntimeRef<TCefBrowser> OpenWithEncoding(const std::u16string& encoding, const std::string& marker) {
    TCefWindowInfo info{};
    TCefBrowserSettings settings{};
    settings.size = sizeof settings;
    settings.default_encoding = View(encoding);
    std::u16string url = ServiceUrl("/dom", marker);
    TCefString address = View(url);
    RuntimeRef<TCefBrowser> browser(Api().cef_browser_create_sync(&info, client_.Hand(), &address, &settings));
    WaitIdle(browser.get());
    return browser;
  }

  // Copies what the pop-up callback receives into `seen`, then answers `answer`.
  void Watch(PopupRequest& seen, int32_t answer = 0) {
    client_.On("life_span.on_before_popup", [this, &seen, answer](Seen& call) {
      Copy(call, seen);
      return answer;
    });
  }

  void Copy(Seen& call, PopupRequest& seen) const {
    seen.features = *static_cast<TCefPopupFeatures*>(call.records[0]);
    for (int32_t i = 0, n = seen.features.additionalFeatures ? Api().cef_string_list_size(seen.features.additionalFeatures) : 0; i < n; ++i) {
      TCefString item{};
      Api().cef_string_list_value(seen.features.additionalFeatures, i, &item);
      seen.additional.push_back(Text(item));
      Api().cef_string_utf16_clear(&item);
    }
    seen.window = *static_cast<TCefWindowInfo*>(call.records[1]);
    seen.windowName = Text(seen.window.windowName);
    seen.url = call.texts[0];
    auto* settings = static_cast<TCefBrowserSettings*>(call.records[2]);
    seen.settingsSize = settings->size;
    seen.encoding = Text(settings->default_encoding);
    seen.client = *reinterpret_cast<TCefClient**>(call.slots[0]);
  }

  // Another client for pop-ups; a member, so that it outlives the browsers, which the
  // fixture closes after the test.
  TestClient other_{Api()};

  // The open browser at index, with a reference of the test's.
  RuntimeRef<TCefBrowser> BrowserAt(int32_t index) const {
    return RuntimeRef<TCefBrowser>(Control().standin_browser_at(index));
  }
};

TEST_F(PopupCallbacks, APopupOpensWithTheFeaturesTheScriptAskedFor) {
  PopupRequest seen;
  Watch(seen);
  RuntimeRef<TCefBrowser> opener = OpenWithEncoding(u"utf-8", "popup");
  EXPECT_EQ(Run(opener.get(), u"String(window.open('/second?m=popup', 'w1', "
                              u"'left=10, top=20,width=300,height=200,menubar=no,status=yes,dialog=yes,foo=bar'))"),
            u"null")
      << "script gets null";
  ASSERT_EQ(client_.Count("life_span.on_before_popup"), 1);

  const TCefPopupFeatures& f = seen.features;
  EXPECT_EQ(std::vector<int32_t>({f.x, f.xSet, f.y, f.ySet, f.width, f.widthSet, f.height, f.heightSet}),
            std::vector<int32_t>({10, 1, 20, 1, 300, 1, 200, 1}));
  EXPECT_EQ(std::vector<int32_t>({f.menuBarVisible, f.statusBarVisible, f.toolBarVisible, f.locationBarVisible,
                                  f.scrollbarsVisible, f.resizable, f.fullscreen, f.dialog}),
            std::vector<int32_t>({0, 1, 0, 0, 0, 1, 0, 1}));
  EXPECT_EQ(seen.additional, std::vector<std::u16string>{u"foo=bar"});
  EXPECT_EQ(std::vector<int32_t>({seen.window.x, seen.window.y, seen.window.Width, seen.window.Height}),
            std::vector<int32_t>({10, 20, 300, 200}));
  EXPECT_EQ(seen.window.WndParent, nullptr) << "a top-level window";
  EXPECT_NE(seen.window.Style & 0x10000000u, 0u) << "visible";
  EXPECT_EQ(seen.windowName, u"w1");
  EXPECT_TRUE(EndsWith(seen.url, u"/second?m=popup")) << "resolved against the page";
  EXPECT_EQ(seen.settingsSize, sizeof(TCefBrowserSettings));
  EXPECT_EQ(seen.encoding, u"utf-8") << "the opener's settings";
  EXPECT_NE(seen.client, nullptr) << "the opener's client";

  ASSERT_EQ(Control().standin_browser_count(), 2);
  RuntimeRef<TCefBrowser> popup = BrowserAt(1);
  WaitIdle(nullptr);
  EXPECT_EQ(popup->is_popup(popup.get()), 1);
  EXPECT_EQ(opener->is_popup(opener.get()), 0);
  EXPECT_EQ(popup->get_opener_window_handle(popup.get()), opener->get_window_handle(opener.get()));
  EXPECT_EQ(client_.Last("life_span.on_after_created").browser, popup.get()) << "the opener's client hears of it";
  EXPECT_EQ(client_.Last("life_span.run_modal").browser, popup.get()) << "a dialog runs modal";
  EXPECT_EQ(BrowserText(popup.get(), "title"), u"Second page");
  EXPECT_EQ(client_.Last("display.on_title_change").browser, popup.get());
  Close(popup);
  Close(opener);
}

TEST_F(PopupCallbacks, WithoutFeaturesEveryBarShowsAndTheSystemPlacesTheWindow) {
  PopupRequest seen;
  Watch(seen);
  RuntimeRef<TCefBrowser> opener = Open(ServiceUrl("/dom", "plain-popup"));
  WaitIdle(opener.get());
  Run(opener.get(), u"window.open('/second')");
  const TCefPopupFeatures& f = seen.features;
  EXPECT_EQ(std::vector<int32_t>({f.xSet, f.ySet, f.widthSet, f.heightSet, f.menuBarVisible, f.statusBarVisible,
                                  f.toolBarVisible, f.locationBarVisible, f.scrollbarsVisible, f.resizable, f.dialog}),
            std::vector<int32_t>({0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 0}));
  EXPECT_EQ(f.additionalFeatures, nullptr);
  EXPECT_EQ(std::vector<int32_t>({seen.window.x, seen.window.y, seen.window.Width, seen.window.Height}),
            std::vector<int32_t>(4, INT32_MIN));
  EXPECT_EQ(client_.Count("life_span.run_modal"), 0) << "not a dialog";
  ASSERT_EQ(Control().standin_browser_count(), 2);
  RuntimeRef<TCefBrowser> popup = BrowserAt(1);
  Close(popup);
  Close(opener);
}

TEST_F(PopupCallbacks, APopupAnsweredTrueNeverOpens) {
  PopupRequest seen;
  Watch(seen, 1);
  RuntimeRef<TCefBrowser> opener = Open(ServiceUrl("/dom", "cancelled-popup"));
  WaitIdle(opener.get());
  EXPECT_EQ(Run(opener.get(), u"String(window.open('/second?m=cancelled-popup'))"), u"null");
  EXPECT_EQ(client_.Count("life_span.on_before_popup"), 1);
  EXPECT_EQ(Control().standin_browser_count(), 1);
  WaitIdle(nullptr);
  EXPECT_EQ(Requests("cancelled-popup").size(), 1u) << "only the opener's page";
  EXPECT_EQ(client_.References(), 1) << "the client slot's reference was released: the opener's is left";
  Close(opener);
}

TEST_F(PopupCallbacks, TheProgramMayGiveThePopupAnotherClientAddressAndSettings) {
  TestClient& other = other_;
  std::u16string encoding = u"euc-kr";
  std::u16string target = ServiceUrl("/dom", "changed-popup");
  client_.On("life_span.on_before_popup", [&](Seen& call) {
    auto** slot = reinterpret_cast<TCefClient**>(call.slots[0]);
    (*slot)->base.release(&(*slot)->base);
    *slot = other.Hand();
    client_.Assign(call.outTexts[0], target);
    static_cast<TCefBrowserSettings*>(call.records[2])->default_encoding = View(encoding);
    auto* window = static_cast<TCefWindowInfo*>(call.records[1]);
    window->Width = 640;
    client_.Assign(&window->windowName, u"changed");
    return 0;
  });
  RuntimeRef<TCefBrowser> opener = Open(ServiceUrl("/dom", "changing-opener"));
  WaitIdle(opener.get());
  Run(opener.get(), u"window.open('/second')");
  // The program's text was borrowed for the call only: the runtime kept its own copy.
  encoding.assign(u"xxxxxx");
  ASSERT_EQ(Control().standin_browser_count(), 2);
  RuntimeRef<TCefBrowser> popup = BrowserAt(1);
  WaitIdle(nullptr);
  EXPECT_EQ(BrowserText(popup.get(), "url"), target);
  EXPECT_EQ(testing_support::ControlText([&](char16_t* b, int32_t n) {
              return Control().standin_browser_settings_string(popup.get(), "default_encoding", b, n);
            }),
            u"euc-kr");
  EXPECT_EQ(other.Names("life_span."), std::vector<std::string>{"life_span.on_after_created"});
  EXPECT_EQ(other.Last("display.on_title_change").texts[0], u"DOM test page");
  EXPECT_EQ(client_.Count("life_span.on_after_created"), 1) << "only the opener's";
  Close(popup);
  Close(opener);
  EXPECT_EQ(other.References(), 0);
  EXPECT_EQ(other.Underflows(), 0);
}

TEST_F(PopupCallbacks, APopupsOwnPageClosesItThroughTheLifeSpanCallbacksAndNoOtherPageCan) {
  RuntimeRef<TCefBrowser> opener = Open(ServiceUrl("/dom", "closing-opener"));
  WaitIdle(opener.get());
  EXPECT_EQ(Run(opener.get(), u"window.close(); 'ran'"), u"ran");
  WaitIdle(nullptr);
  EXPECT_EQ(client_.Count("life_span.do_close"), 0) << "a window that no script opened stays";
  Run(opener.get(), u"window.open('/second?m=closing-popup')");
  ASSERT_EQ(Control().standin_browser_count(), 2);
  RuntimeRef<TCefBrowser> popup = BrowserAt(1);
  WaitIdle(nullptr);

  // The program takes the first close over: the pop-up stays. The close waits until the
  // page's script has returned.
  client_.On("life_span.do_close", [](Seen&) { return 1; });
  EXPECT_EQ(Run(popup.get(), u"window.close(); document.title = 'after close'; document.title"), u"after close");
  WaitIdle(nullptr);
  EXPECT_EQ(client_.Count("life_span.do_close"), 1);
  EXPECT_EQ(client_.Last("life_span.do_close").browser, popup.get());
  EXPECT_EQ(client_.Count("life_span.on_before_close"), 0);
  EXPECT_EQ(Control().standin_browser_value(popup.get(), "closed"), 0);

  // Left to the runtime, the second closes it as a closing browser is closed.
  client_.On("life_span.do_close", [](Seen&) { return 0; });
  Run(popup.get(), u"window.close(); window.close()");
  WaitIdle(nullptr);
  EXPECT_EQ(client_.Count("life_span.do_close"), 2) << "asked once, however often the page called";
  ASSERT_EQ(client_.Count("life_span.on_before_close"), 1);
  EXPECT_EQ(client_.Last("life_span.on_before_close").browser, popup.get());
  EXPECT_EQ(Control().standin_browser_value(popup.get(), "closed"), 1);
  EXPECT_EQ(Control().standin_browser_count(), 1);
  popup.reset();
  Close(opener);
}

}  // namespace
}  // namespace callback_testing
