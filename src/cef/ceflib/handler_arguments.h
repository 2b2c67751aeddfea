#pragma once
// The runtime's object arguments of the handler entries, and the words their tables use.

#include "cef/ceflib/browser.h"
#include "cef/ceflib/drag_data.h"
#include "cef/ceflib/handler_entry.h"
#include "cef/ceflib/request.h"
#include "cef/ceflib/v8_value.h"

namespace cef::entry {

using enum When;
using enum Start;

using Browser = Object<TCefBrowserRef>;
using Frame = Object<TCefFrameRef>;
using Request = Object<TCefRequestRef>;
using Response = Object<TCefResponseRef>;
using ScriptValue = Object<TCefv8ValueRef>;
using DragData = Object<TCefDragDataRef>;
using Integer = Plain<int32_t>;

}  // namespace cef::entry
