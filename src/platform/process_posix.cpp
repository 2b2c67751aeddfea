#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
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

std::vector<std::u16string> CommandLineArguments() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::u16string> result;
  size_t start = all.find('\0');  // after the program's own path
  while (start != std::string::npos && start + 1 < all.size()) {
    size_t end = all.find('\0', start + 1);
    result.push_back(Utf8ToUtf16(all.substr(start + 1, end - start - 1)));
    start = end;
  }
  return result;
}

}  // namespace platform
