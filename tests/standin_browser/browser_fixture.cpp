#include "standin_browser/browser_fixture.h"

#include <atomic>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace browser_testing {

TestClient::TestClient() : TCefBaseOwn(sizeof(TCefClient)) {}

TestVisitor::TestVisitor(std::function<void(TCefDomDocument*)> onVisit)
    : TCefBaseOwn(sizeof(TCefDomVisitor)), onVisit_(std::move(onVisit)) {
  Struct<TCefDomVisitor>()->visit = [](TCefDomVisitor* self, TCefDomDocument* document) CEF_CALLBACK {
    TestVisitor* visitor = Self<TestVisitor>(self);
    ++visitor->visits;
    if (visitor->onVisit_) visitor->onVisit_(document);
    // The document came with a reference for the visitor.
    if (document) document->base.release(&document->base);
  };
}

namespace {
unsigned long ProcessId() {
#ifdef _WIN32
  return GetCurrentProcessId();
#else
  return static_cast<unsigned long>(getpid());
#endif
}
}  // namespace

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("standin-browser-" + std::to_string(ProcessId()) + "-" + std::to_string(++counter));
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::u16string TempFolder::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream(Path(name), std::ios::binary) << bytes;
  return Url(name);
}

std::u16string TempFolder::Url(const std::string& name) const {
  std::u16string generic = Path(name).generic_u16string();
  return (generic.front() == u'/' ? u"file://" : u"file:///") + generic;
}

TCefString View(const std::u16string& text) {
  return {const_cast<char16_t*>(text.c_str()), static_cast<uint32_t>(text.size()), nullptr};
}

void BrowserTest::TearDown() {
  EXPECT_EQ(Control().standin_browser_count(), 0) << "a test left a browser open";
  // A test stopped short by a failed assertion must not take the next ones with it.
  while (TCefBrowser* open = Control().standin_browser_at(0)) {
    open->close_browser(open);
    open->base.release(&open->base);
  }
  EXPECT_EQ(Control().standin_held_objects(), 0) << Control().Report();
}

RuntimeRef<TCefBrowser> BrowserTest::CreateBrowser(const std::u16string& url, TCefClient* client) {
  TCefWindowInfo info{};
  TCefBrowserSettings settings{};
  settings.size = sizeof settings;
  TCefString address = View(url);
  return RuntimeRef<TCefBrowser>(Api().cef_browser_create_sync(&info, client, &address, &settings));
}

RuntimeRef<TCefFrame> BrowserTest::MainFrame(TCefBrowser* browser) const {
  return RuntimeRef<TCefFrame>(browser->get_main_frame(browser));
}

void BrowserTest::Close(RuntimeRef<TCefBrowser>& browser) const {
  if (browser) browser->close_browser(browser.get());
  browser.reset();
}

void BrowserTest::WaitIdle(TCefBrowser* browser) const {
  ASSERT_EQ(Control().standin_wait_idle(browser, 10000), 1) << "the browser's loads did not finish";
}

void BrowserTest::LoadHtml(TCefFrame* frame, const std::u16string& html, const std::u16string& url) const {
  TCefString text = View(html), address = View(url);
  frame->load_string(frame, &text, &address);
}

void BrowserTest::LoadUrl(TCefFrame* frame, const std::u16string& url) const {
  TCefString address = View(url);
  frame->load_url(frame, &address);
}

std::u16string BrowserTest::Take(TCefStringUserFree s) const {
  if (!s) return {};
  std::u16string text(s->str, s->length);
  Api().cef_string_userfree_utf16_free(s);
  return text;
}

std::u16string BrowserTest::BrowserText(TCefBrowser* browser, const char* key) const {
  return testing_support::ControlText([&](char16_t* buffer, int32_t size) { return Control().standin_browser_text(browser, key, buffer, size); });
}

std::u16string BrowserTest::FrameText(TCefFrame* frame, const char* key) const {
  return testing_support::ControlText([&](char16_t* buffer, int32_t size) { return Control().standin_frame_text(frame, key, buffer, size); });
}

std::vector<std::u16string> BrowserTest::FrameNames(TCefBrowser* browser, std::vector<std::u16string> initial) const {
  TCefStringList list = Api().cef_string_list_alloc();
  for (const std::u16string& name : initial) {
    TCefString s = View(name);
    Api().cef_string_list_append(list, &s);
  }
  browser->get_frame_names(browser, list);
  std::vector<std::u16string> names;
  for (int32_t i = 0, n = Api().cef_string_list_size(list); i < n; ++i) {
    TCefString value{};
    Api().cef_string_list_value(list, i, &value);
    names.emplace_back(value.str, value.length);
    Api().cef_string_utf16_clear(&value);
  }
  Api().cef_string_list_free(list);
  return names;
}

}  // namespace browser_testing
