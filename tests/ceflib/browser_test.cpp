#include "cef/ceflib/browser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "cef/ceflib/loader.h"
#include "cef/ceflib/v8_value.h"
#include "fake_objects.h"

namespace {

using namespace cef;
using fakes::Answers;
using fakes::Calls;
using fakes::FakeBrowser;
using fakes::ExportFake;
using fakes::FakeFrame;
using Log = std::vector<std::string>;

class BrowserTest : public fakes::FakeTest {
 protected:
  // A wrapper over the fake with a reference of its own, as a crossing brings one.
  Ref<ICefBrowser> Wrap(FakeBrowser& browser) { return TCefBrowserRef::UnWrap(browser.Hand()); }
  Ref<ICefFrame> Wrap(FakeFrame& frame) { return TCefFrameRef::UnWrap(frame.Hand()); }
};

TEST_F(BrowserTest, EachOperationCallsItsOwnMemberWithBooleansAsZeroOrOne) {
  FakeBrowser fake;
  Ref<ICefBrowser> browser = Wrap(fake);
  TCefRect rect{1, 2, 3, 4};
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[&] { browser->ParentWindowWillClose(); }, "parent_window_will_close"},
      {[&] { browser->CloseBrowser(); }, "close_browser"},
      {[&] { browser->CanGoBack(); }, "can_go_back"},
      {[&] { browser->GoBack(); }, "go_back"},
      {[&] { browser->CanGoForward(); }, "can_go_forward"},
      {[&] { browser->GoForward(); }, "go_forward"},
      {[&] { browser->Reload(); }, "reload"},
      {[&] { browser->ReloadIgnoreCache(); }, "reload_ignore_cache"},
      {[&] { browser->StopLoad(); }, "stop_load"},
      {[&] { browser->SetFocus(true); }, "set_focus 1"},
      {[&] { browser->SetFocus(false); }, "set_focus 0"},
      {[&] { browser->GetWindowHandle(); }, "get_window_handle"},
      {[&] { browser->GetOpenerWindowHandle(); }, "get_opener_window_handle"},
      {[&] { browser->IsPopup(); }, "is_popup"},
      {[&] { browser->HasDocument(); }, "has_document"},
      {[&] { browser->StopFinding(true); }, "stop_finding 1"},
      {[&] { browser->ClearHistory(); }, "clear_history"},
      {[&] { browser->ShowDevTools(); }, "show_dev_tools"},
      {[&] { browser->CloseDevTools(); }, "close_dev_tools"},
      {[&] { browser->IsWindowRenderingDisabled(); }, "is_window_rendering_disabled"},
      {[&] { browser->SetSize(2, 300, 200); }, "set_size 2 300 200"},
      {[&] { browser->IsPopupVisible(); }, "is_popup_visible"},
      {[&] { browser->HidePopup(); }, "hide_popup"},
      {[&] { browser->Invalidate(&rect); }, "invalidate " + fakes::Ptr(&rect)},
      {[&] { browser->SendKeyEvent(3, 65, 4, true, false); }, "send_key_event 3 65 4 1 0"},
      {[&] { browser->SendMouseClickEvent(10, 20, 1, true, 2); }, "send_mouse_click_event 10 20 1 1 2"},
      {[&] { browser->SendMouseMoveEvent(5, 6, true); }, "send_mouse_move_event 5 6 1"},
      {[&] { browser->SendMouseWheelEvent(7, 8, -120); }, "send_mouse_wheel_event 7 8 -120"},
      {[&] { browser->SendFocusEvent(false); }, "send_focus_event 0"},
      {[&] { browser->SendCaptureLostEvent(); }, "send_capture_lost_event"},
  };
  for (const auto& [operation, expected] : cases) {
    Calls().clear();
    operation();
    EXPECT_EQ(Calls(), Log{expected});
  }
  browser.reset();
  EXPECT_EQ(fake.refs, 1) << "the wrapper released the one reference it took over";
}

TEST_F(BrowserTest, BooleanAnswersAreTrueWhenNotZero) {
  FakeBrowser fake;
  Ref<ICefBrowser> browser = Wrap(fake);
  Answers().boolean = 2;
  EXPECT_TRUE(browser->CanGoBack());
  EXPECT_TRUE(browser->IsPopup());
  Answers().boolean = 0;
  EXPECT_FALSE(browser->CanGoForward());
  EXPECT_FALSE(browser->HasDocument());
}

