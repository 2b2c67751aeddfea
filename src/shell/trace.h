#pragma once
// Start-up and shutdown leave a line each in the file that QVN_TRACE names, when it is
// set; tests read the order from it. Without the variable nothing is written.

#include <string>

namespace shell {

void Trace(const std::string& line) noexcept;

}  // namespace shell
