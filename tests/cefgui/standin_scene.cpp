#include "standin_scene.h"

#include <algorithm>

#include "support/test_service.h"

namespace dispatch_tests {

void StandinSceneTest::SetUp() {
  FakeTest::SetUp();
  TCefWindowInfo info{};
  TCefBrowserSettings settings{};
  settings.size = sizeof settings;
  browser = cef::CefBrowserCreateSync(&info, client, u"", &settings);
  ASSERT_TRUE(browser);
  browser_ = reinterpret_cast<TCefBrowser*>(browser->Wrap());
}

void StandinSceneTest::TearDown() {
  events->answer = false;
  events->failing.clear();
  if (browser) browser->CloseBrowser();
  browser = nullptr;
  fakes::Release(std::exchange(browser_, nullptr));
  events->objects.clear();
  EXPECT_EQ(client->RefCount(), 1) << "the runtime kept a reference to the client";
  FakeTest::TearDown();
}

void StandinSceneTest::WaitIdle() const {
  ASSERT_EQ(testing_support::ProgramStandin().standin_wait_idle(browser_, 20000), 1) << "the browser did not finish its work";
}

void StandinSceneTest::Load(const std::string& path) const {
  browser->GetMainFrame()->LoadUrl(platform::Utf8ToUtf16(testing_support::TestServiceUrl(path)));
  WaitIdle();
}

std::u16string StandinSceneTest::Run(const std::u16string& code) const {
  TCefBase* frame = browser->GetMainFrame()->Wrap();
  // The code runs once: the buffer is sized ahead.
  std::u16string result(4096, u'\0');
  int32_t threw = 0;
  int32_t length = testing_support::ProgramStandin().standin_script_run(reinterpret_cast<TCefFrame*>(frame), code.c_str(), &threw,
                                                result.data(), static_cast<int32_t>(result.size()));
  fakes::Release(frame);
  EXPECT_EQ(threw, 0) << platform::Utf16ToUtf8(result.c_str());
  result.resize(static_cast<size_t>(std::clamp<int32_t>(length, 0, static_cast<int32_t>(result.size()) - 1)));
  return result;
}

std::u16string StandinSceneTest::BrowserText(const char* key) const {
  return testing_support::ControlText(
      [&](char16_t* buffer, int32_t size) { return testing_support::ProgramStandin().standin_browser_text(browser_, key, buffer, size); });
}

}  // namespace dispatch_tests
