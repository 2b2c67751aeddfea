// A page load as the program's client hears it, through real pages of the test service:
// the order of the callbacks, HTTP errors and unreachable hosts, cancelling before browse,
// the navigation types and the redirect flag, and what the program may do before a fetch
// (redirect it, supply the content, cancel it) and after the response.

#include <algorithm>

#include "standin_callbacks/callback_fixture.h"
#include "support/test_service.h"

namespace callback_testing {
namespace {

constexpr int64_t kLinkClicked = NAVTYPE_LINKCLICKED, kFormSubmitted = NAVTYPE_FORMSUBMITTED,
                  kBackForward = NAVTYPE_BACKFORWARD, kReload = NAVTYPE_RELOAD,
                  kFormResubmitted = NAVTYPE_FORMRESUBMITTED, kOther = NAVTYPE_OTHER;

// The names of the calls among those of interest, in order.
std::vector<std::string> Only(const std::vector<std::string>& names, const std::vector<std::string>& wanted) {
  std::vector<std::string> kept;
  std::copy_if(names.begin(), names.end(), std::back_inserter(kept),
               [&](const std::string& n) { return std::find(wanted.begin(), wanted.end(), n) != wanted.end(); });
  return kept;
}

using PageCallbacks = CallbackTest;

TEST_F(PageCallbacks, APageLoadReportsItsStepsInOrder) {
  std::u16string url = ServiceUrl("/dom", "order");
  RuntimeRef<TCefBrowser> browser = Open();
  ASSERT_EQ(client_.Names(), std::vector<std::string>{"life_span.on_after_created"});
  Navigate(browser.get(), url);

  std::vector<std::string> steps = {"request.on_before_browse",  "request.on_before_resource_load",
                                    "request.on_resource_response", "load.on_load_start",
                                    "display.on_address_change", "display.on_title_change",
                                    "load.on_load_end",          "display.on_nav_state_change"};
  EXPECT_EQ(Only(client_.Names(), steps), steps);
  EXPECT_EQ(client_.Count("load.on_load_error"), 0);

  const Seen& browse = client_.Last("request.on_before_browse");
  EXPECT_EQ(browse.requestUrl, url);
  EXPECT_EQ(browse.numbers, (std::vector<int64_t>{kOther, 0})) << "navigation type, then the redirect flag";
  EXPECT_EQ(browse.frameIsMain, 1);
  EXPECT_EQ(client_.Last("load.on_load_start").frameUrl, url) << "the frame shows the new page at load start";
  EXPECT_EQ(client_.Last("display.on_address_change").texts, std::vector<std::u16string>{url});
  EXPECT_EQ(client_.Last("display.on_title_change").texts, std::vector<std::u16string>{u"DOM test page"});
  EXPECT_EQ(client_.Last("load.on_load_end").numbers, std::vector<int64_t>{200});
  EXPECT_EQ(client_.Last("display.on_nav_state_change").numbers, (std::vector<int64_t>{0, 0}));

  Navigate(browser.get(), ServiceUrl("/second", "order"));
  EXPECT_EQ(client_.Last("display.on_nav_state_change").numbers, (std::vector<int64_t>{1, 0})) << "back is possible";
  Close(browser);
  EXPECT_EQ(client_.Calls().back().name, "life_span.on_before_close") << "the last word of a browser";
}

TEST_F(PageCallbacks, AnHttpErrorEndsTheLoadWithItsStatusAndNoError) {
  RuntimeRef<TCefBrowser> browser = Open();
  Navigate(browser.get(), ServiceUrl("/status/404", "404"));
  EXPECT_EQ(client_.Last("load.on_load_end").numbers, std::vector<int64_t>{404});
  EXPECT_EQ(client_.Last("display.on_title_change").texts, std::vector<std::u16string>{u"Error 404"});
  EXPECT_EQ(client_.Count("load.on_load_error"), 0);
  Close(browser);
}

TEST_F(PageCallbacks, AnUnreachableHostIsALoadErrorWhoseTextTheProgramMayReplace) {
  RuntimeRef<TCefBrowser> browser = Open();
  std::u16string url = u"http://127.0.0.1:1/nothing";
  Navigate(browser.get(), url);
  const Seen& error = client_.Last("load.on_load_error");
  ASSERT_EQ(error.numbers.size(), 1u);
  EXPECT_LT(error.numbers[0], 0) << "a network error number";
  ASSERT_EQ(error.texts.size(), 2u);
  EXPECT_EQ(error.texts[0], url);
  EXPECT_FALSE(error.texts[1].empty()) << "the runtime's own text comes in";
  EXPECT_EQ(client_.Count("load.on_load_start") + client_.Count("load.on_load_end"), 0);
  EXPECT_EQ(browser->has_document(browser.get()), 0) << "not answered: nothing is shown";

  client_.On("load.on_load_error", [&](Seen& seen) {
    client_.Assign(seen.outTexts[0], u"The service cannot be reached just now.");
    return 1;
  });
  Navigate(browser.get(), url);
  EXPECT_TRUE(Contains(BrowserText(browser.get(), "text"), u"The service cannot be reached just now."));
  EXPECT_EQ(BrowserText(browser.get(), "url"), url);
  Close(browser);
}

TEST_F(PageCallbacks, BeforeBrowseAnsweredTrueCancelsTheNavigation) {
  RuntimeRef<TCefBrowser> browser = Open();
  client_.On("request.on_before_browse", [](Seen&) { return 1; });
  Navigate(browser.get(), ServiceUrl("/dom", "cancel"));
  EXPECT_EQ(client_.Count("request.on_before_browse"), 1);
  EXPECT_EQ(client_.Count("request.on_before_resource_load") + client_.Count("load.on_load_start"), 0);
  EXPECT_TRUE(Requests("cancel").empty()) << "nothing went out";
  EXPECT_EQ(BrowserText(browser.get(), "url"), u"");
  Close(browser);
}

TEST_F(PageCallbacks, EachNavigationSaysWhatStartedIt) {
  RuntimeRef<TCefBrowser> browser = Open();
  RuntimeRef<TCefFrame> frame = MainFrame(browser.get());
  Navigate(browser.get(), ServiceUrl("/dom", "types"));
  EXPECT_EQ(client_.Last("request.on_before_browse").numbers[0], kOther);

  ASSERT_EQ(Control().standin_frame_dispatch_event(frame.get(), u"link", u"click"), 0);
  WaitIdle(browser.get());
  EXPECT_EQ(client_.Last("request.on_before_browse").numbers[0], kLinkClicked);
  EXPECT_TRUE(EndsWith(client_.Last("request.on_before_browse").requestUrl, u"/second"));
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"Second page");

