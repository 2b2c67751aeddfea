// Loading pages without the network: strings, files, streams and requests, committed on
// the work call; history over committed navigations; stopping; what is not displayable.

#include <algorithm>
#include <cstring>
#include <string>

#include "standin_browser/browser_fixture.h"

namespace {

using browser_testing::BrowserTest;
using browser_testing::RuntimeRef;
using browser_testing::TempFolder;
using browser_testing::View;

constexpr char16_t kPage[] =
    u"<html><head><title>Bid list</title><script>var hidden = 1;</script></head>"
    u"<body><h1>Open bids</h1><p>Road works</p></body></html>";

TEST_F(BrowserTest, AStringLoadCommitsOnTheWorkCallNotBefore) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  EXPECT_EQ(browser->has_document(browser.get()), 0);
  LoadHtml(frame.get(), kPage, u"http://service.example/bids");
  EXPECT_EQ(Url(frame.get()), u"") << "nothing commits inside the program's call";
  EXPECT_EQ(Value(browser.get(), "loads.started"), 1);

  WaitIdle(browser.get());
  EXPECT_EQ(Value(browser.get(), "loads.committed"), 1);
  EXPECT_EQ(Url(frame.get()), u"http://service.example/bids");
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"Bid list");
  EXPECT_EQ(Take(frame->get_source(frame.get())), kPage);
  std::u16string text = Take(frame->get_text(frame.get()));
  EXPECT_NE(text.find(u"Open bids"), std::u16string::npos) << std::string(text.begin(), text.end());
  EXPECT_NE(text.find(u"Road works"), std::u16string::npos);
  EXPECT_EQ(text.find(u"hidden"), std::u16string::npos) << "scripts are not visible text";
  EXPECT_EQ(browser->has_document(browser.get()), 1);
  Close(browser);
}

TEST_F(BrowserTest, AFileAddressIsReadFromDisk) {
  TempFolder folder;
  std::u16string url = folder.Write("notice.html", "<title>Notice</title><body>Deadline 5 May</body>");
  RuntimeRef<TCefBrowser> browser = CreateBrowser(url);
  WaitIdle(browser.get());
  EXPECT_EQ(BrowserText(browser.get(), "url"), url);
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"Notice");
  EXPECT_NE(BrowserText(browser.get(), "text").find(u"Deadline 5 May"), std::u16string::npos);
  EXPECT_EQ(Value(browser.get(), "status"), 200);
  Close(browser);
}

TEST_F(BrowserTest, AMissingFileLeavesTheErrorAndThePage) {
  TempFolder folder;
  RuntimeRef<TCefBrowser> browser = CreateBrowser(folder.Write("shown.html", "<title>Shown</title>"));
  WaitIdle(browser.get());
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  std::u16string missing = folder.Url("missing.html");
  LoadUrl(frame.get(), missing);
  WaitIdle(browser.get());
  EXPECT_EQ(Value(browser.get(), "error.code"), -6);
  EXPECT_EQ(BrowserText(browser.get(), "error.url"), missing);
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"Shown") << "a failed load does not replace the page";
  EXPECT_EQ(Value(browser.get(), "history.count"), 1);
  Close(browser);
}

TEST_F(BrowserTest, PlainTextIsShownAsTextAndOtherFilesAreOfferedForSaving) {
  TempFolder folder;
  RuntimeRef<TCefBrowser> browser = CreateBrowser(folder.Write("readme.txt", "line one\nline two <b>"));
  WaitIdle(browser.get());
  EXPECT_EQ(BrowserText(browser.get(), "text"), u"line one\nline two <b>");
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"");

  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  std::string archive("PK\3\4\0\1binary", 12);
  LoadUrl(frame.get(), folder.Write("bids.zip", archive));
  WaitIdle(browser.get());
  EXPECT_EQ(Value(browser.get(), "downloads"), 1);
  EXPECT_EQ(BrowserText(browser.get(), "download.file"), u"bids.zip");
  EXPECT_EQ(BrowserText(browser.get(), "download.mime"), u"application/octet-stream");
  std::string bytes(64, '\0');
  ASSERT_EQ(Control().standin_download_bytes(browser.get(), bytes.data(), 64), 12);
  EXPECT_EQ(bytes.substr(0, 12), archive);
  EXPECT_EQ(BrowserText(browser.get(), "text"), u"line one\nline two <b>") << "the page stays";
  EXPECT_EQ(Value(browser.get(), "history.count"), 1);
  Close(browser);
}

