#include "support/standin_control.h"

#include "cef/ceflib/loader.h"
#include "platform/dynamic_library.h"

namespace testing_support {

StandinControl::StandinControl(void* libraryHandle) {
#define STANDIN_CONTROL_RESOLVE(result, name, params)                                        \
  name = reinterpret_cast<decltype(name)>(platform::DynamicLibrary::SymbolIn(libraryHandle, #name)); \
  EXPECT_NE(name, nullptr) << #name " is not exported";
  STANDIN_CONTROL_FUNCTIONS(STANDIN_CONTROL_RESOLVE)
#undef STANDIN_CONTROL_RESOLVE
}

std::string StandinControl::Report() const {
  std::string text(static_cast<size_t>(standin_report(nullptr, 0)) + 1, '\0');
  text.resize(static_cast<size_t>(standin_report(text.data(), static_cast<int32_t>(text.size()))));
  return text;
}

std::u16string StandinControl::SettingsString(const char* field, bool* isNull, bool* hasDtor) const {
  int32_t flags = 0;
  int32_t length = standin_settings_string(field, nullptr, 0, &flags);
  if (isNull) *isNull = length == -1;
  if (hasDtor) *hasDtor = flags != 0;
  if (length < 0) return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  standin_settings_string(field, text.data(), static_cast<int32_t>(text.size()), &flags);
  text.resize(static_cast<size_t>(length));
  return text;
}

std::vector<std::u16string> StandinControl::PluginPaths() const {
  std::vector<std::u16string> paths;
  for (int32_t i = 0, n = standin_plugin_path_count(); i < n; ++i) {
    std::u16string text(static_cast<size_t>(standin_plugin_path(i, nullptr, 0)) + 1, u'\0');
    text.resize(static_cast<size_t>(standin_plugin_path(i, text.data(), static_cast<int32_t>(text.size()))));
    paths.push_back(text);
  }
  return paths;
}

std::vector<uint8_t> StandinControl::SettingsRecord() const {
  std::vector<uint8_t> bytes(static_cast<size_t>(standin_settings_record(nullptr, 0)));
  standin_settings_record(bytes.data(), static_cast<int32_t>(bytes.size()));
  return bytes;
}

const StandinControl& ProgramStandin() {
  cef::CefLoadLibDefault();
  static StandinControl control(cef::CefLibHandle());
  return control;
}

namespace {
int g_errors_before = 0;
}

void StandinTest::SetUp() {
  g_errors_before = cef::CefLibHandle() ? ProgramStandin().standin_error_count() : 0;
}

void StandinTest::TearDown() {
  if (!cef::CefLibHandle()) return;
  const StandinControl& standin = ProgramStandin();
  EXPECT_EQ(standin.standin_live_objects(nullptr), 0) << standin.Report();
  EXPECT_EQ(standin.standin_error_count(), g_errors_before) << standin.Report();
}

}  // namespace testing_support

namespace testing_support {

std::u16string LibraryFileName(const std::u16string& name) {
#ifdef _WIN32
  return name + u".dll";
#else
  return name + u".so";
#endif
}

ProbeRuntime::ProbeRuntime(const cef::CefRuntimeSettings& settings, const std::u16string& name) {
  library_.Load(LibraryFileName(name), settings);
  control_ = std::make_unique<StandinControl>(library_.Handle());
}

ProbeRuntime::~ProbeRuntime() {
  // A probe must end as clean as the program's runtime.
  EXPECT_EQ(control_->standin_live_objects(nullptr), 0) << control_->Report();
  EXPECT_EQ(control_->standin_error_count(), 0) << control_->Report();
  library_.Finalize();
}

}  // namespace testing_support
