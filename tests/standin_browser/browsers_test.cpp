// The stand-in's browsers as the program makes and drives them: creation at once and on a
// later work call, the client and settings they keep, closing, and shutdown with a browser
// still open.

#include <cstddef>
#include <cstring>

#include "standin_browser/browser_fixture.h"

namespace {

using browser_testing::BrowserTest;
using browser_testing::RuntimeRef;
using browser_testing::TestClient;
using browser_testing::TestVisitor;
using browser_testing::View;

TEST_F(BrowserTest, ASyncBrowserKeepsItsClientUntilItCloses) {
  auto client = base::MakeRef<TestClient>();
  RuntimeRef<TCefBrowser> browser = CreateBrowser(u"", client->Hand());
  ASSERT_TRUE(browser);
  EXPECT_EQ(Control().standin_browser_count(), 1);
  EXPECT_EQ(client->RefCount(), 2) << "the runtime keeps the client's reference";
  EXPECT_EQ(browser->get_window_handle(browser.get()), nullptr) << "no parent window, no window";
  EXPECT_EQ(browser->is_popup(browser.get()), 0);

  RuntimeRef<TCefClient> kept(browser->get_client(browser.get()));
  EXPECT_EQ(kept.get(), client->Struct<TCefClient>()) << "the client comes back as the program's own structure";
  kept.reset();

  browser->close_browser(browser.get());
  EXPECT_EQ(client->RefCount(), 1) << "closing released the client";
  EXPECT_EQ(Control().standin_browser_count(), 0);
  EXPECT_EQ(Control().standin_live_objects("Browser"), 1) << "the program's reference keeps the object";
  browser.reset();
  EXPECT_EQ(Control().standin_live_objects("Browser"), 0);
  EXPECT_EQ(Control().standin_live_objects("Frame"), 0);
}

TEST_F(BrowserTest, AnAsyncBrowserComesIntoBeingOnTheNextWorkCall) {
  auto client = base::MakeRef<TestClient>();
  TCefWindowInfo info{};
  TCefBrowserSettings settings{};
  settings.size = sizeof settings;
  std::u16string address = u"about:blank";
  TCefString url = View(address);
  ASSERT_EQ(Api().cef_browser_create(&info, client->Hand(), &url, &settings), 1);
  EXPECT_EQ(Control().standin_browser_count(), 0);
  EXPECT_EQ(Control().standin_pending_creations(), 1);
  EXPECT_EQ(client->RefCount(), 2);

  Api().cef_do_message_loop_work();
  ASSERT_EQ(Control().standin_browser_count(), 1);
  RuntimeRef<TCefBrowser> browser(Control().standin_browser_at(0));
  ASSERT_TRUE(browser);
  EXPECT_EQ(Control().standin_browser_at(1), nullptr);
  WaitIdle(browser.get());
  EXPECT_EQ(BrowserText(browser.get(), "url"), u"about:blank") << "the url given at creation was loaded";
  EXPECT_EQ(browser->has_document(browser.get()), 1);
  Close(browser);
  EXPECT_EQ(client->RefCount(), 1);
}

TEST_F(BrowserTest, TheSettingsRecordAndItsStringsAreCopiedAtCreation) {
  std::u16string encoding = u"euc-kr";
  TCefWindowInfo info{};
  TCefBrowserSettings settings{};
  settings.size = sizeof settings;
  settings.developer_tools_disabled = 1;
  settings.default_font_size = 17;
  settings.default_encoding = View(encoding);
  std::u16string empty;
  TCefString url = View(empty);
  RuntimeRef<TCefBrowser> browser(Api().cef_browser_create_sync(&info, nullptr, &url, &settings));
  ASSERT_TRUE(browser);
  // The program's texts were only lent for the call.
  encoding.assign(u"xxxxxx");
  settings.developer_tools_disabled = 0;

  std::vector<uint8_t> bytes(sizeof(TCefBrowserSettings));
  ASSERT_EQ(Control().standin_browser_settings(browser.get(), bytes.data(), static_cast<int32_t>(bytes.size())),
            static_cast<int32_t>(sizeof(TCefBrowserSettings)));
  EXPECT_EQ(bytes[offsetof(TCefBrowserSettings, developer_tools_disabled)], 1);
  EXPECT_EQ(bytes[offsetof(TCefBrowserSettings, javascript_disabled)], 0);
  int32_t fontSize = 0;
  std::memcpy(&fontSize, &bytes[offsetof(TCefBrowserSettings, default_font_size)], sizeof fontSize);
  EXPECT_EQ(fontSize, 17);
  char16_t copy[16] = {};
  EXPECT_EQ(Control().standin_browser_settings_string(browser.get(), "default_encoding", copy, 16), 6);
  EXPECT_EQ(std::u16string(copy), u"euc-kr");
  EXPECT_EQ(Control().standin_browser_settings_string(browser.get(), "user_style_sheet_location", copy, 16), 0);
  Close(browser);
}

TEST_F(BrowserTest, AClosedBrowserAnswersNeutralValues) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  browser->close_browser(browser.get());
  TCefBrowser* b = browser.get();
  EXPECT_EQ(b->get_main_frame(b), nullptr);
  EXPECT_EQ(b->get_focused_frame(b), nullptr);
  EXPECT_EQ(b->get_client(b), nullptr);
  EXPECT_EQ(b->has_document(b), 0);
  EXPECT_EQ(b->can_go_back(b), 0);
  b->reload(b);
  b->set_zoom_level(b, 2.0);
  EXPECT_EQ(b->get_zoom_level(b), 0.0);
  EXPECT_EQ(Control().standin_call_count("browser.get_main_frame"), 1);
  EXPECT_EQ(Control().standin_call_count("browser.reload"), 1);
  EXPECT_EQ(Value(b, "closed"), 1);
  EXPECT_EQ(Value(b, "loads.started"), 0) << "a closed browser loads nothing";
  browser.reset();
}

