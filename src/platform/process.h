#pragma once

#include <string>
#include <vector>

namespace platform {

// The folder of the running executable, with its trailing path separator; taken from the
// executable's own path, whatever the current folder is.
std::u16string ExecutableFolder();

// An environment variable's value, empty when it is not set.
std::u16string EnvironmentVariable(const std::u16string& name);

// The process's command-line arguments after the program's own path, split by the
// system's usual rules (quotes group blanks; "" is an empty argument).
std::vector<std::u16string> CommandLineArguments();

}  // namespace platform