TEST_F(BrowserTest, FindPassesTheIdentifierFirstAsZeroOrOne) {
  FakeBrowser fake;
  Ref<ICefBrowser> browser = Wrap(fake);
  browser->Find(u"입찰", true, false, true, false);
  browser->Find(u"bid", false, true, false, true);
  EXPECT_EQ(Calls(), (Log{"find 1 \"입찰\" 0 1 0", "find 0 \"bid\" 1 0 1"}));
}

TEST_F(BrowserTest, NumbersSizesAndBuffersPassThroughUnchanged) {
  FakeBrowser fake;
  Ref<ICefBrowser> browser = Wrap(fake);
  Answers().number = 1.75;
  EXPECT_EQ(browser->GetZoomLevel(), 1.75);
  browser->SetZoomLevel(-2.5);
  int32_t width = 0, height = 0;
  Answers().boolean = 1;
  EXPECT_TRUE(browser->GetSize(1, width, height));
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
  char buffer[16];
  Answers().boolean = 0;
  EXPECT_FALSE(browser->GetImage(1, 4, 1, buffer));
  EXPECT_EQ(Calls(), (Log{"get_zoom_level", "set_zoom_level -2.5", "get_size 1", "get_image 1 4 1 " + fakes::Ptr(buffer)}));
}

TEST_F(BrowserTest, WindowHandlesComeBackAsTheRuntimeGaveThem) {
  FakeBrowser fake;
  Ref<ICefBrowser> browser = Wrap(fake);
  int window = 0;
  Answers().object = &window;
  EXPECT_EQ(browser->GetWindowHandle(), &window);
  EXPECT_EQ(browser->GetOpenerWindowHandle(), nullptr);
}

TEST_F(BrowserTest, ANullMainFrameYieldsNullAndACallerLoadsNothing) {
  FakeBrowser fake;
  Ref<ICefBrowser> browser = Wrap(fake);
  if (Ref<ICefFrame> frame = browser->GetMainFrame()) frame->LoadUrl(u"https://example.com/");
  EXPECT_EQ(Calls(), Log{"get_main_frame"});
}

TEST_F(BrowserTest, FramesComeBackAsWrappersThatReleaseTheirReference) {
  FakeBrowser fakeBrowser;
  FakeFrame main, named;
  Ref<ICefBrowser> browser = Wrap(fakeBrowser);
  Answers().object = main.Hand();
  Ref<ICefFrame> frame = browser->GetMainFrame();
  ASSERT_TRUE(frame);
  frame->LoadUrl(u"https://example.com/auth");
  Answers().object = named.Hand();
  EXPECT_TRUE(browser->GetFrame(u"menu"));
  EXPECT_FALSE(browser->GetFrame(u"missing"));
  EXPECT_FALSE(browser->GetFocusedFrame());
  EXPECT_EQ(Calls(), (Log{"get_main_frame", "load_url \"https://example.com/auth\"", "get_frame \"menu\"",
                          "get_frame \"missing\"", "get_focused_frame"}));
  EXPECT_EQ(named.refs, 1) << "the named frame's wrapper was dropped at once";
  frame.reset();
  EXPECT_EQ(main.refs, 1);
}

TEST_F(BrowserTest, GetClientIsAPlainRuntimeObjectNotABrowserOrFrame) {
  FakeBrowser fakeBrowser;
  FakeFrame client;  // any runtime structure will do
  Ref<ICefBrowser> browser = Wrap(fakeBrowser);
  Answers().object = client.Hand();
  Ref<ICefBase> got = browser->GetClient();
  ASSERT_TRUE(got);
  EXPECT_FALSE(base::interface_cast<ICefFrame>(got));
  EXPECT_FALSE(base::interface_cast<ICefBrowser>(got));
  EXPECT_EQ(got->Wrap(), &client.wire.base);
  EXPECT_EQ(client.refs, 3);
  fakes::Release(&client.wire);
  got.reset();
  EXPECT_EQ(client.refs, 1);
}

