#pragma once
// The client: the object the runtime asks, per browser, for the handler of each kind.

#include "cef/ceflib/base_own.h"

// The thirteen handler kinds in the client's order, which is also the order of its
// structure's entries, as X(getter, entry), two to a line.
#define CEF_CLIENT_HANDLER_KINDS(X)                                                                    \
  X(GetLifeSpanHandler, get_life_span_handler) X(GetLoadHandler, get_load_handler)                     \
  X(GetRequestHandler, get_request_handler) X(GetDisplayHandler, get_display_handler)                  \
  X(GetFocusHandler, get_focus_handler) X(GetKeyboardHandler, get_keyboard_handler)                    \
  X(GetMenuHandler, get_menu_handler) X(GetPrintHandler, get_print_handler)                            \
  X(GetFindHandler, get_find_handler) X(GetJsdialogHandler, get_jsdialog_handler)                      \
  X(GetJsbindingHandler, get_jsbinding_handler) X(GetRenderHandler, get_render_handler)                \
  X(GetDragHandler, get_drag_handler)

namespace cef {

// Presents the runtime's client structure. Each getter entry asks the getter of its kind
// with a null reference and hands the handler it got to the runtime with one reference, or
// answers null. This base has no handlers: every getter leaves the reference null.
class TCefClientOwn : public TCefBaseOwn {
 public:
  TCefClientOwn();

#define CEF_DECLARE_CLIENT_GETTER(getter, entry) virtual void getter(Ref<ICefBase>& handler);
  CEF_CLIENT_HANDLER_KINDS(CEF_DECLARE_CLIENT_GETTER)
#undef CEF_DECLARE_CLIENT_GETTER
};

}  // namespace cef
