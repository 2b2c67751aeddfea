#pragma once
// Script extensions: a named piece of JavaScript registered with the runtime, whose native
// functions call the program's handler.

#include <string>

#include "cef/ceflib/v8_handler.h"

namespace cef {

// Loads the runtime if it is not loaded yet, then registers the extension with one
// reference to handler for the runtime (none when handler is null); answers whether the
// runtime accepted it. The handler is handed over only once the runtime is loaded, so a
// failed load leaves no reference behind.
bool CefRegisterExtension(const std::u16string& name, const std::u16string& code,
                          const Ref<ICefv8Handler>& handler);

}  // namespace cef