  browser->go_back(browser.get());
  WaitIdle(browser.get());
  EXPECT_EQ(client_.Last("request.on_before_browse").numbers[0], kBackForward);
  browser->reload(browser.get());
  WaitIdle(browser.get());
  EXPECT_EQ(client_.Last("request.on_before_browse").numbers[0], kReload);

  // A form the service answers at once, without a redirect of its own.
  LoadHtml(frame.get(),
           u"<form method=\"post\" action=\"/echo\"><input name=\"bid\" value=\"7\">"
           u"<button id=\"submit\">Send</button></form>",
           ServiceUrl("/form", "types"));
  WaitIdle(browser.get());
  std::u16string method;
  client_.On("request.on_before_browse", [&](Seen& seen) {
    method = client_.Take(seen.request->get_method(seen.request));
    return 0;
  });
  ASSERT_EQ(Control().standin_frame_dispatch_event(frame.get(), u"submit", u"click"), 0);
  WaitIdle(browser.get());
  EXPECT_EQ(client_.Last("request.on_before_browse").numbers[0], kFormSubmitted);
  EXPECT_EQ(method, u"POST") << "the form's method";
  EXPECT_EQ(client_.Last("request.on_before_browse").requestUrl, Wide(testing_support::TestServiceUrl("/echo")));
  browser->reload(browser.get());
  WaitIdle(browser.get());
  EXPECT_EQ(client_.Last("request.on_before_browse").numbers[0], kFormResubmitted);
  Close(browser);
}

TEST_F(PageCallbacks, EachHopOfAServerRedirectIsABrowseWithTheRedirectFlag) {
  RuntimeRef<TCefBrowser> browser = Open();
  Navigate(browser.get(), ServiceUrl("/redirect/302?to=/dom", "redirect"));
  ASSERT_EQ(client_.Count("request.on_before_browse"), 2);
  const Seen& hop = client_.Last("request.on_before_browse");
  EXPECT_TRUE(EndsWith(hop.requestUrl, u"/dom"));
  EXPECT_EQ(hop.numbers, (std::vector<int64_t>{kOther, 1}));
  EXPECT_EQ(client_.Calls()[1].numbers, (std::vector<int64_t>{kOther, 0})) << "the first request is no redirect";
  EXPECT_EQ(client_.Count("request.on_before_resource_load"), 2) << "each hop is fetched";
  EXPECT_TRUE(EndsWith(client_.Last("display.on_address_change").texts[0], u"/dom"));

  // Cancelling the redirect's hop ends the navigation there.
  client_.On("request.on_before_browse", [](Seen& seen) { return seen.numbers[1] ? 1 : 0; });
  int ends = client_.Count("load.on_load_end");
  Navigate(browser.get(), ServiceUrl("/redirect/302?to=/second", "redirect"));
  EXPECT_EQ(client_.Count("load.on_load_end"), ends);
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"DOM test page");
  Close(browser);
}