TEST_F(BrowserTest, TwoWrappersOfOneBrowserAreDistinctAndEachReleasesItsOwnReference) {
  FakeBrowser fake;
  Ref<ICefBrowser> first = Wrap(fake);
  Ref<ICefBrowser> second = Wrap(fake);
  EXPECT_NE(first.get(), second.get());
  EXPECT_EQ(fake.refs, 3);
  first.reset();
  EXPECT_EQ(fake.refs, 2);
  second.reset();
  EXPECT_EQ(fake.refs, 1);
}

TEST_F(BrowserTest, GetFrameNamesAppendsAfterExistingEntriesAndFreesTheList) {
  FakeBrowser fake;
  Ref<ICefBrowser> browser = Wrap(fake);
  int32_t allocated = CallCount("cef_string_list_alloc");
  int32_t freed = CallCount("cef_string_list_free");
  std::vector<std::u16string> names{u"already"};
  Answers().names = {u"menu", u"본문"};
  browser->GetFrameNames(names);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"already", u"menu", u"본문"}));
  Answers().names.clear();
  browser->GetFrameNames(names);
  EXPECT_EQ(names.size(), 3u) << "a browser without named frames adds nothing";
  EXPECT_EQ(CallCount("cef_string_list_alloc") - allocated, 2);
  EXPECT_EQ(CallCount("cef_string_list_free") - freed, 2);
  EXPECT_EQ(Live("StringList"), 0);
  EXPECT_EQ(Live("String"), 0) << "every item record was cleared";
}

TEST_F(BrowserTest, EveryFrameStringIsReadAndFreedAndNullReadsAsEmpty) {
  FakeFrame fake;
  Ref<ICefFrame> frame = Wrap(fake);
  const std::vector<std::function<std::u16string()>> reads = {
      [&] { return frame->GetUrl(); }, [&] { return frame->GetName(); }, [&] { return frame->GetSource(); },
      [&] { return frame->GetText(); }};
  for (const auto& read : reads) {
    int32_t frees = CallCount("cef_string_userfree_utf16_free");
    Answers().text = u"공고 \U0001F4C4";
    EXPECT_EQ(read(), u"공고 \U0001F4C4");
    EXPECT_EQ(CallCount("cef_string_userfree_utf16_free"), frees + 1);
    Answers().text.reset();
    EXPECT_EQ(read(), u"");
    EXPECT_EQ(CallCount("cef_string_userfree_utf16_free"), frees + 1) << "null frees nothing";
  }
  EXPECT_EQ(Calls(), (Log{"get_url", "get_url", "get_name", "get_name", "get_source", "get_source", "get_text",
                          "get_text"}));
}

TEST_F(BrowserTest, FrameEditingAndScriptOperationsReachTheirMembers) {
  FakeFrame fake;
  Ref<ICefFrame> frame = Wrap(fake);
  frame->Undo();
  frame->Redo();
  frame->Cut();
  frame->Copy();
  frame->Paste();
  frame->Delete();
  frame->SelectAll();
  frame->Print();
  frame->ViewSource();
  frame->LoadString(u"<p>hi</p>", u"about:blank");
  frame->ExecuteJavaScript(u"go()", u"app.js", 12);
  Answers().boolean = 1;
  EXPECT_TRUE(frame->IsMain());
  Answers().boolean = 0;
  EXPECT_FALSE(frame->IsFocused());
  EXPECT_EQ(Calls(), (Log{"undo", "redo", "cut", "copy", "paste", "del", "select_all", "print", "view_source",
                          "load_string \"<p>hi</p>\" \"about:blank\"", "execute_java_script \"go()\" \"app.js\" 12",
                          "is_main", "is_focused"}));
}

TEST_F(BrowserTest, AFramesBrowserIsWrappedAndAbsentOneIsNull) {
  FakeFrame fakeFrame;
  FakeBrowser fakeBrowser;
  Ref<ICefFrame> frame = Wrap(fakeFrame);
  EXPECT_FALSE(frame->GetBrowser());
  Answers().object = fakeBrowser.Hand();
  Ref<ICefBrowser> browser = frame->GetBrowser();
  ASSERT_TRUE(browser);
  browser->Reload();
  browser.reset();
  EXPECT_EQ(fakeBrowser.refs, 1);
  EXPECT_EQ(Calls(), (Log{"get_browser", "get_browser", "reload"}));
}

