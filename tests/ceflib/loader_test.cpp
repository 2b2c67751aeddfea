#include "cef/ceflib/loader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>

#include "platform/fpu.h"
#include "support/standin_control.h"

namespace {

using testing_support::LibraryFileName;
using testing_support::ProbeRuntime;
using testing_support::StandinControl;

template <class T>
T FieldAt(const std::vector<uint8_t>& bytes, size_t offset) {
  T value{};
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

class LoaderTest : public testing_support::StandinTest {};

TEST_F(LoaderTest, ProgramDefaultsReachTheRuntimeRecord) {
  const StandinControl& standin = testing_support::ProgramStandin();
  std::vector<uint8_t> record = standin.SettingsRecord();
  ASSERT_EQ(record.size(), sizeof(TCefSettings));
  EXPECT_EQ(FieldAt<uint32_t>(record, offsetof(TCefSettings, size)), sizeof(TCefSettings));
  EXPECT_EQ(record[offsetof(TCefSettings, multi_threaded_message_loop)], 0);
  EXPECT_EQ(standin.SettingsString("cache_path"), cef::CefCache);
  for (const char* field : {"user_agent", "product_version", "locale", "log_file"}) {
    bool isNull = true, hasDtor = true;
    EXPECT_EQ(standin.SettingsString(field, &isNull, &hasDtor), u"") << field;
    EXPECT_FALSE(isNull) << field << ": an empty text is never a null str";
    EXPECT_FALSE(hasDtor) << field << ": borrowed strings have no dtor";
  }
  EXPECT_EQ(FieldAt<TCefStringList>(record, offsetof(TCefSettings, extra_plugin_paths)), nullptr);
  EXPECT_EQ(FieldAt<int32_t>(record, offsetof(TCefSettings, log_severity)), 99);
  EXPECT_EQ(FieldAt<int32_t>(record, offsetof(TCefSettings, graphics_implementation)), 0);
  EXPECT_EQ(FieldAt<uint32_t>(record, offsetof(TCefSettings, local_storage_quota)), 0u);
  EXPECT_EQ(FieldAt<uint32_t>(record, offsetof(TCefSettings, session_storage_quota)), 0u);
  // Padding and every byte not listed stay zero.
  for (size_t i = offsetof(TCefSettings, multi_threaded_message_loop) + 1; i < offsetof(TCefSettings, cache_path); ++i)
    EXPECT_EQ(record[i], 0) << "byte " << i;
}

TEST_F(LoaderTest, SecondDefaultLoadCallsNothingInTheRuntime) {
  const StandinControl& standin = testing_support::ProgramStandin();
  int32_t before = standin.standin_total_calls();
  cef::CefLoadLibDefault();
  cef::CefLoadLib(u"other", u"", u"", u"", u"", u"", 0, 0, 0, 0);
  EXPECT_EQ(standin.standin_total_calls(), before);
  EXPECT_EQ(standin.standin_call_count("cef_initialize"), 1);
}

TEST_F(LoaderTest, EverySettingReachesItsFieldAndStringsAreBorrowed) {
  cef::CefRuntimeSettings settings;
  settings.cache = u"C:\\QVN\\캐시";
  settings.userAgent = u"QVN/1.0";
  settings.productVersion = u"1.0.0.1";
  settings.locale = u"ko";
  settings.logFile = u"debug.log";
  settings.extraPluginPaths = u"a;b;";
  settings.logSeverity = 2;
  settings.graphicsImplementation = 1;
  settings.localStorageQuota = 1234;
  settings.sessionStorageQuota = 5678;
  ProbeRuntime probe(settings);
  const StandinControl& standin = probe.Control();

  std::vector<uint8_t> record = standin.SettingsRecord();
  ASSERT_EQ(record.size(), sizeof(TCefSettings));
  const std::pair<const char*, const std::u16string_view*> strings[] = {
      {"cache_path", &settings.cache},
      {"user_agent", &settings.userAgent},
      {"product_version", &settings.productVersion},
      {"locale", &settings.locale},
      {"log_file", &settings.logFile},
  };
  for (auto& [field, text] : strings) {
    bool hasDtor = true;
    EXPECT_EQ(standin.SettingsString(field, nullptr, &hasDtor), *text) << field;
    EXPECT_FALSE(hasDtor) << field;
  }
  // The record's cache string pointed at the caller's own characters.
  EXPECT_EQ(FieldAt<char16_t*>(record, offsetof(TCefSettings, cache_path)), settings.cache.data());
  EXPECT_NE(FieldAt<TCefStringList>(record, offsetof(TCefSettings, extra_plugin_paths)), nullptr);
  EXPECT_EQ(standin.PluginPaths(), (std::vector<std::u16string>{u"a", u"b", u""}));
  EXPECT_EQ(FieldAt<int32_t>(record, offsetof(TCefSettings, log_severity)), 2);
  EXPECT_EQ(FieldAt<int32_t>(record, offsetof(TCefSettings, graphics_implementation)), 1);
  EXPECT_EQ(FieldAt<uint32_t>(record, offsetof(TCefSettings, local_storage_quota)), 1234u);
  EXPECT_EQ(FieldAt<uint32_t>(record, offsetof(TCefSettings, session_storage_quota)), 5678u);
  // The plug-in list is freed once the runtime is initialised.
  EXPECT_EQ(standin.standin_call_count("cef_string_list_alloc"), 1);
  EXPECT_EQ(standin.standin_call_count("cef_string_list_append"), 3);
  EXPECT_EQ(standin.standin_call_count("cef_string_list_free"), 1);
  EXPECT_EQ(standin.standin_live_objects("StringList"), 0);
}

TEST_F(LoaderTest, QuotedPluginPathReachesTheRuntimeAsOneEntry) {
  cef::CefRuntimeSettings settings;
  settings.extraPluginPaths = u"\"C:\\Program Files\\Plug In\\np.dll\" D:\\x.dll";
  ProbeRuntime probe(settings);
  EXPECT_EQ(probe.Control().PluginPaths(),
            (std::vector<std::u16string>{u"C:\\Program Files\\Plug In\\np.dll", u"D:\\x.dll"}));
}

TEST_F(LoaderTest, LoadingTwiceInitialisesOnce) {
  ProbeRuntime probe;
  int32_t before = probe.Control().standin_total_calls();
  probe.Library().Load(LibraryFileName(u"libcef_probe"), {});
  EXPECT_EQ(probe.Control().standin_total_calls(), before);
  EXPECT_EQ(probe.Control().standin_call_count("cef_initialize"), 1);
}

TEST_F(LoaderTest, WorkCallsReachAnInitialisedRuntime) {
  ProbeRuntime probe;
  probe.Library().DoMessageLoopWork();
  probe.Library().DoMessageLoopWork();
  EXPECT_EQ(probe.Control().standin_call_count("cef_do_message_loop_work"), 2);
}

TEST_F(LoaderTest, ExitStepShutsTheRuntimeDownAndUnloadsIt) {
  // A second handle keeps the module in memory so that its accounts can be read afterwards.
  platform::DynamicLibrary keep = platform::DynamicLibrary::Load(LibraryFileName(u"libcef_probe"));
  ASSERT_TRUE(keep);
  StandinControl standin(keep.Handle());
  {
    ProbeRuntime probe;
    EXPECT_EQ(standin.standin_initialized(), 1);
  }
  EXPECT_EQ(standin.standin_call_count("cef_shutdown"), 1);
  EXPECT_EQ(standin.standin_initialized(), 0);
  EXPECT_EQ(standin.standin_error_count(), 0) << standin.Report();
}

TEST_F(LoaderTest, MissingExportLeavesTheRuntimeUninitialisedForGood) {
  platform::DynamicLibrary keep = platform::DynamicLibrary::Load(LibraryFileName(u"libcef_nozip"));
  ASSERT_TRUE(keep);
  StandinControl standin(keep.Handle());
  {
    cef::CefRuntimeLibrary runtime;
    try {
      runtime.Load(LibraryFileName(u"libcef_nozip"), {});
      FAIL() << "a library without cef_zip_reader_create was accepted";
    } catch (const cef::ECefException& e) {
      EXPECT_EQ(e.Message(), u"Invalid CEF Library version");
    }
    EXPECT_TRUE(runtime.Loaded());
    EXPECT_FALSE(runtime.Initialized());
    EXPECT_NO_THROW(runtime.Load(LibraryFileName(u"libcef_nozip"), {}));
    EXPECT_NO_THROW(runtime.Load(LibraryFileName(u"libcef_probe"), {}));
    runtime.DoMessageLoopWork();
    EXPECT_FALSE(runtime.Initialized());
  }
  // Neither initialised, nor worked, nor shut down.
  EXPECT_EQ(standin.standin_call_count("cef_initialize"), 0);
  EXPECT_EQ(standin.standin_call_count("cef_do_message_loop_work"), 0);
  EXPECT_EQ(standin.standin_call_count("cef_shutdown"), 0);
  EXPECT_EQ(standin.standin_error_count(), 0) << standin.Report();
}

TEST_F(LoaderTest, MissingLibraryRaisesTheSystemErrorAndIsTriedAgain) {
  cef::CefRuntimeLibrary runtime;
  try {
    runtime.Load(LibraryFileName(u"no_such_runtime"), {});
    FAIL() << "a missing library was accepted";
  } catch (const platform::EOSError& e) {
#ifdef _WIN32
    EXPECT_EQ(e.ErrorCode(), 126u);
    EXPECT_EQ(e.Message().rfind(u"System Error.  Code: 126.\r\n", 0), 0u) << e.what();
#else
    EXPECT_NE(e.Message().find(u"no_such_runtime"), std::u16string::npos) << e.what();
#endif
  }
  EXPECT_FALSE(runtime.Loaded());
  EXPECT_EQ(runtime.Handle(), nullptr);

  runtime.Load(LibraryFileName(u"libcef_probe"), {});
  EXPECT_TRUE(runtime.Initialized());
  StandinControl standin(runtime.Handle());
  EXPECT_EQ(standin.standin_call_count("cef_initialize"), 1);
  runtime.Finalize();
}

TEST_F(LoaderTest, LoadingMasksFloatingPointExceptions) {
  // Unmask one harmless exception (denormal operand) so that the load has something to do.
  uint16_t cw = platform::X87ControlWord() & ~uint16_t{0x02};
  __asm__ __volatile__("fldcw %0" : : "m"(cw));
#if defined(__x86_64__)
  uint32_t csr = platform::SseControlStatus() & ~uint32_t{0x100};
  __asm__ __volatile__("ldmxcsr %0" : : "m"(csr));
#endif
  ProbeRuntime probe;
  EXPECT_EQ(platform::X87ControlWord() & platform::kX87ExceptionMask, platform::kX87ExceptionMask);
#if defined(__x86_64__)
  EXPECT_EQ(platform::SseControlStatus() & 0x1F80u, 0x1F80u);
#endif
  volatile double zero = 0.0;
  EXPECT_TRUE(std::isinf(1.0 / zero));
}

}  // namespace