TEST_F(PageCallbacks, ARedirectWrittenBeforeTheFetchIsFollowed) {
  RuntimeRef<TCefBrowser> browser = Open();
  std::u16string target = ServiceUrl("/second", "rewrite");
  client_.On("request.on_before_resource_load", [&](Seen& seen) {
    if (!EndsWith(seen.requestUrl, u"/second") && !Contains(seen.requestUrl, u"/second?"))
      client_.Assign(seen.outTexts[0], target);
    return 0;
  });
  Navigate(browser.get(), ServiceUrl("/dom", "rewrite-from"));
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"Second page");
  EXPECT_EQ(BrowserText(browser.get(), "url"), target);
  EXPECT_TRUE(Requests("rewrite-from").empty()) << "the first address was never asked for";
  EXPECT_EQ(Requests("rewrite").size(), 1u);
  Close(browser);
}

TEST_F(PageCallbacks, AStreamSuppliedBeforeTheFetchIsThePage) {
  RuntimeRef<TCefBrowser> browser = Open();
  std::string html = "<html><head><title>From the program</title></head><body>made here</body></html>";
  client_.On("request.on_before_resource_load", [&](Seen& seen) {
    auto** slot = reinterpret_cast<TCefStreamReader**>(seen.slots[0]);
    EXPECT_EQ(*slot, nullptr) << "no stream comes in";
    *slot = Api().cef_stream_reader_create_for_data(html.data(), static_cast<uint32_t>(html.size()));
    auto* response = reinterpret_cast<TCefResponse*>(seen.objects[1]);
    std::u16string mime = u"text/html";
    TCefString type = View(mime);
    response->set_mime_type(response, &type);
    response->set_status(response, 203);
    return 0;
  });
  Navigate(browser.get(), ServiceUrl("/dom", "stream"));
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"From the program");
  EXPECT_TRUE(Contains(BrowserText(browser.get(), "text"), u"made here"));
  EXPECT_EQ(client_.Last("load.on_load_end").numbers, std::vector<int64_t>{203});
  EXPECT_TRUE(Requests("stream").empty()) << "the service was not asked";
  EXPECT_EQ(Control().standin_live_objects("StreamReader"), 0) << "the stream was read and released";
  Close(browser);
}

TEST_F(PageCallbacks, AFetchCancelledBeforehandIsALoadError) {
  RuntimeRef<TCefBrowser> browser = Open();
  client_.On("request.on_before_resource_load", [](Seen&) { return 1; });
  Navigate(browser.get(), ServiceUrl("/dom", "cancel-fetch"));
  EXPECT_EQ(client_.Last("load.on_load_error").numbers, std::vector<int64_t>{-3});
  EXPECT_TRUE(Requests("cancel-fetch").empty());
  Close(browser);
}

TEST_F(PageCallbacks, AFilterLeftForTheResponseIsReleased) {
  RuntimeRef<TCefBrowser> browser = Open();
  TestObject filter;
  int32_t status = 0;
  client_.On("request.on_resource_response", [&](Seen& seen) {
    auto* response = reinterpret_cast<TCefResponse*>(seen.objects[0]);
    status = response->get_status(response);
    *reinterpret_cast<TCefBase**>(seen.slots[0]) = filter.Hand();
    return 0;
  });
  Navigate(browser.get(), ServiceUrl("/dom", "filter"));
  EXPECT_EQ(status, 200);
  EXPECT_TRUE(Contains(client_.Last("request.on_resource_response").texts[0], u"/dom?"));
  EXPECT_EQ(filter.References(), 0);
  EXPECT_EQ(filter.Underflows(), 0);
  Close(browser);
}

