#pragma once
// The runtime stand-in's test control interface, resolved from a loaded stand-in, and the
// fixture every test that talks to the runtime derives from.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cef/control.h"

namespace testing_support {

struct StandinControl {
#define STANDIN_CONTROL_ENTRY(result, name, params) result (*name) params = nullptr;
  STANDIN_CONTROL_FUNCTIONS(STANDIN_CONTROL_ENTRY)
#undef STANDIN_CONTROL_ENTRY

  // Resolves every control function from a loaded stand-in; fails the test if one is missing.
  explicit StandinControl(void* libraryHandle);

  std::string Report() const;
  // The text of a settings string; *isNull tells whether its str was null, *hasDtor whether it had one.
  std::u16string SettingsString(const char* field, bool* isNull = nullptr, bool* hasDtor = nullptr) const;
  std::vector<std::u16string> PluginPaths() const;
  std::vector<uint8_t> SettingsRecord() const;
};

// A text that a control function answers through a (buffer, size) query: the query answers
// the whole length, -1 when there is none ("(none)" here), and copies what fits.
template <class Query>
std::u16string ControlText(Query query) {
  int32_t length = query(nullptr, 0);
  if (length < 0) return u"(none)";
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  query(text.data(), static_cast<int32_t>(text.size()));
  text.resize(static_cast<size_t>(length));
  return text;
}

// The control of the program's runtime, loading it with the default settings first.
const StandinControl& ProgramStandin();

// Fails the test when the program's runtime (if loaded) has live objects or has found
// problems since the test began; a test must let go of everything it took.
class StandinTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace testing_support

#include <memory>

#include "cef/ceflib/loader.h"

namespace testing_support {

// The platform's file name of a library: "name.dll" on Windows, "name.so" elsewhere.
std::u16string LibraryFileName(const std::u16string& name);

// A runtime of the test's own, loaded from a copy of the stand-in under another name, so
// that it starts fresh and is unloaded again at the end, beside the program's runtime.
class ProbeRuntime {
 public:
  explicit ProbeRuntime(const cef::CefRuntimeSettings& settings = {}, const std::u16string& name = u"libcef_probe");
  ~ProbeRuntime();

  cef::CefRuntimeLibrary& Library() { return library_; }
  const cef::CefExports& Api() const { return library_.Exports(); }
  const StandinControl& Control() const { return *control_; }

 private:
  cef::CefRuntimeLibrary library_;
  std::unique_ptr<StandinControl> control_;
};

}  // namespace testing_support
