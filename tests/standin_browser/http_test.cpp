// Pages over HTTP from the test service: fetched on a worker and committed on the work
// call, with frames, history, reloads the service sees, stopping, error pages, downloads,
// transport failures, charsets and requests with post data.

#include <chrono>
#include <string>
#include <thread>

#include "standin_browser/browser_fixture.h"
#include "support/test_service.h"

namespace {

using browser_testing::BrowserTest;
using browser_testing::RuntimeRef;
using browser_testing::View;
using testing_support::TestServiceRequests;

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// A marker of this run's own: the service's log outlives test runs.
const std::string& RunMarker() {
  static const std::string marker =
      std::to_string(std::chrono::system_clock::now().time_since_epoch().count() % 1000000007);
  return marker;
}

// An address of the service carrying a marker of the test's own in its query.
std::u16string ServiceUrl(const std::string& path, const std::string& marker) {
  return Wide(testing_support::TestServiceUrl(path + (path.find('?') == std::string::npos ? "?" : "&") +
                                              "m=" + marker + "-" + RunMarker()));
}

// The service's log lines of the test's own requests.
std::vector<std::string> Requests(const std::string& marker) {
  return TestServiceRequests("m=" + marker + "-" + RunMarker());
}

bool Contains(const std::u16string& text, std::u16string_view part) { return text.find(part) != std::u16string::npos; }

TEST_F(BrowserTest, APageOverHttpIsFetchedAndShown) {
  std::u16string address = ServiceUrl("/dom", "browser-page");
  RuntimeRef<TCefBrowser> browser = CreateBrowser(address);
  WaitIdle(browser.get());
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  EXPECT_EQ(Url(frame.get()), address);
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"DOM test page");
  EXPECT_TRUE(Contains(Take(frame->get_source(frame.get())), u"<p id=\"para\">First <b>bold</b>"));
  std::u16string text = Take(frame->get_text(frame.get()));
  EXPECT_TRUE(Contains(text, u"Hello, DOM"));
  EXPECT_TRUE(Contains(text, u"\uD55C\uAE00 \uBB38\uC7A5")) << "UTF-8 decoded";
  EXPECT_EQ(Value(browser.get(), "status"), 200);
  EXPECT_EQ(Requests("browser-page").size(), 1u);
  Close(browser);
}

TEST_F(BrowserTest, IframesOfAServicePageBecomeFrames) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser(ServiceUrl("/frames", "browser-frames"));
  WaitIdle(browser.get());
  EXPECT_EQ(FrameNames(browser.get()), (std::vector<std::u16string>{u"left", u"right"}));
  std::u16string name = u"left";
  TCefString n = View(name);
  RuntimeRef<TCefFrame> left(browser->get_frame(browser.get(), &n));
  ASSERT_TRUE(left);
  EXPECT_EQ(Url(left.get()), Wide(testing_support::TestServiceUrl("/frames/left")));
  EXPECT_EQ(FrameText(left.get(), "title"), u"Left frame");
  EXPECT_TRUE(Contains(Take(left->get_text(left.get())), u"Left frame text."));
  Close(browser);
}

TEST_F(BrowserTest, ReloadsAskTheServiceAgain) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser(ServiceUrl("/second", "browser-reload"));
  WaitIdle(browser.get());
  ASSERT_EQ(Requests("browser-reload").size(), 1u);
  browser->reload(browser.get());
  WaitIdle(browser.get());
  EXPECT_EQ(Requests("browser-reload").size(), 2u);
  browser->reload_ignore_cache(browser.get());
  WaitIdle(browser.get());
  EXPECT_EQ(Requests("browser-reload").size(), 3u);
  EXPECT_EQ(Value(browser.get(), "history.count"), 1) << "reloading adds no history";
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"Second page");
  Close(browser);
}

TEST_F(BrowserTest, GoingBackFetchesThePageAgain) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser(ServiceUrl("/dom", "browser-back"));
  WaitIdle(browser.get());
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  LoadUrl(frame.get(), ServiceUrl("/second", "browser-back"));
  WaitIdle(browser.get());
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"Second page");
  browser->go_back(browser.get());
  WaitIdle(browser.get());
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"DOM test page");
  EXPECT_EQ(Requests("browser-back").size(), 3u);
  EXPECT_EQ(browser->can_go_forward(browser.get()), 1);
  Close(browser);
}

TEST_F(BrowserTest, AStoppedFetchNeverCommits) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser(ServiceUrl("/slow?delay=800", "browser-stop"));
  Api().cef_do_message_loop_work();  // the fetch begins
  EXPECT_EQ(Control().standin_running_fetches(), 1);
  browser->stop_load(browser.get());
  WaitIdle(browser.get());
  // The fetch runs to its end; its answer must still be dropped.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (Control().standin_running_fetches() > 0 && std::chrono::steady_clock::now() < deadline) {
    Api().cef_do_message_loop_work();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(Control().standin_running_fetches(), 0) << "the fetch did not end";
  EXPECT_EQ(Value(browser.get(), "loads.committed"), 0);
  EXPECT_EQ(BrowserText(browser.get(), "url"), u"");
  EXPECT_EQ(Requests("browser-stop").size(), 1u) << "the request had gone out";
  Close(browser);
}