TEST_F(BrowserTest, AFailingCreationAnswersNullAndReleasesTheClient) {
  auto client = base::MakeRef<TestClient>();
  Control().standin_fail_next("cef_browser_create_sync", 1);
  RuntimeRef<TCefBrowser> browser = CreateBrowser(u"", client->Hand());
  EXPECT_FALSE(browser);
  EXPECT_EQ(client->RefCount(), 1);
  EXPECT_EQ(Control().standin_browser_count(), 0);
}

TEST_F(BrowserTest, AMemberCanBeMadeToAnswerNull) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  Control().standin_fail_next("browser.get_main_frame", 1);
  EXPECT_FALSE(MainFrame(browser.get())) << "the program's null check gets exercised";
  EXPECT_TRUE(MainFrame(browser.get()));
  Close(browser);
}

TEST_F(BrowserTest, EachFrameGetterHandsANewReferenceToTheSameFrame) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  RuntimeRef<TCefFrame> main = MainFrame(browser.get());
  RuntimeRef<TCefFrame> focused(browser->get_focused_frame(browser.get()));
  std::u16string none;
  TCefString empty = View(none);
  RuntimeRef<TCefFrame> byName(browser->get_frame(browser.get(), &empty));
  EXPECT_EQ(main.get(), focused.get());
  EXPECT_EQ(main.get(), byName.get());
  EXPECT_EQ(main->is_main(main.get()), 1);
  EXPECT_EQ(main->is_focused(main.get()), 1);
  EXPECT_EQ(Take(main->get_name(main.get())), u"");
  RuntimeRef<TCefBrowser> owner(main->get_browser(main.get()));
  EXPECT_EQ(owner.get(), browser.get());
  std::u16string missing = u"nowhere";
  TCefString name = View(missing);
  EXPECT_EQ(browser->get_frame(browser.get(), &name), nullptr);
  EXPECT_EQ(FrameNames(browser.get(), {u"kept"}), std::vector<std::u16string>{u"kept"})
      << "no named frames: the list is left as it was";
  owner.reset();
  Close(browser);
  EXPECT_EQ(main->get_browser(main.get()), nullptr) << "the frame left its closed browser";
  EXPECT_EQ(Control().standin_frame_value(main.get(), "attached"), 0);
}

TEST_F(BrowserTest, ZoomSizesFocusAndToolsAreKept) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  TCefBrowser* b = browser.get();
  b->set_zoom_level(b, 1.5);
  EXPECT_EQ(b->get_zoom_level(b), 1.5);
  int32_t width = -1, height = -1;
  EXPECT_EQ(b->get_size(b, 0, &width, &height), 0);
  EXPECT_EQ(width, 0);
  b->set_size(b, 1, 300, 200);
  EXPECT_EQ(b->get_size(b, 1, &width, &height), 1);
  EXPECT_EQ(width, 300);
  EXPECT_EQ(height, 200);
  EXPECT_EQ(b->get_size(b, 0, &width, &height), 0) << "sizes are kept per type";
  b->set_focus(b, 1);
  EXPECT_EQ(Value(b, "focused"), 1);
  b->set_focus(b, 0);
  EXPECT_EQ(Value(b, "focused"), 0);
  b->show_dev_tools(b);
  EXPECT_EQ(Value(b, "dev_tools.open"), 1);
  b->close_dev_tools(b);
  EXPECT_EQ(Value(b, "dev_tools.open"), 0);
  EXPECT_EQ(Value(b, "dev_tools.shown"), 1);
  b->parent_window_will_close(b);
  EXPECT_EQ(Value(b, "parent_window_will_close"), 1);
  EXPECT_EQ(Value(b, "closed"), 0) << "the parent's notice alone does not close the browser";
  EXPECT_EQ(b->is_window_rendering_disabled(b), 0);
  EXPECT_EQ(b->get_image(b, 0, 10, 10, nullptr), 0);
  Close(browser);
}

TEST_F(BrowserTest, ShutdownClosesAnOpenBrowserAndReleasesEverythingItHolds) {
  auto client = base::MakeRef<TestClient>();
  auto visitor = base::MakeRef<TestVisitor>();
  {
    RuntimeRef<TCefBrowser> browser = CreateBrowser(u"", client->Hand());
    RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
    frame->visit_dom(frame.get(), visitor->Hand());
  }
  EXPECT_EQ(Control().standin_browser_count(), 1) << "the runtime keeps an open browser";
  EXPECT_EQ(Control().standin_held_objects(), 2);

  Api().cef_shutdown();
  EXPECT_EQ(client->RefCount(), 1);
  EXPECT_EQ(visitor->RefCount(), 1);
  EXPECT_EQ(visitor->visits, 0) << "a visit still waiting is dropped, not made";
  EXPECT_EQ(Control().standin_live_objects(nullptr), 0) << Control().Report();
  EXPECT_EQ(Control().standin_held_objects(), 0);

  // The probe shuts the runtime down again at its end.
  TCefSettings settings{};
  settings.size = sizeof settings;
  ASSERT_EQ(Api().cef_initialize(&settings), 1);
}

}  // namespace
