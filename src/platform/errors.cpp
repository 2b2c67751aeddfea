#include "platform/errors.h"

#include "platform/text.h"

namespace platform {

Exception::Exception(std::u16string message)
    : message_(std::move(message)), utf8_(Utf16ToUtf8(message_)) {}

namespace {
std::u16string OSErrorMessage(uint32_t code, const std::u16string& systemText) {
  if (code == 0) return u"A call to an OS function failed";
  // The code is printed as a signed 32-bit number (%d): 0x80070005 reads -2147024891.
  return u"System Error.  Code: " + IntToText(static_cast<int32_t>(code)) + u".\r\n" + systemText;
}
}  // namespace

EOSError::EOSError(uint32_t code, const std::u16string& systemText)
    : Exception(OSErrorMessage(code, systemText)), code_(code) {}

EAssertionFailed::EAssertionFailed(const std::u16string& text, const std::u16string& unit, int line)
    : Exception(text + u" (" + unit + u", line " + IntToText(line) + u")") {}

std::u16string ExceptionMessage(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return Utf8ToUtf16(e.what());
  } catch (...) {
    return u"Unknown exception";
  }
}

void RaiseLastOSError() { RaiseOSError(LastOSError()); }

void RaiseOSError(const OSErrorInfo& error) { throw EOSError(error.code, error.text); }

}  // namespace platform
