#include <windows.h>

#include "platform/errors.h"
#include "platform/text.h"

namespace platform {

std::u16string SysErrorMessage(uint32_t code) {
  wchar_t buffer[512];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                    FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                nullptr, code, 0, buffer, sizeof buffer / sizeof buffer[0], nullptr);
  // The system ends its texts with a full stop and a line break; the message format adds its own.
  while (length > 0 && (buffer[length - 1] <= L' ' || buffer[length - 1] == L'.')) --length;
  return std::u16string(AsUtf16(buffer), length);
}

OSErrorInfo LastOSError() {
  DWORD code = GetLastError();
  return {code, SysErrorMessage(code)};
}

}  // namespace platform
