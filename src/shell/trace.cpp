#include "shell/trace.h"

#include "platform/process.h"
#include "platform/stream.h"

namespace shell {

void Trace(const std::string& line) noexcept {
  try {
    static const std::u16string path = platform::EnvironmentVariable(u"QVN_TRACE");
    if (path.empty()) return;
    platform::FileHandle file = platform::file_io::OpenForAppend(path);
    if (!file) return;
    std::string text = line + "\n";
    platform::file_io::Write(file.get(), text.data(), static_cast<int32_t>(text.size()));
  } catch (...) {
  }
}

}  // namespace shell