TEST_F(BrowserTest, LoadRequestHandsTheRequestWithOneReferenceAndNullAsNull) {
  FakeFrame fake;
  Ref<ICefFrame> frame = Wrap(fake);
  Ref<ICefRequest> request = TCefRequestRef::New();
  ASSERT_TRUE(request);
  TCefBase* wire = request->Wrap();
  fakes::Release(wire);
  frame->LoadRequest(request);
  frame->LoadRequest(nullptr);
  EXPECT_EQ(Calls(), (Log{"load_request " + fakes::Ptr(wire), "load_request null"}));
  EXPECT_EQ(standin().standin_refcount(wire), 1) << "the runtime released what it received";
}

// A program stream that tells when it is destroyed.
class WatchedStream : public platform::TMemoryStream {
 public:
  WatchedStream(const std::string& text, bool* destroyed) : destroyed_(destroyed) {
    Write(text.data(), static_cast<int32_t>(text.size()));
    SetPosition(0);
  }
  ~WatchedStream() override { *destroyed_ = true; }

 private:
  bool* destroyed_;
};

TEST_F(BrowserTest, LoadStreamAndLoadFileEndInTheSameMember) {
  FakeFrame fake;
  Ref<ICefFrame> frame = Wrap(fake);
  bool ownedGone = false, borrowedGone = false;
  frame->LoadStream(std::make_unique<WatchedStream>("owned stream", &ownedGone), u"mem://owned");
  EXPECT_TRUE(ownedGone) << "the runtime released the reader, and the reader its stream";
  {
    WatchedStream borrowed("borrowed stream", &borrowedGone);
    frame->LoadStream(borrowed, u"mem://borrowed");
    EXPECT_FALSE(borrowedGone);
    EXPECT_EQ(borrowed.Position(), borrowed.Size()) << "read through to its end";
  }
  std::filesystem::path file = std::filesystem::temp_directory_path() / "ceflib_browser_test_load.html";
  std::ofstream(file, std::ios::binary) << "<html>file</html>";
  frame->LoadFile(file.u16string(), u"file://page");
  std::filesystem::remove(file);
  EXPECT_EQ(Calls(), (Log{"load_stream owned stream \"mem://owned\"", "load_stream borrowed stream \"mem://borrowed\"",
                          "load_stream <html>file</html> \"file://page\""}));
  EXPECT_EQ(standin().standin_held_objects(), 0);
}

TEST_F(BrowserTest, LoadFileOfAFileThatCannotBeOpenedLoadsNothingAndRaisesNothing) {
  FakeFrame fake;
  Ref<ICefFrame> frame = Wrap(fake);
  std::filesystem::path missing = std::filesystem::temp_directory_path() / "ceflib_no_such_file.html";
  EXPECT_NO_THROW(frame->LoadFile(missing.u16string(), u"file://missing"));
  EXPECT_TRUE(Calls().empty());
}

TEST_F(BrowserTest, VisitDomProcCallsTheProcedureOnceWithTheDocumentOrNull) {
  FakeFrame fakeFrame;
  fakes::FakeDomDocument document;
  Ref<ICefFrame> frame = Wrap(fakeFrame);
  std::vector<bool> visits;  // whether each visit had a document
  frame->VisitDomProc([&](const Ref<ICefDomDocument>& doc) {
    visits.push_back(static_cast<bool>(doc));
    if (doc) doc->GetTitle();
  });
  ASSERT_EQ(fakes::Kept().size(), 1u);
  auto* visitor = reinterpret_cast<TCefDomVisitor*>(fakes::Kept().back());
  fakes::Kept().clear();
  EXPECT_EQ(visitor->base.get_refct(&visitor->base), 1) << "held by the runtime alone";
  visitor->visit(visitor, document.Hand());
  EXPECT_EQ(document.refs, 1) << "the document went with the end of the visit";
  visitor->visit(visitor, nullptr);
  EXPECT_EQ(visits, (std::vector<bool>{true, false}));
  fakes::Release(visitor);
  EXPECT_EQ(Calls(), (Log{"visit_dom " + fakes::Ptr(visitor), "get_title"}));
}