TEST_F(BrowserTest, AStreamIsReadWholeAndReleasedInTheCall) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  std::string page = "<title>Streamed \xEC\x9E\x85\xEC\xB0\xB0</title>";
  TCefStreamReader* reader = Api().cef_stream_reader_create_for_data(page.data(), static_cast<uint32_t>(page.size()));
  std::u16string address = u"http://service.example/stream";
  TCefString url = View(address);
  frame->load_stream(frame.get(), reader, &url);
  EXPECT_EQ(Control().standin_live_objects("StreamReader"), 0) << "the reader's reference was released";
  WaitIdle(browser.get());
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"Streamed \uC785\uCC30") << "UTF-8 unless the page says otherwise";
  EXPECT_EQ(Url(frame.get()), address);
  Close(browser);
}

// A program's read handler that hands out at most seven bytes a call.
class TrickleHandler : public cef::TCefBaseOwn {
 public:
  explicit TrickleHandler(std::string data) : TCefBaseOwn(sizeof(TCefReadHandler)), data_(std::move(data)) {
    auto* w = Struct<TCefReadHandler>();
    w->read = [](TCefReadHandler* self, void* ptr, uint32_t size, uint32_t n) CEF_CALLBACK -> uint32_t {
      TrickleHandler* h = Self<TrickleHandler>(self);
      if (size == 0) return 0;
      size_t count = std::min({static_cast<size_t>(size) * n, size_t{7}, h->data_.size() - h->position_}) / size;
      std::memcpy(ptr, h->data_.data() + h->position_, count * size);
      h->position_ += count * size;
      return static_cast<uint32_t>(count);
    };
    w->seek = [](TCefReadHandler*, int32_t, int32_t) CEF_CALLBACK -> int32_t { return -1; };
    w->tell = [](TCefReadHandler* self) CEF_CALLBACK -> int32_t {
      return static_cast<int32_t>(Self<TrickleHandler>(self)->position_);
    };
    w->eof = [](TCefReadHandler* self) CEF_CALLBACK -> TCefBool {
      TrickleHandler* h = Self<TrickleHandler>(self);
      return h->position_ >= h->data_.size() ? 1 : 0;
    };
  }
  TCefReadHandler* Hand() { return reinterpret_cast<TCefReadHandler*>(Wrap()); }

 private:
  std::string data_;
  size_t position_ = 0;
};

TEST_F(BrowserTest, AProgramsReaderIsReadToItsEndAndLetGo) {
  auto handler = base::MakeRef<TrickleHandler>("<title>A title longer than one read</title>");
  TCefStreamReader* reader = Api().cef_stream_reader_create_for_handler(handler->Hand());
  ASSERT_NE(reader, nullptr);
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  std::u16string address = u"http://service.example/trickle";
  TCefString url = View(address);
  frame->load_stream(frame.get(), reader, &url);
  EXPECT_EQ(handler->RefCount(), 1) << "the reader and with it the program's handler were released";
  WaitIdle(browser.get());
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"A title longer than one read");
  Close(browser);
}

TEST_F(BrowserTest, ARequestIsReadThroughItsMembersAndReleased) {
  TempFolder folder;
  std::u16string address = folder.Write("form.html", "<title>Form</title>");
  RuntimeRef<TCefRequest> request(Api().cef_request_create());
  TCefString url = View(address);
  request->set_url(request.get(), &url);
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  request->base.add_ref(&request->base);  // the argument's reference, for the runtime
  frame->load_request(frame.get(), request.get());
  EXPECT_EQ(Control().standin_refcount(&request->base), 1) << "only the test's own reference is left";
  EXPECT_GE(Control().standin_call_count("cef_string_map_alloc"), 1) << "the headers were read through a map";
  WaitIdle(browser.get());
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"Form");
  Close(browser);
}

