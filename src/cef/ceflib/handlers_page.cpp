// The entries of the print, find, script dialog, script binding, render and drag handlers,
// in the runtime's entry order.

#include "cef/ceflib/handler_arguments.h"
#include "cef/ceflib/handlers.h"

namespace cef {

using namespace entry;

TCefPrintHandlerOwn::TCefPrintHandlerOwn() {
  using H = TCefPrintHandlerOwn;
  using Margin = TextCopy<Blank, OnFalse>;
  TCefPrintHandler* s = Struct();
  s->get_print_options = Entry<&H::OnPrintOptions, Browser, Plain<TCefPrintOptions*>>;
  s->get_print_header_footer = Entry<&H::OnPrintHeaderFooter, Browser, Frame, Plain<const TCefPrintInfo*>, Text, Text,
                                     Integer, Integer, Margin, Margin, Margin, Margin, Margin, Margin>;
}

TCefFindHandlerOwn::TCefFindHandlerOwn() {
  Struct()->on_find_result = Entry<&TCefFindHandlerOwn::FindResultInRuntimeOrder, Browser, Flag, Integer,
                                   Plain<const TCefRect*>, Flag, Flag>;
}

void TCefFindHandlerOwn::FindResultInRuntimeOrder(const Ref<ICefBrowser>& browser, bool identifier, int32_t count,
                                                  const TCefRect* selectionRect, bool activeMatchOrdinal,
                                                  bool finalUpdate) {
  OnFindResult(browser, count, selectionRect, identifier, activeMatchOrdinal, finalUpdate);
}

TCefJsDialogHandlerOwn::TCefJsDialogHandlerOwn() {
  using H = TCefJsDialogHandlerOwn;
  TCefJsDialogHandler* s = Struct();
  s->on_jsalert = Entry<&H::OnJsAlert, Browser, Frame, Text>;
  s->on_jsconfirm = Entry<&H::OnJsConfirm, Browser, Frame, Text, FlagBack<OnTrue>>;
  s->on_jsprompt = Entry<&H::OnJsPrompt, Browser, Frame, Text, Text, FlagBack<OnTrue>, TextCopy<Blank, OnTrue>>;
}

TCefJsBindingHandlerOwn::TCefJsBindingHandlerOwn() {
  Struct()->on_jsbinding = Entry<&TCefJsBindingHandlerOwn::OnJsBinding, Browser, Frame, ScriptValue>;
}

TCefRenderHandlerOwn::TCefRenderHandlerOwn() {
  using H = TCefRenderHandlerOwn;
  TCefRenderHandler* s = Struct();
  s->get_view_rect = Entry<&H::GetViewRect, Browser, Plain<TCefRect*>>;
  s->get_screen_rect = Entry<&H::GetScreenRect, Browser, Plain<TCefRect*>>;
  s->get_screen_point = Entry<&H::GetScreenPoint, Browser, Integer, Integer, Plain<int32_t*>, Plain<int32_t*>>;
  s->on_popup_show = Entry<&H::OnPopupShow, Browser, Flag>;
  s->on_popup_size = Entry<&H::OnPopupSize, Browser, Plain<const TCefRect*>>;
  s->on_paint = Entry<&H::OnPaint, Browser, Integer, Plain<const TCefRect*>, Plain<const void*>>;
  s->on_cursor_change = Entry<&H::OnCursorChange, Browser, Plain<TCefCursorHandle>>;
}

TCefDragHandlerOwn::TCefDragHandlerOwn() {
  using H = TCefDragHandlerOwn;
  TCefDragHandler* s = Struct();
  s->on_drag_start = Entry<&H::OnDragStart, Browser, DragData, Integer>;
  s->on_drag_enter = Entry<&H::OnDragEnter, Browser, DragData, Integer>;
}

}  // namespace cef