TEST_F(BrowserTest, VisitDomWithoutAVisitorPassesNull) {
  FakeFrame fake;
  Ref<ICefFrame> frame = Wrap(fake);
  frame->VisitDom(nullptr);
  EXPECT_EQ(Calls(), Log{"visit_dom null"});
}

// The creation export replaced by a fake for one test, and put back afterwards.
class CreateSyncFake {
 public:
  using Create = decltype(CefExports::cef_browser_create_sync);
  explicit CreateSyncFake(Create fake)
      : slot_(const_cast<CefExports&>(CefApi()).cef_browser_create_sync), saved_(std::exchange(slot_, fake)) {}
  ~CreateSyncFake() { slot_ = saved_; }

 private:
  Create& slot_;
  Create saved_;
};

FakeBrowser* g_created = nullptr;

TEST_F(BrowserTest, CreateSyncHandsTheClientWithOneReferenceAndWrapsTheBrowser) {
  FakeBrowser created;
  g_created = &created;
  CreateSyncFake fake([](TCefWindowInfo* info, TCefClient* client, const TCefString* url,
                         const TCefBrowserSettings* settings) -> TCefBrowser* {
    fakes::Record("cef_browser_create_sync", fakes::Ptr(info), fakes::Ptr(client), fakes::Text(url),
                  fakes::Ptr(settings));
    fakes::Release(client);
    return g_created->Hand();
  });
  FakeFrame client;  // stands for the program's client
  TCefWindowInfo info{};
  TCefBrowserSettings settings{};
  Ref<ICefBrowser> browser = CefBrowserCreateSync(&info, TCefBaseRef::UnWrap(CefHeader(client.Hand())), u"", &settings);
  ASSERT_TRUE(browser);
  EXPECT_EQ(Calls(), (Log{"cef_browser_create_sync " + fakes::Ptr(&info) + " " + fakes::Ptr(&client.wire) +
                          " \"\" " + fakes::Ptr(&settings)}));
  EXPECT_EQ(client.refs, 1);
  browser.reset();
  EXPECT_EQ(created.refs, 1);
}

TEST_F(BrowserTest, CreateSyncAnswersNullWhenTheRuntimeMakesNoBrowser) {
  CreateSyncFake fake([](TCefWindowInfo*, TCefClient* client, const TCefString*,
                         const TCefBrowserSettings*) -> TCefBrowser* {
    fakes::Release(client);
    return nullptr;
  });
  TCefWindowInfo info{};
  TCefBrowserSettings settings{};
  EXPECT_FALSE(CefBrowserCreateSync(&info, nullptr, u"https://example.com/", &settings));
}

// A modal loop inside the runtime must never get a work call: a call into the runtime, through
// an export, a member or the work function, counts as in progress while it runs, and so does
// a callback from it; nothing stays counted afterwards, a failing callback included.
bool g_inside = false;

TEST_F(BrowserTest, CallsIntoTheRuntimeAndCallbacksFromItCountWhileTheyRun) {
  FakeBrowser fake;
  fake.wire.reload = [](TCefBrowser*) CEF_CALLBACK { g_inside = RuntimeCallInProgress(); };
  ExportFake<&CefExports::cef_v8value_create_undefined> undefined([]() -> TCefv8Value* {
    g_inside = RuntimeCallInProgress();
    return nullptr;
  });
  ExportFake<&CefExports::cef_do_message_loop_work> work([] { g_inside = RuntimeCallInProgress(); });
  Ref<ICefBrowser> browser = Wrap(fake);
  const std::pair<const char*, std::function<void()>> rows[] = {
      {"a member", [&] { browser->Reload(); }},
      {"an export", [] { TCefv8ValueRef::CreateUndefined(); }},
      {"the work call", [] { CefDoMessageLoopWork(); }},
      {"a callback", [] { Guarded([] { g_inside = RuntimeCallInProgress(); }); }},
      {"a failing callback", [] { Guarded([] { g_inside = RuntimeCallInProgress(); throw 1; }); }},
  };
  for (const auto& [what, run] : rows) {
    g_inside = false;
    run();
    EXPECT_TRUE(g_inside) << what;
    EXPECT_FALSE(RuntimeCallInProgress()) << what;
  }
  reports.clear();
}

}  // namespace
