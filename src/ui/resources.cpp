#include "ui/resources.h"

#include <windows.h>

#include "platform/errors.h"
#include "platform/text.h"

namespace ui {

std::string_view LoadResourceBytes(const std::u16string& name) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, platform::AsWide(name), reinterpret_cast<LPCWSTR>(RT_RCDATA));
  HGLOBAL data = info ? LoadResource(module, info) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) throw platform::Exception(u"Resource " + name + u" not found");
  return {static_cast<const char*>(bytes), SizeofResource(module, info)};
}

}  // namespace ui
