#include "cef/ceflib/v8_context.h"

namespace cef {

using C = TCefv8Context;

Ref<ICefv8Context> TCefv8ContextRef::UnWrap(TCefv8Context* data) { return UnWrapAs<TCefv8ContextRef, ICefv8Context>(data); }

Ref<ICefv8Context> TCefv8ContextRef::Current() { return UnWrap(CEF_API(cef_v8context_get_current_context)()); }
Ref<ICefv8Context> TCefv8ContextRef::Entered() { return UnWrap(CEF_API(cef_v8context_get_entered_context)()); }

Ref<ICefBrowser> TCefv8ContextRef::GetBrowser() { return TCefBrowserRef::UnWrap(Call(&C::get_browser)); }
Ref<ICefFrame> TCefv8ContextRef::GetFrame() { return TCefFrameRef::UnWrap(Call(&C::get_frame)); }
Ref<ICefv8Value> TCefv8ContextRef::GetGlobal() { return TCefv8ValueRef::UnWrap(Call(&C::get_global)); }
bool TCefv8ContextRef::Enter() { return CallBool(&C::enter); }
bool TCefv8ContextRef::Exit() { return CallBool(&C::exit); }

}  // namespace cef
