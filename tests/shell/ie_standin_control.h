#pragma once
// The Internet Explorer stand-in as the portal tests use it: its control interface,
// resolved from the library beside the test program, and its registration as the COM
// server of the shell's window collection and of "InternetExplorer.Application".

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <string>

#include "ie/control.h"

namespace testing_support {

struct IEStandinControl {
#define IESTANDIN_CONTROL_ENTRY(result, name, params) result (*name) params = nullptr;
  IESTANDIN_CONTROL_FUNCTIONS(IESTANDIN_CONTROL_ENTRY)
#undef IESTANDIN_CONTROL_ENTRY

  // The stand-in loaded from beside the test program, by the same path that its
  // registration names, so that COM finds the very module the tests control.
  static IEStandinControl& Get();

  std::u16string Record() const;
  std::u16string Errors() const;
  std::u16string Address(int32_t index) const;
  HWND Window(int32_t index) const { return static_cast<HWND>(iestandin_entry_window(index)); }
  HRESULT RegisterServer() const;
  HRESULT UnregisterServer() const;

 private:
  IEStandinControl();
  HMODULE module_ = nullptr;
};

// COM for the test thread as the application object initialises it for the main thread,
// and the stand-in registered for the whole run of a test program.
class IEStandinEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_EQ(IEStandinControl::Get().RegisterServer(), S_OK);
  }
  void TearDown() override {
    EXPECT_EQ(IEStandinControl::Get().UnregisterServer(), S_OK);
    CoUninitialize();
  }
};

}  // namespace testing_support
