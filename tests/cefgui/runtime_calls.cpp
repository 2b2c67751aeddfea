// One call of every entry of every handler kind, with the arguments the runtime passes.

#include <type_traits>

#include "runtime_side.h"

namespace dispatch_tests {
namespace {

// Calls the member of the kind's structure; an entry without an answer gives 0.
template <class S, class F, class... A>
TCefBool Call(const RuntimeHandlers& handlers, F S::*member, A... args) {
  S* self = handlers.Get<S>();
  if constexpr (std::is_void_v<decltype((self->*member)(self, args...))>) {
    (self->*member)(self, args...);
    return 0;
  } else {
    return (self->*member)(self, args...);
  }
}

template <class S>
S* Hand(S* object) {
  return RuntimeArgs::Hand(object);
}

using H = const RuntimeHandlers&;
using A = RuntimeArgs&;
using LifeSpan = TCefLifeSpanHandler;
using Load = TCefLoadHandler;
using Request = TCefRequestHandler;
using Display = TCefDisplayHandler;
using Menu = TCefMenuHandler;
using Print = TCefPrintHandler;
using Dialogs = TCefJsDialogHandler;
using Render = TCefRenderHandler;
using Drag = TCefDragHandler;

constexpr int64_t kFiveGigabytes = int64_t{5} << 30;
const TCefCursorHandle kCursor = reinterpret_cast<TCefCursorHandle>(uintptr_t{0x1234});

// Each entry: the member of the kind's structure, the operation it reaches, whether the
// runtime takes an answer, and the arguments after the structure pointer.
#define ENTRY(member, operation, answers, Kind, ...) \
  { #member, operation, answers, [](H h, A a) { return Call(h, &Kind::member, __VA_ARGS__); } }

const std::vector<EntryCall> kEntries = {
    ENTRY(on_before_popup, "doOnBeforePopup", true, LifeSpan,
          a.Browser(), &a.features, &a.window, a.url.get(), &a.clientSlot, &a.settings),
    ENTRY(on_after_created, "doOnAfterCreated", false, LifeSpan, a.Browser()),
    ENTRY(run_modal, "doOnRunModal", true, LifeSpan, a.Browser()),
    ENTRY(do_close, "doOnClose", true, LifeSpan, a.Browser()),
    ENTRY(on_before_close, "doOnBeforeClose", false, LifeSpan, a.Browser()),
    ENTRY(on_load_start, "doOnLoadStart", false, Load, a.Browser(), a.Frame()),
    ENTRY(on_load_end, "doOnLoadEnd", false, Load, a.Browser(), a.Frame(), 200),
    ENTRY(on_load_error, "doOnLoadError", true, Load, a.Browser(), a.Frame(), -105, a.words.get(), a.errorText.get()),
    ENTRY(on_before_browse, "doOnBeforeBrowse", true, Request,
          a.Browser(), a.Frame(), Hand(a.request), NAVTYPE_FORMSUBMITTED, 1),
    ENTRY(on_before_resource_load, "doOnBeforeResourceLoad", true, Request,
          a.Browser(), Hand(a.request), a.redirectUrl.get(), &a.streamSlot, Hand(a.response), 0x40),
    ENTRY(on_resource_response, "doOnResourceResponse", false, Request,
          a.Browser(), a.words.get(), Hand(a.response), &a.filterSlot),
    ENTRY(on_protocol_execution, "doOnProtocolExecution", true, Request, a.Browser(), a.words.get(), &a.allow),
    ENTRY(get_download_handler, "doOnGetDownloadHandler", true, Request,
          a.Browser(), a.words.get(), a.words.get(), kFiveGigabytes, &a.downloadSlot),
    ENTRY(get_auth_credentials, "doOnAuthCredentials", true, Request,
          a.Browser(), 1, a.words.get(), 8080, a.words.get(), a.words.get(), a.username.get(), a.password.get()),
    ENTRY(on_nav_state_change, "doOnNavStateChange", false, Display, a.Browser(), 1, 0),
    ENTRY(on_address_change, "doOnAddressChange", false, Display, a.Browser(), a.Frame(), a.words.get()),
    ENTRY(on_title_change, "doOnTitleChange", false, Display, a.Browser(), a.words.get()),
    ENTRY(on_tooltip, "doOnTooltip", true, Display, a.Browser(), a.tooltip.get()),
    ENTRY(on_status_message, "doOnStatusMessage", false, Display, a.Browser(), a.words.get(), STATUSTYPE_MOUSEOVER_URL),
    ENTRY(on_console_message, "doOnConsoleMessage", true, Display, a.Browser(), a.words.get(), a.words.get(), 12),
    ENTRY(on_take_focus, "doOnTakeFocus", false, TCefFocusHandler, a.Browser(), 1),
    ENTRY(on_set_focus, "doOnSetFocus", true, TCefFocusHandler, a.Browser(), FOCUS_SOURCE_SYSTEM),
    ENTRY(on_key_event, "doOnKeyEvent", true, TCefKeyboardHandler, a.Browser(), KEYEVENT_CHAR, 65, 2, 0),
    ENTRY(on_before_menu, "doOnBeforeMenu", true, Menu, a.Browser(), &a.menuInfo),
    ENTRY(get_menu_label, "doOnGetMenuLabel", false, Menu, a.Browser(), 3, a.label.get()),
    ENTRY(on_menu_action, "doOnMenuAction", true, Menu, a.Browser(), 3),
    ENTRY(get_print_options, "doOnPrintOptions", true, Print, a.Browser(), &a.printOptions),
    ENTRY(get_print_header_footer, "doOnPrintHeaderFooter", true, Print,
          a.Browser(), a.Frame(), &a.printInfo, a.words.get(), a.words.get(), 1, 3, &a.margins[0], &a.margins[1],
          &a.margins[2], &a.margins[3], &a.margins[4], &a.margins[5]),
    ENTRY(on_find_result, "doOnFindResult", false, TCefFindHandler, a.Browser(), 7, 5, &a.rect, 3, 1),
    ENTRY(on_jsalert, "doOnJsAlert", true, Dialogs, a.Browser(), a.Frame(), a.words.get()),
    ENTRY(on_jsconfirm, "doOnJsConfirm", true, Dialogs, a.Browser(), a.Frame(), a.words.get(), &a.retval),
    ENTRY(on_jsprompt, "doOnJsPrompt", true, Dialogs,
          a.Browser(), a.Frame(), a.words.get(), a.words.get(), &a.retval, &a.promptResult),
    ENTRY(on_jsbinding, "doOnJsBinding", false, TCefJsBindingHandler, a.Browser(), a.Frame(), a.value.Hand()),
    ENTRY(get_view_rect, "doOnGetViewRect", true, Render, a.Browser(), &a.rect),
    ENTRY(get_screen_rect, "doOnGetScreenRect", true, Render, a.Browser(), &a.rect),
    ENTRY(get_screen_point, "doOnGetScreenPoint", true, Render, a.Browser(), 10, 20, &a.screenX, &a.screenY),
    ENTRY(on_popup_show, "doOnPopupShow", false, Render, a.Browser(), 1),
    ENTRY(on_popup_size, "doOnPopupSize", false, Render, a.Browser(), &a.rect),
    ENTRY(on_paint, "doOnPaint", false, Render, a.Browser(), 1, &a.rect, static_cast<const void*>(&a.screenX)),
    ENTRY(on_cursor_change, "doOnCursorChange", false, Render, a.Browser(), kCursor),
    ENTRY(on_drag_start, "doOnDragStart", true, Drag, a.Browser(), Hand(a.dragData), 1),
    ENTRY(on_drag_enter, "doOnDragEnter", true, Drag, a.Browser(), Hand(a.dragData), 17),
};
#undef ENTRY

}  // namespace

const std::vector<EntryCall>& EveryEntry() { return kEntries; }

}  // namespace dispatch_tests
