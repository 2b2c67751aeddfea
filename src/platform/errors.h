#pragma once
// The platform's exceptions: every failure of the program is one of these. Messages are
// UTF-16 text; what() gives them in UTF-8.

#include <cstdint>
#include <exception>
#include <string>

namespace platform {

class Exception : public std::exception {
 public:
  explicit Exception(std::u16string message);
  const std::u16string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  std::u16string message_;
  std::string utf8_;
};

// A call to the operating system failed: "System Error.  Code: %d.\r\n%s".
class EOSError : public Exception {
 public:
  EOSError(uint32_t code, const std::u16string& systemText);
  uint32_t ErrorCode() const noexcept { return code_; }

 private:
  uint32_t code_;
};

// "%s (%s, line %d)" from the assertion text, the source unit and the line.
class EAssertionFailed : public Exception {
 public:
  EAssertionFailed(const std::u16string& text, const std::u16string& unit, int line);
};

// The platform's code and text for the last failed call of this thread.
struct OSErrorInfo {
  uint32_t code;
  std::u16string text;
};
OSErrorInfo LastOSError();
std::u16string SysErrorMessage(uint32_t code);

// The message of any exception, for reports.
std::u16string ExceptionMessage(std::exception_ptr error);

[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseOSError(const OSErrorInfo& error);

}  // namespace platform
