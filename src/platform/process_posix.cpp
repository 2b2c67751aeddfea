#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/errors.h"
#include "platform/process.h"
#include "platform/text.h"

namespace platform {

std::u16string ExecutableFolder() {
  std::vector<char> path(4096);
  ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (n < 0) RaiseLastOSError();
  std::string full(path.data(), static_cast<size_t>(n));
  return Utf8ToUtf16(full.substr(0, full.rfind('/') + 1));
}

std::u16string EnvironmentVariable(const std::u16string& name) {
  const char* value = std::getenv(Utf16ToUtf8(name).c_str());
  return value ? Utf8ToUtf16(value) : std::u16string();
}

}  // namespace platform
