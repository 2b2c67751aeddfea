#pragma once

#include <string>

namespace platform {

// The folder of the running executable, with its trailing path separator; taken from the
// executable's own path, whatever the current folder is.
std::u16string ExecutableFolder();

// An environment variable's value, empty when it is not set.
std::u16string EnvironmentVariable(const std::u16string& name);

}  // namespace platform
