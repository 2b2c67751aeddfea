// The program's own runtime through its states: not loaded, loaded without an export,
// loaded and initialised, and after the exit step. This program starts with no runtime,
// so it runs on its own.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <functional>

#include "cef/ceflib/extension.h"
#include "cef/ceflib/loader.h"
#include "cef/ceflib/strings.h"
#include "support/standin_control.h"

namespace {

using namespace cef;
using testing_support::LibraryFileName;

// Every string helper that reaches into the runtime, called as a caller would.
const std::pair<const char*, std::function<void()>> kHelpers[] = {
    {"CefStringOwnedCopy", [] { (void)CefStringOwnedCopy(u"text"); }},
    {"CefStringAssign",
     [] {
       TCefString target{};
       CefStringAssign(&target, u"text");
     }},
    {"CefStringReadAndClear",
     [] {
       char16_t chars[] = u"x";
       TCefString source{chars, 1, nullptr};
       (void)CefStringReadAndClear(&source);
     }},
    {"CefStringReadUserFree",
     [] {
       char16_t chars[] = u"x";
       TCefString source{chars, 1, nullptr};
       (void)CefStringReadUserFree(&source);
     }},
    {"CefStringListRead", [] {
       std::vector<std::u16string> out;
       CefStringListRead([](TCefStringList) {}, out);
     }}};

void ExpectEveryHelperRefuses(const char* state) {
  for (const auto& [name, call] : kHelpers) {
    try {
      call();
      ADD_FAILURE() << name << " ran " << state;
    } catch (const ECefException& e) {
      EXPECT_NE(e.Message().find(CefLibrary), std::u16string::npos) << name << ": " << e.what();
      EXPECT_NE(std::string(e.what()).find("not loaded"), std::string::npos) << name << ": " << e.what();
    }
  }
  // What does not reach the runtime still works.
  std::u16string text = u"x";
  EXPECT_EQ(CefStringView(text).str, text.data());
  EXPECT_EQ(CefStringRead(nullptr), u"");
  EXPECT_EQ(CefStringReadUserFree(nullptr), u"");
}

class RuntimeStatesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CefLibFinalization();
    CefLibrary = kDefaultCefLibrary;
  }
  void TearDown() override {
    CefLibFinalization();
    CefLibrary = kDefaultCefLibrary;
    CefCache.clear();
    CefUserAgent.clear();
    CefProductVersion.clear();
    CefLocale.clear();
    CefLogFile.clear();
  }
};

TEST_F(RuntimeStatesTest, StringHelpersRefuseBeforeTheRuntimeIsLoaded) {
  ASSERT_EQ(CefLibHandle(), nullptr);
  ExpectEveryHelperRefuses("before the runtime was loaded");
}

TEST_F(RuntimeStatesTest, StringHelpersRefuseARuntimeThatLackedAnExport) {
  CefLibrary = LibraryFileName(u"libcef_nozip");
  EXPECT_THROW(CefLoadLibDefault(), ECefException);
  ASSERT_NE(CefLibHandle(), nullptr) << "the library stays loaded";
  ExpectEveryHelperRefuses("after a load that lacked an export");
}

TEST_F(RuntimeStatesTest, StringHelpersRefuseAfterTheExitStep) {
  CefLoadLibDefault();
  TCefString target{};
  CefStringAssign(&target, u"loaded");
  EXPECT_EQ(CefStringReadAndClear(&target), u"loaded");
  CefLibFinalization();
  ASSERT_EQ(CefLibHandle(), nullptr);
  ExpectEveryHelperRefuses("after the exit step");
}

TEST_F(RuntimeStatesTest, TheSettingsRecordBorrowsTheGlobalsOwnCharacters) {
  CefCache = u"C:\\QVN\\cache";
  CefUserAgent = u"QVN/1.0";
  CefProductVersion = u"1.0.0.1";
  CefLocale = u"ko";
  CefLogFile = u"debug.log";
  CefLoadLibDefault();
  testing_support::StandinControl standin(CefLibHandle());
  std::vector<uint8_t> record = standin.SettingsRecord();
  ASSERT_EQ(record.size(), sizeof(TCefSettings));
  auto strAt = [&](size_t offset) {
    char16_t* str = nullptr;
    std::memcpy(&str, record.data() + offset, sizeof str);
    return str;
  };
  EXPECT_EQ(strAt(offsetof(TCefSettings, cache_path)), CefCache.data());
  EXPECT_EQ(strAt(offsetof(TCefSettings, user_agent)), CefUserAgent.data());
  EXPECT_EQ(strAt(offsetof(TCefSettings, product_version)), CefProductVersion.data());
  EXPECT_EQ(strAt(offsetof(TCefSettings, locale)), CefLocale.data());
  EXPECT_EQ(strAt(offsetof(TCefSettings, log_file)), CefLogFile.data());
  EXPECT_EQ(standin.SettingsString("cache_path"), u"C:\\QVN\\cache");
  EXPECT_EQ(standin.standin_live_objects(nullptr), 0) << standin.Report();
  EXPECT_EQ(standin.standin_error_count(), 0) << standin.Report();
}

// A native-function handler that tells when it is destroyed.
class WatchedHandler : public TCefv8HandlerOwn {
 public:
  explicit WatchedHandler(bool* destroyed) : destroyed_(destroyed) {}
  ~WatchedHandler() override { *destroyed_ = true; }

 private:
  bool* destroyed_;
};

int32_t RuntimeReferences(const Ref<ICefv8Handler>& handler) {
  TCefBase* wire = handler->Wrap();
  return wire->release(wire) - 1;  // less the program's own
}

TEST_F(RuntimeStatesTest, RegisteringAnExtensionLoadsTheRuntimeFirstAndItKeepsTheHandler) {
  ASSERT_EQ(CefLibHandle(), nullptr);
  bool destroyed = false;
  Ref<ICefv8Handler> handler = base::MakeRef<WatchedHandler>(&destroyed);
  EXPECT_TRUE(CefRegisterExtension(u"v8/app", u"var cef;", handler));
  ASSERT_NE(CefLibHandle(), nullptr);
  testing_support::StandinControl standin(CefLibHandle());
  EXPECT_EQ(standin.standin_initialized(), 1);
  ASSERT_EQ(standin.standin_extension_count(), 1);
  char16_t name[16] = {};
  ASSERT_EQ(standin.standin_extension_name(0, name, 16), 6);
  EXPECT_EQ(std::u16string(name), u"v8/app");
  EXPECT_EQ(RuntimeReferences(handler), 1);
  handler.reset();
  EXPECT_FALSE(destroyed) << "the runtime's reference keeps the handler alive";
  CefLibFinalization();
  EXPECT_TRUE(destroyed) << "the runtime let go of it when it shut down";
}

TEST_F(RuntimeStatesTest, ARegistrationWhoseRuntimeCannotBeLoadedHandsTheHandlerNothing) {
  bool destroyed = false;
  Ref<ICefv8Handler> handler = base::MakeRef<WatchedHandler>(&destroyed);
  CefLibrary = LibraryFileName(u"libcef_not_there");
  EXPECT_THROW(CefRegisterExtension(u"v8/app", u"var cef;", handler), platform::EOSError);
  EXPECT_EQ(RuntimeReferences(handler), 0);
  CefLibrary = LibraryFileName(u"libcef_nozip");
  EXPECT_THROW(CefRegisterExtension(u"v8/app", u"var cef;", handler), ECefException);
  EXPECT_EQ(RuntimeReferences(handler), 0);
  handler.reset();
  EXPECT_TRUE(destroyed);
}

}  // namespace
