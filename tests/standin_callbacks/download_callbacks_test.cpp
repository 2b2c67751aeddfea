// Downloads as the program's client receives them: the request handler is asked for a
// download handler with the server's file name, type and length; the bytes follow in
// chunks on later work calls, then complete, then the handler's last release; also when
// the connection breaks midway.

#include <chrono>
#include <thread>

#include "standin_callbacks/callback_fixture.h"

namespace callback_testing {
namespace {

using Clock = std::chrono::steady_clock;

class DownloadCallbacks : public CallbackTest {
 protected:
  // Answers the download handler request with the fixture's handler (and `answer`).
  void Supply(int32_t answer = 1) {
    client_.On("request.get_download_handler", [this, answer](Seen& seen) {
      *reinterpret_cast<TCefDownloadHandler**>(seen.slots[0]) = handler.Hand();
      return answer;
    });
  }

  // Work calls until the handler has been asked for; fails after 10 s.
  void WorkUntilAsked() {
    auto deadline = Clock::now() + std::chrono::seconds(10);
    while (client_.Count("request.get_download_handler") == 0 && Clock::now() < deadline) {
      Work();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(client_.Count("request.get_download_handler"), 1);
  }

  // A member: it outlives the browsers, which the fixture closes after the test.
  TestDownloadHandler handler;
};

TEST_F(DownloadCallbacks, TheBytesArriveInOrderChunkByChunkThenCompleteThenTheRelease) {
  Supply();
  RuntimeRef<TCefBrowser> browser = Open();
  Navigate(browser.get(), ServiceUrl("/dom", "download-page"));
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  LoadUrl(frame.get(), ServiceUrl("/download?size=200000&name=bids.zip", "download"));
  WorkUntilAsked();

  const Seen& asked = client_.Last("request.get_download_handler");
  EXPECT_EQ(asked.texts, (std::vector<std::u16string>{u"application/octet-stream", u"bids.zip"}));
  EXPECT_EQ(asked.numbers, std::vector<int64_t>{200000});
  EXPECT_TRUE(handler.log.empty()) << "the bytes come on later work calls";
  // The bytes go on no faster than they came from the network.
  for (int call = 0; call < 2000 && (handler.log.empty() || handler.log.back() != "released"); ++call) {
    size_t before = handler.log.size();
    Work();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    int chunks = 0;
    for (size_t i = before; i < handler.log.size(); ++i) chunks += handler.log[i].rfind("data", 0) == 0 ? 1 : 0;
    EXPECT_LE(chunks, 1) << "one chunk per work call";
  }
  EXPECT_EQ(handler.log, (std::vector<std::string>{"data 65536", "data 65536", "data 65536", "data 3392", "complete",
                                                   "released"}));
  ASSERT_EQ(handler.bytes.size(), 200000u);
  size_t wrong = 0;
  for (size_t i = 0; i < handler.bytes.size(); ++i) wrong += handler.bytes[i] == i % 251 ? 0 : 1;
  EXPECT_EQ(wrong, 0u) << "the service's pattern, in order";
  EXPECT_EQ(handler.References(), 0);
  EXPECT_EQ(handler.Underflows(), 0);
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"DOM test page") << "the page stays";
  Close(browser);
}

TEST_F(DownloadCallbacks, TheSuggestedNameArrivesAsUtf16) {
  RuntimeRef<TCefBrowser> browser = Open();
  Navigate(browser.get(), ServiceUrl("/download/hangul?size=10", "hangul"));
  EXPECT_EQ(client_.Last("request.get_download_handler").texts[1], u"\uBCF4\uACE0\uC11C.bin");
  Close(browser);
}

TEST_F(DownloadCallbacks, WithoutAHandlerNothingMoreHappens) {
  RuntimeRef<TCefBrowser> browser = Open();
  Navigate(browser.get(), ServiceUrl("/download?size=1000", "no-handler"));
  EXPECT_EQ(client_.Count("request.get_download_handler"), 1);
  EXPECT_EQ(Value(browser.get(), "deliveries"), 0);
  EXPECT_EQ(Value(browser.get(), "downloads"), 1) << "the runtime still has the response";

  // A handler left in the slot of a download the program declines is only released.
  Supply(0);
  Navigate(browser.get(), ServiceUrl("/download?size=1000", "declined"));
  EXPECT_EQ(handler.log, std::vector<std::string>{"released"});
  Close(browser);
}

TEST_F(DownloadCallbacks, AHandlerThatTakesNothingEndsTheDownload) {
  handler.answer = 0;
  Supply();
  RuntimeRef<TCefBrowser> browser = Open();
  Navigate(browser.get(), ServiceUrl("/download?size=200000", "refused"));
  EXPECT_EQ(handler.log, (std::vector<std::string>{"data 65536", "released"})) << "no complete";
  Close(browser);
}

// The handler is asked for with the length the server announced; when the connection
// breaks, the bytes that arrived go out and the download ends as any request ends.
TEST_F(DownloadCallbacks, AConnectionThatBreaksDeliversWhatArrivedThenCompletes) {
  Supply();
  RuntimeRef<TCefBrowser> browser = Open();
  Navigate(browser.get(), ServiceUrl("/download?size=200000&drop=70000", "broken"));
  EXPECT_EQ(client_.Last("request.get_download_handler").numbers, std::vector<int64_t>{200000});
  EXPECT_EQ(handler.log, (std::vector<std::string>{"data 65536", "data 4464", "complete", "released"}));
  ASSERT_EQ(handler.bytes.size(), 70000u);
  size_t wrong = 0;
  for (size_t i = 0; i < handler.bytes.size(); ++i) wrong += handler.bytes[i] == i % 251 ? 0 : 1;
  EXPECT_EQ(wrong, 0u);
  EXPECT_EQ(Value(browser.get(), "download.cut_short"), 1);
  EXPECT_EQ(Value(browser.get(), "download.length"), 200000);
  EXPECT_EQ(Value(browser.get(), "error.code"), 0) << "the page stays, without an error";
  Close(browser);
}

TEST_F(DownloadCallbacks, ClosingTheBrowserReleasesADownloadUnderWay) {
  Supply();
  RuntimeRef<TCefBrowser> browser = Open();
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  LoadUrl(frame.get(), ServiceUrl("/download?size=200000", "closed"));
  WorkUntilAsked();
  // The first chunk goes on once it has come from the network, one chunk per work call.
  for (int call = 0; call < 2000 && handler.log.empty(); ++call) {
    Work();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_EQ(handler.log, std::vector<std::string>{"data 65536"});
  Close(browser);
  EXPECT_EQ(handler.log, (std::vector<std::string>{"data 65536", "released"}));
}

}  // namespace
}  // namespace callback_testing