TEST_F(BrowserTest, HistoryGoesBackAndForwardOverCommittedPages) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  TCefBrowser* b = browser.get();
  for (const char16_t* name : {u"one", u"two", u"three"}) {
    LoadHtml(frame.get(), u"<title>" + std::u16string(name) + u"</title>", u"http://pages.example/" + std::u16string(name));
    WaitIdle(b);
  }
  EXPECT_EQ(Value(b, "history.count"), 3);
  EXPECT_EQ(Value(b, "history.index"), 2);
  EXPECT_EQ(b->can_go_back(b), 1);
  EXPECT_EQ(b->can_go_forward(b), 0);

  b->go_back(b);
  WaitIdle(b);
  EXPECT_EQ(BrowserText(b, "title"), u"two");
  EXPECT_EQ(Value(b, "history.index"), 1);
  EXPECT_EQ(b->can_go_forward(b), 1);
  b->go_back(b);
  WaitIdle(b);
  EXPECT_EQ(Url(frame.get()), u"http://pages.example/one");
  EXPECT_EQ(b->can_go_back(b), 0);
  b->go_forward(b);
  WaitIdle(b);
  EXPECT_EQ(BrowserText(b, "title"), u"two");
  EXPECT_EQ(Value(b, "history.count"), 3) << "moving through history adds no entries";

  LoadHtml(frame.get(), u"<title>four</title>", u"http://pages.example/four");
  WaitIdle(b);
  EXPECT_EQ(Value(b, "history.count"), 3) << "a new page cuts off the forward entries";
  char16_t entry[64];
  Control().standin_history_url(b, 2, entry, 64);
  EXPECT_EQ(std::u16string(entry), u"http://pages.example/four");

  b->clear_history(b);
  EXPECT_EQ(Value(b, "history.count"), 1);
  EXPECT_EQ(b->can_go_back(b), 0);
  Close(browser);
}

TEST_F(BrowserTest, AStoppedLoadNeverCommits) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  LoadHtml(frame.get(), u"<title>never</title>", u"http://pages.example/never");
  browser->stop_load(browser.get());
  WaitIdle(browser.get());
  EXPECT_EQ(Value(browser.get(), "loads.committed"), 0);
  EXPECT_EQ(Url(frame.get()), u"");
  EXPECT_EQ(Value(browser.get(), "error.code"), 0) << "stopping is not a failed load of the frame";
  Close(browser);
}

TEST_F(BrowserTest, ALaterLoadReplacesOneStillPending) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  LoadHtml(frame.get(), u"<title>first</title>", u"http://pages.example/first");
  LoadHtml(frame.get(), u"<title>second</title>", u"http://pages.example/second");
  WaitIdle(browser.get());
  EXPECT_EQ(Value(browser.get(), "loads.committed"), 1);
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"second");
  EXPECT_EQ(Value(browser.get(), "history.count"), 1);
  Close(browser);
}

TEST_F(BrowserTest, ScriptIsRecordedWithItsAddressAndLine) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  std::u16string code = u"cef.app.open_bidview('2024-1')", source = u"http://service.example/app.js";
  TCefString c = View(code), s = View(source);
  frame->execute_java_script(frame.get(), &c, &s, 12);
  EXPECT_EQ(FrameText(frame.get(), "script.code"), code);
  EXPECT_EQ(FrameText(frame.get(), "script.url"), source);
  EXPECT_EQ(Control().standin_frame_value(frame.get(), "script.line"), 12);
  EXPECT_EQ(Control().standin_call_count("frame.execute_java_script"), 1);
  Close(browser);
}

TEST_F(BrowserTest, FindCountsMatchesInTheVisibleText) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  LoadHtml(frame.get(), u"<title>apple</title><p>Apple pie, apple tart, APPLE juice</p>", u"about:blank");
  WaitIdle(browser.get());
  std::u16string word = u"apple";
  TCefString text = View(word);
  browser->find(browser.get(), 1, &text, 1, 0, 0);
  EXPECT_EQ(Value(browser.get(), "find.identifier"), 1) << "the identifier comes first on the wire";
  EXPECT_EQ(BrowserText(browser.get(), "find.text"), u"apple");
  EXPECT_EQ(Value(browser.get(), "find.matches"), 3) << "the title is not searched";
  browser->find(browser.get(), 0, &text, 0, 1, 1);
  EXPECT_EQ(Value(browser.get(), "find.matches"), 1);
  EXPECT_EQ(Value(browser.get(), "find.identifier"), 0);
  EXPECT_EQ(Value(browser.get(), "find.forward"), 0);
  EXPECT_EQ(Value(browser.get(), "find.find_next"), 1);
  browser->stop_finding(browser.get(), 1);
  EXPECT_EQ(Value(browser.get(), "find.active"), 0);
  Close(browser);
}

}  // namespace
