#include "standin_callbacks/callback_fixture.h"

#include <algorithm>
#include <chrono>

#include "support/test_service.h"

namespace callback_testing {
namespace {

// A marker of this run's own: the service's log outlives test runs.
const std::string& RunMarker() {
  static const std::string marker =
      std::to_string(std::chrono::system_clock::now().time_since_epoch().count() % 1000000007);
  return marker;
}

}  // namespace

void CallbackTest::TearDown() {
  client_.ForgetAnswers();
  BrowserTest::TearDown();
  EXPECT_EQ(client_.References(), 0) << "the runtime kept references to the client or its handlers";
  EXPECT_EQ(client_.Underflows(), 0) << "the runtime released the client or a handler once too often";
}

void CallbackTest::Navigate(TCefBrowser* browser, const std::u16string& url) {
  RuntimeRef<TCefFrame> frame = MainFrame(browser);
  LoadUrl(frame.get(), url);
  WaitIdle(browser);
}

std::u16string CallbackTest::Run(TCefBrowser* browser, const std::u16string& code) const {
  RuntimeRef<TCefFrame> frame = MainFrame(browser);
  // The code runs once: the buffer is sized ahead.
  std::u16string result(4096, u'\0');
  int32_t threw = 0;
  int32_t length = Control().standin_script_run(frame.get(), code.c_str(), &threw, result.data(),
                                                static_cast<int32_t>(result.size()));
  EXPECT_EQ(threw, 0) << Narrow(result.c_str());
  result.resize(static_cast<size_t>(std::clamp<int32_t>(length, 0, static_cast<int32_t>(result.size()) - 1)));
  return result;
}

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

std::u16string ServiceUrl(const std::string& path, const std::string& marker) {
  return Wide(testing_support::TestServiceUrl(path + (path.find('?') == std::string::npos ? "?" : "&") + "m=" +
                                              marker + "-" + RunMarker()));
}

std::vector<std::string> Requests(const std::string& marker) {
  return testing_support::TestServiceRequests("m=" + marker + "-" + RunMarker());
}

bool EndsWith(const std::u16string& text, std::u16string_view tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool Contains(const std::u16string& text, std::u16string_view part) { return text.find(part) != std::u16string::npos; }

}  // namespace callback_testing