TEST_F(BrowserTest, HttpErrorsArePagesWithTheirStatus) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser(ServiceUrl("/status/404", "browser-404"));
  WaitIdle(browser.get());
  EXPECT_EQ(Value(browser.get(), "status"), 404);
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"Error 404");
  EXPECT_EQ(Value(browser.get(), "error.code"), 0);
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  LoadUrl(frame.get(), ServiceUrl("/status/500", "browser-500"));
  WaitIdle(browser.get());
  EXPECT_EQ(Value(browser.get(), "status"), 500);
  EXPECT_EQ(Value(browser.get(), "history.count"), 2);
  Close(browser);
}

TEST_F(BrowserTest, AnAttachmentIsKeptForADownloadAndThePageStays) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser(ServiceUrl("/second", "browser-download"));
  WaitIdle(browser.get());
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  LoadUrl(frame.get(), ServiceUrl("/download?size=3000&name=bids.zip", "browser-download"));
  WaitIdle(browser.get());
  EXPECT_EQ(Value(browser.get(), "downloads"), 1);
  EXPECT_EQ(BrowserText(browser.get(), "download.file"), u"bids.zip");
  EXPECT_EQ(BrowserText(browser.get(), "download.mime"), u"application/octet-stream");
  std::string bytes(4000, '\0');
  ASSERT_EQ(Control().standin_download_bytes(browser.get(), bytes.data(), 4000), 3000);
  EXPECT_EQ(static_cast<unsigned char>(bytes[260]), 260 % 251);
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"Second page");
  EXPECT_EQ(Value(browser.get(), "history.count"), 1);
  Close(browser);
}

TEST_F(BrowserTest, ATransportFailureLeavesAnErrorAndNoPage) {
  // Port 1 is never the service's: the connection is refused.
  RuntimeRef<TCefBrowser> browser = CreateBrowser(u"http://127.0.0.1:1/nothing");
  WaitIdle(browser.get());
  EXPECT_LT(Value(browser.get(), "error.code"), 0);
  EXPECT_NE(BrowserText(browser.get(), "error.text"), u"");
  EXPECT_EQ(BrowserText(browser.get(), "error.url"), u"http://127.0.0.1:1/nothing");
  EXPECT_EQ(Value(browser.get(), "loads.committed"), 0);
  EXPECT_EQ(browser->has_document(browser.get()), 0);
  Close(browser);
}

TEST_F(BrowserTest, TheResponsesCharsetDecodesThePage) {
  RuntimeRef<TCefBrowser> browser = CreateBrowser(ServiceUrl("/euc-kr", "browser-charset"));
  WaitIdle(browser.get());
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"\uD55C\uAE00 \uD398\uC774\uC9C0");
  Close(browser);
}

TEST_F(BrowserTest, ARequestsMethodBodyAndHeadersReachTheService) {
  RuntimeRef<TCefRequest> request(Api().cef_request_create());
  std::u16string address = ServiceUrl("/echo", "browser-post"), method = u"POST";
  TCefString url = View(address), m = View(method);
  request->set_url(request.get(), &url);
  request->set_method(request.get(), &m);
  TCefPostData* data = Api().cef_post_data_create();
  TCefPostDataElement* element = Api().cef_post_data_element_create();
  element->set_to_bytes(element, 9, "bid=2024&");
  data->add_element(data, element);
  request->set_post_data(request.get(), data);
  TCefStringMap headers = Api().cef_string_map_alloc();
  std::u16string name = u"Content-Type", value = u"application/x-www-form-urlencoded";
  TCefString k = View(name), v = View(value);
  Api().cef_string_map_append(headers, &k, &v);
  request->set_header_map(request.get(), headers);
  Api().cef_string_map_free(headers);

  RuntimeRef<TCefBrowser> browser = CreateBrowser();
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  request->base.add_ref(&request->base);  // the argument's reference, for the runtime
  frame->load_request(frame.get(), request.get());
  WaitIdle(browser.get());
  std::u16string echo = BrowserText(browser.get(), "text");
  EXPECT_TRUE(Contains(echo, u"\"method\": \"POST\"")) << std::string(echo.begin(), echo.end());
  EXPECT_TRUE(Contains(echo, u"\"body\": \"bid=2024&\""));
  auto logged = Requests("browser-post");
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_EQ(testing_support::LoggedHeader(logged[0], "Content-Type"), "application/x-www-form-urlencoded");
  Close(browser);
}

}  // namespace
