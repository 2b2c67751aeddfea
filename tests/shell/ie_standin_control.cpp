#include "shell/ie_standin_control.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/process.h"
#include "platform/text.h"
#include "support/standin_control.h"

namespace testing_support {

IEStandinControl::IEStandinControl() {
  const std::u16string path = platform::ExecutableFolder() + u"IEStandin.dll";
  module_ = LoadLibraryW(platform::AsWide(path));
  if (!module_) throw std::runtime_error("IEStandin.dll could not be loaded beside the test program");
#define IESTANDIN_CONTROL_RESOLVE(result, name, params)                                  \
  name = reinterpret_cast<result(*) params>(reinterpret_cast<void*>(GetProcAddress(module_, #name))); \
  if (!name) throw std::runtime_error("IEStandin.dll does not export " #name);
  IESTANDIN_CONTROL_FUNCTIONS(IESTANDIN_CONTROL_RESOLVE)
#undef IESTANDIN_CONTROL_RESOLVE
}

// The library stays loaded for the life of the test program: its windows run its code.
IEStandinControl& IEStandinControl::Get() {
  static IEStandinControl control;
  return control;
}

std::u16string IEStandinControl::Record() const {
  return ControlText([this](char16_t* buffer, int32_t size) { return iestandin_record(buffer, size); });
}

std::u16string IEStandinControl::Errors() const {
  return ControlText([this](char16_t* buffer, int32_t size) { return iestandin_errors(buffer, size); });
}

std::u16string IEStandinControl::Address(int32_t index) const {
  return ControlText([this, index](char16_t* buffer, int32_t size) { return iestandin_entry_address(index, buffer, size); });
}

HRESULT IEStandinControl::RegisterServer() const {
  using Entry = HRESULT(STDAPICALLTYPE*)();
  auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module_, "DllRegisterServer")));
  return entry ? entry() : E_NOTIMPL;
}

HRESULT IEStandinControl::UnregisterServer() const {
  using Entry = HRESULT(STDAPICALLTYPE*)();
  auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module_, "DllUnregisterServer")));
  return entry ? entry() : E_NOTIMPL;
}

}  // namespace testing_support
