// The stand-in's network against the test HTTP service: exchanges, host mapping, redirects,
// downloads and failures, as the browsers built on it will meet them.

#include <gtest/gtest.h>

#include <atomic>
#include <ostream>
#include <thread>

#include "standin/net_support.h"
#include "support/test_service.h"

namespace {

using net_support::Answer;
using net_support::Fetch;
using net_support::Get;
using net_support::Request;
using net_support::ScopedHosts;
using testing_support::TestServicePort;
using testing_support::TestServiceRequests;
using testing_support::TestServiceUrl;

// A mark in the query that finds this test's requests in the service's log.
std::string Marker() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  static std::atomic<int> counter{0};
  return std::string("mark=") + info->name() + "-" + std::to_string(++counter);
}

bool Contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

class NetworkTest : public testing_support::StandinTest {};

TEST_F(NetworkTest, GetAnswersStatusHeadersAndBody) {
  std::string url = TestServiceUrl("/dom?" + Marker());
  Answer a = Get(url);
  ASSERT_EQ(a.status, 200) << a.error;
  EXPECT_EQ(a.error, "");
  EXPECT_EQ(a.statusText, "OK");
  EXPECT_EQ(a.finalUrl, url);
  EXPECT_EQ(a.mimeType, "text/html");
  EXPECT_EQ(a.charset, "utf-8");
  EXPECT_TRUE(Contains(a.body, "<title>DOM test page</title>")) << a.body;
  EXPECT_EQ(a.Header("Content-Length"), std::to_string(a.body.size()));
  // Headers keep the order in which the service sent them.
  ASSERT_GE(a.headers.size(), 4u);
  EXPECT_EQ(a.headers[0].substr(0, 7), "Server:");
  EXPECT_EQ(a.headers[1].substr(0, 5), "Date:");
  EXPECT_EQ(a.headers[2], "Content-Type: text/html; charset=utf-8");
  EXPECT_EQ(a.attachment, "0");
  EXPECT_EQ(a.fileName, "");
}

TEST_F(NetworkTest, HeadAnswersHeadersWithoutBody) {
  Answer a = Fetch({"HEAD", TestServiceUrl("/download?size=5000&" + Marker())});
  ASSERT_EQ(a.status, 200) << a.error;
  EXPECT_EQ(a.Header("Content-Length"), "5000");
  EXPECT_EQ(a.body, "");
}

TEST_F(NetworkTest, AMappedHostReachesTheServiceUnderItsOwnName) {
  int port = TestServicePort();
  ScopedHosts hosts("elsewhere.test=127.0.0.1:1; qvn.test=127.0.0.1:" + std::to_string(port));
  std::string marker = Marker();
  Answer a = Get("http://qvn.test/echo?" + marker);
  ASSERT_EQ(a.status, 200) << a.error;
  EXPECT_EQ(a.finalUrl, "http://qvn.test/echo?" + marker);
  EXPECT_TRUE(Contains(a.body, R"(["Host", "qvn.test"])")) << a.body;
  auto lines = TestServiceRequests(marker);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(testing_support::LoggedHeader(lines[0], "Host"), "qvn.test");

  // A port in the address stays in the Host header; the mapping still applies.
  Answer withPort = Get("http://qvn.test:8080/echo?" + marker);
  ASSERT_EQ(withPort.status, 200) << withPort.error;
  EXPECT_TRUE(Contains(withPort.body, R"(["Host", "qvn.test:8080"])")) << withPort.body;
}

