#pragma once
// The Internet Explorer stand-in as the portal tests use it: its control interface,
// resolved from the library beside the test program, and its registration as the COM
// server of the shell's window collection and of "InternetExplorer.Application".

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

}  // namespace testing_support
