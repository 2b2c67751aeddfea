#include <cerrno>
#include <cstring>

#include "platform/errors.h"
#include "platform/text.h"

namespace platform {

std::u16string SysErrorMessage(uint32_t code) {
  return Utf8ToUtf16(std::strerror(static_cast<int>(code)));
}

OSErrorInfo LastOSError() {
  auto code = static_cast<uint32_t>(errno);
  return {code, SysErrorMessage(code)};
}

}  // namespace platform