TEST_F(PageCallbacks, SchemesTheBrowserDoesNotKnowGoToTheProgram) {
  RuntimeRef<TCefBrowser> browser = Open();
  std::u16string mail = u"mailto:bids@example.com";
  Navigate(browser.get(), mail);
  const Seen& asked = client_.Last("request.on_protocol_execution");
  EXPECT_EQ(asked.texts, std::vector<std::u16string>{mail});
  EXPECT_EQ(asked.numbers, std::vector<int64_t>{0}) << "the system's handler is not allowed to begin with";
  EXPECT_EQ(client_.Last("load.on_load_error").numbers, std::vector<int64_t>{-302}) << "nobody took it";

  client_.On("request.on_protocol_execution", [](Seen& seen) {
    *seen.outInts[0] = 1;
    return 0;
  });
  int errors = client_.Count("load.on_load_error");
  Navigate(browser.get(), u"qvnbid:open/2024-0001");
  EXPECT_EQ(client_.Last("request.on_protocol_execution").texts[0], u"qvnbid:open/2024-0001");
  EXPECT_EQ(Value(browser.get(), "os_executions"), 1);
  client_.On("request.on_protocol_execution", [](Seen&) { return 1; });
  Navigate(browser.get(), mail);
  EXPECT_EQ(Value(browser.get(), "os_executions"), 1) << "handled by the program itself";
  EXPECT_EQ(client_.Count("load.on_load_error"), errors);
  EXPECT_EQ(client_.Count("request.on_protocol_execution"), 3);
  EXPECT_EQ(client_.Count("load.on_load_start"), 0) << "no page comes of such an address";
  Close(browser);
}

TEST_F(PageCallbacks, CredentialsGivenForAChallengeLoadTheProtectedPage) {
  RuntimeRef<TCefBrowser> browser = Open();
  client_.On("request.get_auth_credentials", [&](Seen& seen) {
    client_.Assign(seen.outTexts[0], u"qvn");
    client_.Assign(seen.outTexts[1], u"secret");
    return 1;
  });
  Navigate(browser.get(), ServiceUrl("/protected", "auth"));
  const Seen& asked = client_.Last("request.get_auth_credentials");
  EXPECT_EQ(asked.numbers, (std::vector<int64_t>{0, testing_support::TestServicePort()})) << "not a proxy; the port";
  EXPECT_EQ(asked.texts, (std::vector<std::u16string>{u"127.0.0.1", u"QVN test", u"basic", u"", u""}))
      << "host, realm, scheme, then the empty user name and password";
  EXPECT_EQ(client_.Last("load.on_load_end").numbers, std::vector<int64_t>{200});
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"Protected");
  std::vector<std::string> sent = Requests("auth");
  ASSERT_EQ(sent.size(), 2u) << "the challenge, then the answer";
  EXPECT_EQ(testing_support::LoggedHeader(sent[1], "Authorization"), "Basic cXZuOnNlY3JldA==");
  Close(browser);
}

TEST_F(PageCallbacks, AChallengeNotAnsweredShowsTheServersPage) {
  RuntimeRef<TCefBrowser> browser = Open();
  Navigate(browser.get(), ServiceUrl("/protected", "no-auth"));
  EXPECT_EQ(client_.Count("request.get_auth_credentials"), 1);
  EXPECT_EQ(client_.Last("load.on_load_end").numbers, std::vector<int64_t>{401});

  // Wrong credentials are asked for again, a few times, before the page is shown.
  client_.On("request.get_auth_credentials", [&](Seen& seen) {
    client_.Assign(seen.outTexts[0], u"qvn");
    client_.Assign(seen.outTexts[1], u"wrong");
    return 1;
  });
  Navigate(browser.get(), ServiceUrl("/protected", "wrong-auth"));
  EXPECT_EQ(client_.Count("request.get_auth_credentials"), 4);
  EXPECT_EQ(Requests("wrong-auth").size(), 4u);
  EXPECT_EQ(client_.Last("load.on_load_end").numbers, std::vector<int64_t>{401});
  Close(browser);
}

TEST_F(PageCallbacks, ABrowserWithoutSomeHandlersLoadsAsBefore) {
  client_.Without("load");
  client_.Without("request");
  RuntimeRef<TCefBrowser> browser = Open();
  Navigate(browser.get(), ServiceUrl("/dom", "without"));
  EXPECT_EQ(BrowserText(browser.get(), "title"), u"DOM test page");
  EXPECT_EQ(client_.Names("load.").size() + client_.Names("request.").size(), 0u);
  EXPECT_EQ(client_.Count("display.on_title_change"), 1);
  Close(browser);
}

}  // namespace
}  // namespace callback_testing
