// The program's client on pages of the test service: a download reaches the handler the
// control supplies, a page's script dialogs get the control's answers, and a protected page
// opens with the credentials the control gives.

#include <chrono>
#include <memory>

#include "standin_scene.h"
#include "support/test_service.h"

namespace dispatch_tests {
namespace {

using Clock = std::chrono::steady_clock;

// A download handler of the control's that logs what reaches it, its release included,
// into a log that outlives it.
class LoggingDownloadHandler : public cef::TCefDownloadHandlerOwn {
 public:
  explicit LoggingDownloadHandler(std::vector<std::string>& log, std::vector<uint8_t>& bytes)
      : log_(log), bytes_(bytes) {}
  ~LoggingDownloadHandler() override { log_.push_back("released"); }
  int32_t ReceivedData(void* data, int32_t dataSize) override {
    log_.push_back("data " + std::to_string(dataSize));
    const auto* first = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), first, first + dataSize);
    return dataSize;
  }
  void Complete() override { log_.push_back("complete"); }

 private:
  std::vector<std::string>& log_;
  std::vector<uint8_t>& bytes_;
};

class StandinPagesTest : public StandinSceneTest {
 protected:
  // Work calls until the log ends with what; fails after 10 s.
  void WorkUntilLogged(const std::vector<std::string>& log, const std::string& what) {
    auto deadline = Clock::now() + std::chrono::seconds(10);
    while ((log.empty() || log.back() != what) && Clock::now() < deadline) Work();
    ASSERT_FALSE(log.empty());
    ASSERT_EQ(log.back(), what);
  }
  std::string Frame() const {
    TCefBase* frame = browser->GetMainFrame()->Wrap();
    fakes::Release(frame);
    return P(frame);
  }
  // The control's calls of one operation, in order.
  std::vector<std::string> CallsOf(const std::string& operation) const {
    std::vector<std::string> found;
    for (const std::string& call : events->calls) {
      if (call.rfind(operation + " ", 0) == 0) found.push_back(call);
    }
    return found;
  }
};

TEST_F(StandinPagesTest, ADownloadReachesTheControlsHandlerChunkByChunkThenCompleteThenTheRelease) {
  std::vector<std::string> log;
  std::vector<uint8_t> bytes;
  events->answers["doOnGetDownloadHandler"] = true;
  events->objects["handler"] = base::MakeRef<LoggingDownloadHandler>(log, bytes);
  Load("/dom");
  browser->GetMainFrame()->LoadUrl(
      platform::Utf8ToUtf16(testing_support::TestServiceUrl("/download?size=200000&name=bids.zip")));
  auto deadline = Clock::now() + std::chrono::seconds(10);
  while (CallsOf("doOnGetDownloadHandler").empty() && Clock::now() < deadline) Work();
  ASSERT_EQ(CallsOf("doOnGetDownloadHandler"),
            std::vector<std::string>{"doOnGetDownloadHandler " + B() + " \"application/octet-stream\" \"bids.zip\" "
                                     "200000 null"});
  // From here on only the runtime holds the handler.
  events->objects.clear();
  EXPECT_TRUE(log.empty()) << "the bytes come on later work calls";

  WorkUntilLogged(log, "released");
  EXPECT_EQ(log, (std::vector<std::string>{"data 65536", "data 65536", "data 65536", "data 3392", "complete",
                                           "released"}));
  ASSERT_EQ(bytes.size(), 200000u);
  size_t wrong = 0;
  for (size_t i = 0; i < bytes.size(); ++i) wrong += bytes[i] == i % 251 ? 0 : 1;
  EXPECT_EQ(wrong, 0u) << "the service's pattern, in order";
  EXPECT_EQ(BrowserText("title"), u"DOM test page") << "the page stays";
}

TEST_F(StandinPagesTest, APageScriptsDialogsGetTheControlsAnswers) {
  Load("/dom");
  std::string dialog = B() + " " + Frame();
  Run(u"alert('Bid 2024-0001 closes today')");
  EXPECT_EQ(CallsOf("doOnJsAlert"),
            std::vector<std::string>{"doOnJsAlert " + dialog + " \"Bid 2024-0001 closes today\""});

  EXPECT_EQ(Run(u"String(confirm('Submit?'))"), u"false") << "not answered";
  events->answers["doOnJsConfirm"] = true;
  events->flags["retval"] = true;
  EXPECT_EQ(Run(u"String(confirm('Submit?'))"), u"true");
  events->flags["retval"] = false;
  EXPECT_EQ(Run(u"String(confirm('Submit?'))"), u"false");
  EXPECT_EQ(CallsOf("doOnJsConfirm").back(), "doOnJsConfirm " + dialog + " \"Submit?\" false");

  EXPECT_EQ(Run(u"String(prompt('Your name?', 'Lee'))"), u"null") << "not answered";
  EXPECT_EQ(CallsOf("doOnJsPrompt").back(), "doOnJsPrompt " + dialog + " \"Your name?\" \"Lee\" false \"\"");
  events->answers["doOnJsPrompt"] = true;
  events->flags["retval"] = true;
  events->texts["return"] = u"김민수";
  EXPECT_EQ(Run(u"prompt('Your name?', 'Lee')"), u"김민수");
  events->flags["retval"] = false;
  EXPECT_EQ(Run(u"String(prompt('Your name?'))"), u"null") << "cancelled";
  EXPECT_TRUE(reports.empty());
}

TEST_F(StandinPagesTest, AProtectedPageOpensWithTheCredentialsTheControlGives) {
  std::string challenge = "doOnAuthCredentials " + B() + " false " +
                          std::to_string(testing_support::TestServicePort()) +
                          " \"127.0.0.1\" \"QVN test\" \"basic\" \"\" \"\"";
  Load("/protected");
  EXPECT_EQ(CallsOf("doOnAuthCredentials"), std::vector<std::string>{challenge});
  EXPECT_EQ(BrowserText("title"), u"Error 401") << "not answered: the server's page";

  events->calls.clear();
  events->answers["doOnAuthCredentials"] = true;
  events->texts["username"] = u"qvn";
  events->texts["password"] = u"secret";
  Load("/protected");
  EXPECT_EQ(CallsOf("doOnAuthCredentials"), std::vector<std::string>{challenge});
  EXPECT_EQ(BrowserText("title"), u"Protected");
  EXPECT_EQ(CallsOf("doOnLoadEnd").back(), "doOnLoadEnd " + B() + " " + Frame() + " 200");
}

}  // namespace
}  // namespace dispatch_tests
