#include "cef/ceflib/extension.h"

namespace cef {

bool CefRegisterExtension(const std::u16string& name, const std::u16string& code,
                          const Ref<ICefv8Handler>& handler) {
  CefLoadLibDefault();
  auto registerExtension = CEF_API(cef_register_extension);
  return registerExtension(CefStringArg(name), CefStringArg(code), CefWrapAs(handler)) != 0;
}

}  // namespace cef
