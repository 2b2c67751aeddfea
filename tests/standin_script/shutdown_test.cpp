// Shutdown with a page still open: the runtime closes the browser, lets the page's script
// objects go and tears the heap down, releasing every program structure it held.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "standin_script/script_fixture.h"

namespace {

using script_testing::TestHandler;
using script_testing::Value;
using script_testing::View;

// Where the stand-in writes its report at shutdown (set for the whole run by the tests' main).
std::filesystem::path ReportPath() {
#ifdef _WIN32
  const wchar_t* path = _wgetenv(L"STANDIN_REPORT");
#else
  const char* path = std::getenv("STANDIN_REPORT");
#endif
  return path ? std::filesystem::path(path) : std::filesystem::path();
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ScriptShutdownTest, ShutdownWithAPageOpenReleasesEverythingTheHeapHeld) {
  std::filesystem::path report = ReportPath();
  ASSERT_FALSE(report.empty());
  auto extension = base::MakeRef<TestHandler>([](script_testing::NativeCall&) -> TCefBool { return -1; });
  auto function = base::MakeRef<TestHandler>();
  {
    cef::CefRuntimeLibrary runtime;
    runtime.Load(testing_support::LibraryFileName(u"libcef_probe"), {});
    const cef::CefExports& api = runtime.Exports();
    TCefString name = View(u"test/ping"), code = View(u"var ping = function() { native function Ping(); Ping(); };");
    ASSERT_EQ(api.cef_register_extension(&name, &code, extension->Hand()), 1);

    TCefWindowInfo info{};
    TCefBrowserSettings settings{};
    settings.size = sizeof settings;
    TCefString empty = View(u"");
    script_testing::RuntimeRef<TCefBrowser> browser(api.cef_browser_create_sync(&info, nullptr, &empty, &settings));
    script_testing::RuntimeRef<TCefFrame> frame(browser->get_main_frame(browser.get()));
    TCefString page = View(u"<script>ping();</script>"), url = View(u"http://pages.example/open.html");
    frame->load_string(frame.get(), &page, &url);
    testing_support::StandinControl control(runtime.Handle());
    ASSERT_EQ(control.standin_wait_idle(browser.get(), 10000), 1);
    EXPECT_EQ(extension->calls, 1);

    // The page keeps a function made by the program; the program keeps nothing.
    TCefString fname = View(u"kept");
    Value kept(api.cef_v8value_create_function(&fname, function->Hand()));
    script_testing::RuntimeRef<TCefv8Context> context(control.standin_script_context(frame.get()));
    Value global(context->get_global(context.get()));
    kept->base.add_ref(&kept->base);
    ASSERT_EQ(global->set_value_bykey(global.get(), &fname, kept.get()), 1);
    kept.reset();
    global.reset();
    context.reset();
    frame.reset();
    browser.reset();
    EXPECT_EQ(function->RefCount(), 2) << "the page holds the function, the function its handler";
    EXPECT_EQ(extension->RefCount(), 2);
    std::filesystem::remove(report);
    runtime.Finalize();
  }
  EXPECT_EQ(function->RefCount(), 1);
  EXPECT_EQ(extension->RefCount(), 1);
  EXPECT_EQ(ReadFile(report), "clean\n");
  std::filesystem::remove(report);
}

}  // namespace
