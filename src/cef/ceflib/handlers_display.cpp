// The entries of the display, focus, keyboard and menu handlers, in the runtime's entry order.

#include "cef/ceflib/handler_arguments.h"
#include "cef/ceflib/handlers.h"

namespace cef {

using namespace entry;

TCefDisplayHandlerOwn::TCefDisplayHandlerOwn() {
  using H = TCefDisplayHandlerOwn;
  TCefDisplayHandler* s = Struct();
  s->on_nav_state_change = Entry<&H::OnNavStateChange, Browser, Flag, Flag>;
  s->on_address_change = Entry<&H::OnAddressChange, Browser, Frame, Text>;
  s->on_title_change = Entry<&H::OnTitleChange, Browser, Text>;
  s->on_tooltip = Entry<&H::OnTooltip, Browser, TextCopy<Read, Always>>;
  s->on_status_message = Entry<&H::OnStatusMessage, Browser, Text, Plain<TCefHandlerStatusType>>;
  s->on_console_message = Entry<&H::OnConsoleMessage, Browser, Text, Text, Integer>;
}

TCefFocusHandlerOwn::TCefFocusHandlerOwn() {
  using H = TCefFocusHandlerOwn;
  TCefFocusHandler* s = Struct();
  s->on_take_focus = Entry<&H::OnTakeFocus, Browser, Flag>;
  s->on_set_focus = Entry<&H::OnSetFocus, Browser, Plain<TCefHandlerFocusSource>>;
}

TCefKeyboardHandlerOwn::TCefKeyboardHandlerOwn() {
  Struct()->on_key_event =
      Entry<&TCefKeyboardHandlerOwn::OnKeyEvent, Browser, Plain<TCefHandlerKeyEventType>, Integer, Integer, Flag>;
}

TCefMenuHandlerOwn::TCefMenuHandlerOwn() {
  using H = TCefMenuHandlerOwn;
  TCefMenuHandler* s = Struct();
  s->on_before_menu = Entry<&H::OnBeforeMenu, Browser, Plain<const TCefHandlerMenuInfo*>>;
  s->get_menu_label = Entry<&H::OnGetMenuLabel, Browser, Plain<TCefHandlerMenuId>, TextBack<Always>>;
  s->on_menu_action = Entry<&H::OnMenuAction, Browser, Plain<TCefHandlerMenuId>>;
}

}  // namespace cef
