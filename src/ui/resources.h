#pragma once
// RCDATA resources of the program's executable.

#include <string>
#include <string_view>

namespace ui {

// The bytes of an RCDATA resource; raises when there is none of that name.
std::string_view LoadResourceBytes(const std::u16string& name);
inline std::string_view LoadResourceText(const std::u16string& name) { return LoadResourceBytes(name); }

}  // namespace ui