TEST_F(NetworkTest, TheHostTableIsReadOnEveryCall) {
  const auto& control = testing_support::ProgramStandin();
  char buffer[64];
  {
    ScopedHosts hosts("a.test=127.0.0.1:9001;b.test:81=127.0.0.2:9002;c.test=127.0.0.3");
    ASSERT_GT(control.standin_mapped_host("A.Test", 80, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "127.0.0.1:9001");
    ASSERT_GT(control.standin_mapped_host("b.test", 81, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "127.0.0.2:9002");
    EXPECT_EQ(control.standin_mapped_host("b.test", 80, buffer, sizeof buffer), -1) << "the entry names port 81 only";
    ASSERT_GT(control.standin_mapped_host("c.test", 8080, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "127.0.0.3:8080") << "an address without a port keeps the one asked for";
    EXPECT_EQ(control.standin_mapped_host("d.test", 80, buffer, sizeof buffer), -1);
    ScopedHosts::Set("a.test=127.0.0.9:7000");
    ASSERT_GT(control.standin_mapped_host("a.test", 80, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "127.0.0.9:7000");
  }
  EXPECT_EQ(control.standin_mapped_host("a.test", 80, buffer, sizeof buffer), -1);
}

struct RedirectCase {
  int code;
  const char* method;
  const char* methodAfter;
  bool bodyKept;
};

void PrintTo(const RedirectCase& c, std::ostream* out) { *out << c.method << " through " << c.code; }

class RedirectTest : public NetworkTest, public ::testing::WithParamInterface<RedirectCase> {};

TEST_P(RedirectTest, FollowsToTheTargetWithTheRightMethod) {
  const RedirectCase& c = GetParam();
  std::string marker = Marker();
  std::string target = "/echo?" + marker;
  Request request{c.method, TestServiceUrl("/redirect/" + std::to_string(c.code) + "?to=" + "%2Fecho%3F" + marker)};
  if (request.method != "GET") {
    request.body = "payload=1";
    request.headers = "Content-Type: application/x-www-form-urlencoded\n";
  }
  Answer a = Fetch(request);
  ASSERT_EQ(a.status, 200) << a.error;
  EXPECT_EQ(a.finalUrl, TestServiceUrl(target));
  EXPECT_TRUE(Contains(a.body, std::string(R"("method": ")") + c.methodAfter + "\"")) << a.body;
  EXPECT_EQ(Contains(a.body, R"("body": "payload=1")"), c.bodyKept) << a.body;
  EXPECT_EQ(Contains(a.body, "application/x-www-form-urlencoded"), c.bodyKept) << a.body;
}

INSTANTIATE_TEST_SUITE_P(Codes, RedirectTest,
                         ::testing::Values(RedirectCase{301, "GET", "GET", false}, RedirectCase{302, "GET", "GET", false},
                                           RedirectCase{303, "GET", "GET", false}, RedirectCase{307, "GET", "GET", false},
                                           RedirectCase{308, "GET", "GET", false},
                                           RedirectCase{301, "POST", "GET", false}, RedirectCase{302, "POST", "GET", false},
                                           RedirectCase{303, "POST", "GET", false}, RedirectCase{307, "POST", "POST", true},
                                           RedirectCase{308, "POST", "POST", true}, RedirectCase{303, "PUT", "GET", false},
                                           RedirectCase{302, "PUT", "PUT", true}));

TEST_F(NetworkTest, TwentyRedirectsAreFollowedAndTheTwentyFirstFails) {
  Answer twenty = Get(TestServiceUrl("/redirect/chain/19"));
  ASSERT_EQ(twenty.status, 200) << twenty.error;
  EXPECT_EQ(twenty.finalUrl, TestServiceUrl("/dom?chain=end"));

  Answer more = Get(TestServiceUrl("/redirect/chain/20"));
  EXPECT_EQ(more.status, 0);
  EXPECT_TRUE(Contains(more.error, "redirect")) << more.error;
  Answer loop = Get(TestServiceUrl("/redirect/loop"));
  EXPECT_EQ(loop.status, 0);
  EXPECT_NE(loop.error, "");
}

TEST_F(NetworkTest, RelativeAndCrossHostLocationsAreResolved) {
  Answer relative = Get(TestServiceUrl("/redirect/relative"));
  ASSERT_EQ(relative.status, 200) << relative.error;
  EXPECT_EQ(relative.finalUrl, TestServiceUrl("/dom?via=relative"));

  // An absolute Location to a mapped name: the next hop carries that name as its Host.
  ScopedHosts hosts("portal.test=127.0.0.1:" + std::to_string(TestServicePort()));
  Answer cross = Get(TestServiceUrl("/redirect/302?to=http%3A%2F%2Fportal.test%2Fecho"));
  ASSERT_EQ(cross.status, 200) << cross.error;
  EXPECT_EQ(cross.finalUrl, "http://portal.test/echo");
  EXPECT_TRUE(Contains(cross.body, R"(["Host", "portal.test"])")) << cross.body;
}

TEST_F(NetworkTest, WithoutFollowingTheRedirectItselfIsTheAnswer) {
  Request request{"GET", TestServiceUrl("/redirect/301?to=/second")};
  request.follow = false;
  Answer a = Fetch(request);
  EXPECT_EQ(a.status, 301);
  EXPECT_EQ(a.statusText, "Moved Permanently");
  EXPECT_EQ(a.Header("Location"), "/second");
  EXPECT_EQ(a.finalUrl, request.url);
}

TEST_F(NetworkTest, PostSendsItsHeadersAndBody) {
  std::string marker = Marker();
  Request request{"POST", TestServiceUrl("/echo?" + marker)};
  request.headers = "X-Test-One: first value\nContent-Type: text/plain; charset=utf-8\r\nReferer: http://qvn.test/form\n";
  request.body = "line one\n입찰 번호=12&x=\x01\x02";
  Answer a = Fetch(request);
  ASSERT_EQ(a.status, 200) << a.error;
  EXPECT_EQ(a.mimeType, "application/json");
  EXPECT_TRUE(Contains(a.body, R"("method": "POST")")) << a.body;
  EXPECT_TRUE(Contains(a.body, R"("query": ")" + marker + "\"")) << a.body;
  EXPECT_TRUE(Contains(a.body, R"(["X-Test-One", "first value"])")) << a.body;
  EXPECT_TRUE(Contains(a.body, R"(["Content-Type", "text/plain; charset=utf-8"])")) << a.body;
  EXPECT_TRUE(Contains(a.body, R"("body": "line one\n입찰 번호=12&x=\u0001\u0002")")) << a.body;
  EXPECT_TRUE(Contains(a.body, "\"body_length\": " + std::to_string(request.body.size()))) << a.body;
  auto lines = TestServiceRequests(marker);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, 5), "POST\t");
  EXPECT_EQ(testing_support::LoggedHeader(lines[0], "Referer"), "http://qvn.test/form");
  EXPECT_EQ(testing_support::LoggedHeader(lines[0], "Content-Length"), std::to_string(request.body.size()));
}

TEST_F(NetworkTest, OtherMethodsAndEmptyBodiesGoAsGiven) {
  Answer put = Fetch({"PUT", TestServiceUrl("/echo"), "", "x"});
  ASSERT_EQ(put.status, 200) << put.error;
  EXPECT_TRUE(Contains(put.body, R"("method": "PUT")")) << put.body;
  EXPECT_TRUE(Contains(put.body, R"("body": "x")")) << put.body;
  Answer post = Fetch({"POST", TestServiceUrl("/echo")});
  ASSERT_EQ(post.status, 200) << post.error;
  EXPECT_TRUE(Contains(post.body, R"("body_length": 0)")) << post.body;
  Answer del = Fetch({"DELETE", TestServiceUrl("/echo")});
  ASSERT_EQ(del.status, 200) << del.error;
  EXPECT_TRUE(Contains(del.body, R"("method": "DELETE")")) << del.body;
}

TEST_F(NetworkTest, ErrorStatusesAreAnswersNotFailures) {
  Answer missing = Get(TestServiceUrl("/status/404"));
  EXPECT_EQ(missing.status, 404);
  EXPECT_EQ(missing.error, "");
  EXPECT_EQ(missing.statusText, "Not Found");
  EXPECT_TRUE(Contains(missing.body, "<title>Error 404</title>")) << missing.body;
  Answer broken = Get(TestServiceUrl("/status/500"));
  EXPECT_EQ(broken.status, 500);
  EXPECT_EQ(broken.statusText, "Internal Server Error");
  EXPECT_TRUE(Contains(broken.body, "500 Internal Server Error")) << broken.body;
  Answer unknown = Get(TestServiceUrl("/no/such/page"));
  EXPECT_EQ(unknown.status, 404);
}

TEST_F(NetworkTest, AnUnreachablePortIsAFailureWithAnErrorText) {
  // Port 1 on the loopback has no listener: the connection is refused at once.
  Answer a = Get("http://127.0.0.1:1/page");
  EXPECT_EQ(a.status, 0);
  EXPECT_NE(a.error, "");
  EXPECT_EQ(a.body, "");
  EXPECT_TRUE(a.headers.empty());
  Answer notHttp = Get("ftp://127.0.0.1/file");
  EXPECT_EQ(notHttp.status, 0);
  EXPECT_NE(notHttp.error, "");
}

TEST_F(NetworkTest, ContentDispositionSuggestsPlainAndUtf8Names) {
  Answer plain = Get(TestServiceUrl("/download?size=10&name=plain%20name.txt"));
  ASSERT_EQ(plain.status, 200) << plain.error;
  EXPECT_EQ(plain.attachment, "1");
  EXPECT_EQ(plain.fileName, "plain name.txt");
  Answer hangul = Get(TestServiceUrl("/download/hangul?size=10"));
  ASSERT_EQ(hangul.status, 200) << hangul.error;
  EXPECT_EQ(hangul.attachment, "1");
  EXPECT_EQ(hangul.fileName, "보고서.bin") << "filename* wins over the plain fallback";
}

TEST_F(NetworkTest, ALargeDownloadArrivesByteForByte) {
  const size_t size = 3 * 1024 * 1024 + 7;
  Answer a = Get(TestServiceUrl("/download?size=" + std::to_string(size)));
  ASSERT_EQ(a.status, 200) << a.error;
  EXPECT_EQ(a.mimeType, "application/octet-stream");
  ASSERT_EQ(a.body.size(), size);
  size_t firstWrong = size;
  for (size_t i = 0; i < size && firstWrong == size; ++i) {
    if (static_cast<uint8_t>(a.body[i]) != i % 251) firstWrong = i;
  }
  EXPECT_EQ(firstWrong, size) << "first wrong byte";
}

TEST_F(NetworkTest, ASlowAnswerArrivesAndATooSlowOneTimesOut) {
  Answer slow = Get(TestServiceUrl("/slow?delay=1500"));
  ASSERT_EQ(slow.status, 200) << slow.error;
  EXPECT_EQ(slow.body, "slow body");
  Request impatient{"GET", TestServiceUrl("/slow?delay=5000")};
  impatient.timeoutMs = 500;
  Answer late = Fetch(impatient);
  EXPECT_EQ(late.status, 0);
  EXPECT_NE(late.error, "");
}

TEST_F(NetworkTest, ExchangesRunOnSeveralThreadsAtOnce) {
  std::string url = TestServiceUrl("/download?size=100000");
  std::atomic<int> good{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 4; ++i) {
        Answer a = Get(url);
        if (a.status == 200 && a.body.size() == 100000 && static_cast<uint8_t>(a.body[99999]) == 99999 % 251) ++good;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(good.load(), 16);
}

TEST_F(NetworkTest, AKoreanPageDecodesFromItsHeaderOrItsMeta) {
  Answer page = Get(TestServiceUrl("/euc-kr"));
  ASSERT_EQ(page.status, 200) << page.error;
  EXPECT_EQ(page.charset, "euc-kr");
  EXPECT_EQ(net_support::Query(page.body, "title", page.charset.c_str()), u"한글 페이지");
  EXPECT_EQ(net_support::Query(page.body, "#text text", page.charset.c_str()), u"가나다라 입찰 분석");

  Answer meta = Get(TestServiceUrl("/euc-kr/meta"));
  ASSERT_EQ(meta.status, 200) << meta.error;
  EXPECT_EQ(meta.charset, "");
  EXPECT_EQ(net_support::Query(meta.body, "title", nullptr), u"한글 페이지");
}

TEST_F(NetworkTest, TheServicePagesHoldWhatBrowsingTestsExpect) {
  Answer frames = Get(TestServiceUrl("/frames"));
  ASSERT_EQ(frames.status, 200) << frames.error;
  EXPECT_EQ(net_support::Query(frames.body, "count iframe"), u"2");
  std::u16string markup = net_support::Query(frames.body, "markup");
  EXPECT_NE(markup.find(u"<iframe name=\"left\" src=\"/frames/left\"></iframe>"), std::u16string::npos);
  EXPECT_NE(markup.find(u"<iframe name=\"right\" src=\"/frames/right\"></iframe>"), std::u16string::npos);
  Answer left = Get(TestServiceUrl("/frames/left"));
  EXPECT_EQ(net_support::Query(left.body, "title"), u"Left frame");

  Answer auth = Get(TestServiceUrl("/protected"));
  EXPECT_EQ(auth.status, 401);
  EXPECT_EQ(auth.Header("WWW-Authenticate"), "Basic realm=\"QVN test\"");
  Answer signedIn = Fetch({"GET", TestServiceUrl("/protected"), "Authorization: Basic cXZuOnNlY3JldA==\n"});
  EXPECT_EQ(signedIn.status, 200);
}

// ---- Addresses ----

std::string Resolve(const char* base, const char* relative) {
  char buffer[512];
  int32_t n = testing_support::ProgramStandin().standin_resolve_url(base, relative, buffer, sizeof buffer);
  EXPECT_LT(n, static_cast<int32_t>(sizeof buffer));
  return buffer;
}

TEST_F(NetworkTest, RelativeAddressesResolveAsInABrowser) {
  const char* base = "http://a.example:8080/b/c/d?q=1#top";
  EXPECT_EQ(Resolve(base, "g"), "http://a.example:8080/b/c/g");
  EXPECT_EQ(Resolve(base, "./g"), "http://a.example:8080/b/c/g");
  EXPECT_EQ(Resolve(base, "g/"), "http://a.example:8080/b/c/g/");
  EXPECT_EQ(Resolve(base, "/g"), "http://a.example:8080/g");
  EXPECT_EQ(Resolve(base, "//other.example/x"), "http://other.example/x");
  EXPECT_EQ(Resolve(base, "?y"), "http://a.example:8080/b/c/d?y");
  EXPECT_EQ(Resolve(base, "#s"), "http://a.example:8080/b/c/d?q=1#s");
  EXPECT_EQ(Resolve(base, ""), "http://a.example:8080/b/c/d?q=1");
  EXPECT_EQ(Resolve(base, "g?y#s"), "http://a.example:8080/b/c/g?y#s");
  EXPECT_EQ(Resolve(base, "../g"), "http://a.example:8080/b/g");
  EXPECT_EQ(Resolve(base, "../../../../g"), "http://a.example:8080/g");
  EXPECT_EQ(Resolve(base, "."), "http://a.example:8080/b/c/");
  EXPECT_EQ(Resolve(base, ".."), "http://a.example:8080/b/");
  EXPECT_EQ(Resolve(base, "..\\g"), "http://a.example:8080/b/g");
  EXPECT_EQ(Resolve(base, "https://x.example/a/../b"), "https://x.example/b");
  EXPECT_EQ(Resolve(base, "  /trimmed  "), "http://a.example:8080/trimmed");
  EXPECT_EQ(Resolve("http://a.example", "x"), "http://a.example/x");
  EXPECT_EQ(Resolve("https://a.example/p/", "//cdn.example/s.js"), "https://cdn.example/s.js");
}

TEST_F(NetworkTest, FileAndOtherAddressesResolveToo) {
  const char* base = "file:///C:/dir/page.html";
  EXPECT_EQ(Resolve(base, "img/a.png"), "file:///C:/dir/img/a.png");
  EXPECT_EQ(Resolve(base, "../up.html"), "file:///C:/up.html");
  EXPECT_EQ(Resolve(base, "/root.html"), "file:///C:/root.html") << "a drive letter stays";
  EXPECT_EQ(Resolve(base, "#part"), "file:///C:/dir/page.html#part");
  EXPECT_EQ(Resolve(base, "http://x.example/"), "http://x.example/");
  EXPECT_EQ(Resolve("http://a.example/", "mailto:kim@a.example"), "mailto:kim@a.example");
  EXPECT_EQ(Resolve("http://a.example/", "javascript:void(0)"), "javascript:void(0)");
}

}  // namespace
