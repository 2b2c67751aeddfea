#include "cef/ceflib/browser.h"

namespace cef {

using B = TCefBrowser;

Ref<ICefBrowser> TCefBrowserRef::UnWrap(TCefBrowser* data) { return UnWrapAs<TCefBrowserRef, ICefBrowser>(data); }

void TCefBrowserRef::ParentWindowWillClose() { Call(&B::parent_window_will_close); }
void TCefBrowserRef::CloseBrowser() { Call(&B::close_browser); }
bool TCefBrowserRef::CanGoBack() { return CallBool(&B::can_go_back); }
void TCefBrowserRef::GoBack() { Call(&B::go_back); }
bool TCefBrowserRef::CanGoForward() { return CallBool(&B::can_go_forward); }
void TCefBrowserRef::GoForward() { Call(&B::go_forward); }
void TCefBrowserRef::Reload() { Call(&B::reload); }
void TCefBrowserRef::ReloadIgnoreCache() { Call(&B::reload_ignore_cache); }
void TCefBrowserRef::StopLoad() { Call(&B::stop_load); }
void TCefBrowserRef::SetFocus(bool enable) { Call(&B::set_focus, CefBool(enable)); }
TCefWindowHandle TCefBrowserRef::GetWindowHandle() { return Call(&B::get_window_handle); }
TCefWindowHandle TCefBrowserRef::GetOpenerWindowHandle() { return Call(&B::get_opener_window_handle); }
bool TCefBrowserRef::IsPopup() { return CallBool(&B::is_popup); }
bool TCefBrowserRef::HasDocument() { return CallBool(&B::has_document); }
Ref<ICefBase> TCefBrowserRef::GetClient() { return TCefBaseRef::UnWrap(CefHeader(Call(&B::get_client))); }
Ref<ICefFrame> TCefBrowserRef::GetMainFrame() { return TCefFrameRef::UnWrap(Call(&B::get_main_frame)); }
Ref<ICefFrame> TCefBrowserRef::GetFocusedFrame() { return TCefFrameRef::UnWrap(Call(&B::get_focused_frame)); }
Ref<ICefFrame> TCefBrowserRef::GetFrame(const std::u16string& name) {
  return TCefFrameRef::UnWrap(Call(&B::get_frame, CefStringArg(name)));
}

void TCefBrowserRef::GetFrameNames(std::vector<std::u16string>& names) {
  CefStringListRead([&](TCefStringList list) { Call(&B::get_frame_names, list); }, names);
}

// The runtime takes the identifier first.
void TCefBrowserRef::Find(const std::u16string& searchText, bool identifier, bool forward, bool matchCase,
                          bool findNext) {
  Call(&B::find, CefBool(identifier), CefStringArg(searchText), CefBool(forward), CefBool(matchCase),
       CefBool(findNext));
}

void TCefBrowserRef::StopFinding(bool clearSelection) { Call(&B::stop_finding, CefBool(clearSelection)); }
double TCefBrowserRef::GetZoomLevel() { return Call(&B::get_zoom_level); }
void TCefBrowserRef::SetZoomLevel(double zoomLevel) { Call(&B::set_zoom_level, zoomLevel); }
void TCefBrowserRef::ClearHistory() { Call(&B::clear_history); }
void TCefBrowserRef::ShowDevTools() { Call(&B::show_dev_tools); }
void TCefBrowserRef::CloseDevTools() { Call(&B::close_dev_tools); }
bool TCefBrowserRef::IsWindowRenderingDisabled() { return CallBool(&B::is_window_rendering_disabled); }
bool TCefBrowserRef::GetSize(int32_t type, int32_t& width, int32_t& height) {
  return CallBool(&B::get_size, type, &width, &height);
}
void TCefBrowserRef::SetSize(int32_t type, int32_t width, int32_t height) { Call(&B::set_size, type, width, height); }
bool TCefBrowserRef::IsPopupVisible() { return CallBool(&B::is_popup_visible); }
void TCefBrowserRef::HidePopup() { Call(&B::hide_popup); }
void TCefBrowserRef::Invalidate(const TCefRect* dirtyRect) { Call(&B::invalidate, dirtyRect); }
bool TCefBrowserRef::GetImage(int32_t type, int32_t width, int32_t height, void* buffer) {
  return CallBool(&B::get_image, type, width, height, buffer);
}
void TCefBrowserRef::SendKeyEvent(int32_t type, int32_t key, int32_t modifiers, bool sysChar, bool imeChar) {
  Call(&B::send_key_event, type, key, modifiers, CefBool(sysChar), CefBool(imeChar));
}
void TCefBrowserRef::SendMouseClickEvent(int32_t x, int32_t y, int32_t type, bool mouseUp, int32_t clickCount) {
  Call(&B::send_mouse_click_event, x, y, type, CefBool(mouseUp), clickCount);
}
void TCefBrowserRef::SendMouseMoveEvent(int32_t x, int32_t y, bool mouseLeave) {
  Call(&B::send_mouse_move_event, x, y, CefBool(mouseLeave));
}
void TCefBrowserRef::SendMouseWheelEvent(int32_t x, int32_t y, int32_t delta) {
  Call(&B::send_mouse_wheel_event, x, y, delta);
}
void TCefBrowserRef::SendFocusEvent(bool setFocus) { Call(&B::send_focus_event, CefBool(setFocus)); }
void TCefBrowserRef::SendCaptureLostEvent() { Call(&B::send_capture_lost_event); }

Ref<ICefBrowser> CefBrowserCreateSync(TCefWindowInfo* windowInfo, const Ref<ICefBase>& client,
                                      const std::u16string& url, const TCefBrowserSettings* settings) {
  CefLoadLibDefault();
  auto create = CEF_API(cef_browser_create_sync);
  return TCefBrowserRef::UnWrap(create(windowInfo, CefWrapAs<TCefClient>(client), CefStringArg(url), settings));
}

}  // namespace cef
