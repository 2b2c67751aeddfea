#pragma once
// The stand-in's runtime state, as tests and the other parts of the stand-in see it.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "standin.h"

namespace standin {

struct CapturedString {
  bool has_str;
  bool has_dtor;
  uint32_t length;
  std::u16string text;
};

// What cef_initialize received, copied while the borrowed strings were valid.
struct CapturedSettings {
  std::vector<uint8_t> bytes;
  std::map<std::string, CapturedString, std::less<>> strings;
  std::vector<std::u16string> plugin_paths;
};

const CapturedSettings& Settings();
bool Initialized();
std::vector<std::pair<std::u16string, std::u16string>> Extensions();
TCefv8Handler* ExtensionHandler(size_t index);
int PendingTasks();
void QuitMessageLoop();
void RunDueTasks();

}  // namespace standin
