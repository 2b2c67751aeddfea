// The browser's members as the program calls them. A closed browser answers neutral
// values; the object itself lives on while the program holds references to it.

#include "browser_events.h"
#include "browsers.h"

namespace standin {
namespace {

// The open browser behind a member call; null when the call is to fail, the pointer is no
// browser or the browser is closed.
Browser* Open(TCefBrowser* self, const char* member) {
  if (Enter(member)) return nullptr;
  Browser* browser = Self<Browser>(self, member);
  return browser && !browser->closed() ? browser : nullptr;
}

// Loads the history entry at index again, as a navigation of that kind.
void Revisit(Browser& browser, int index, NavigationKind kind) {
  if (const HistoryEntry* entry = browser.history.At(index))
    StartLoad(browser.main_frame(), entry->params, kind, index);
}

void Find(Browser& b, TCefBool identifier, const TCefString* text, TCefBool forward, TCefBool matchCase,
          TCefBool findNext) {
  FindRecord& f = b.find;
  ++f.calls;
  f.identifier = identifier;
  f.text = Read(text);
  f.forward = forward != 0;
  f.match_case = matchCase != 0;
  f.find_next = findNext != 0;
  f.active = true;
  f.matches = 0;
  for (const ObjRef<Frame>& frame : b.Frames()) f.matches += CountMatches(frame->page.text, f.text, f.match_case);
  events::FindCounted(b, identifier, f.matches);
}

void InstallLifeMembers(TCefBrowser& w) {
  w.parent_window_will_close = [](TCefBrowser* self) CEF_CALLBACK {
    if (Browser* b = Open(self, "browser.parent_window_will_close")) ++b->counters.parent_window_will_close;
  };
  // The client may take the close over; the browser then stays open until its window goes.
  w.close_browser = [](TCefBrowser* self) CEF_CALLBACK {
    if (Browser* b = Open(self, "browser.close_browser")) CloseAsAsked(*b);
  };
  w.get_window_handle = [](TCefBrowser* self) CEF_CALLBACK -> TCefWindowHandle {
    Browser* b = Open(self, "browser.get_window_handle");
    return b ? b->window() : nullptr;
  };
  // Only pop-ups have an opener.
  w.get_opener_window_handle = [](TCefBrowser* self) CEF_CALLBACK -> TCefWindowHandle {
    Browser* b = Open(self, "browser.get_opener_window_handle");
    return b ? b->opener_window : nullptr;
  };
  w.is_popup = [](TCefBrowser* self) CEF_CALLBACK -> TCefBool {
    Browser* b = Open(self, "browser.is_popup");
    return b && b->popup ? 1 : 0;
  };
  w.get_client = [](TCefBrowser* self) CEF_CALLBACK -> TCefClient* {
    Browser* b = Open(self, "browser.get_client");
    return b ? b->client.Hand<TCefClient>() : nullptr;
  };
  w.set_focus = [](TCefBrowser* self, TCefBool enable) CEF_CALLBACK {
    Browser* b = Open(self, "browser.set_focus");
    if (!b) return;
    b->focused = enable != 0;
    if (b->focused) FocusBrowserWindow(b->window());
  };
  w.show_dev_tools = [](TCefBrowser* self) CEF_CALLBACK {
    Browser* b = Open(self, "browser.show_dev_tools");
    if (!b) return;
    ++b->counters.dev_tools_shown;
    // A browser made with the developer tools disabled never opens them.
    if (!b->settings.Record().developer_tools_disabled) b->dev_tools_open = true;
  };
  w.close_dev_tools = [](TCefBrowser* self) CEF_CALLBACK {
    Browser* b = Open(self, "browser.close_dev_tools");
    if (!b) return;
    ++b->counters.dev_tools_closed;
    b->dev_tools_open = false;
  };
}

void InstallNavigationMembers(TCefBrowser& w) {
  w.can_go_back = [](TCefBrowser* self) CEF_CALLBACK -> TCefBool {
    Browser* b = Open(self, "browser.can_go_back");
    return b && b->history.CanGoBack() ? 1 : 0;
  };
  w.go_back = [](TCefBrowser* self) CEF_CALLBACK {
    Browser* b = Open(self, "browser.go_back");
    if (b && b->history.CanGoBack()) Revisit(*b, b->history.index() - 1, NavigationKind::BackForward);
  };
  w.can_go_forward = [](TCefBrowser* self) CEF_CALLBACK -> TCefBool {
    Browser* b = Open(self, "browser.can_go_forward");
    return b && b->history.CanGoForward() ? 1 : 0;
  };
  w.go_forward = [](TCefBrowser* self) CEF_CALLBACK {
    Browser* b = Open(self, "browser.go_forward");
    if (b && b->history.CanGoForward()) Revisit(*b, b->history.index() + 1, NavigationKind::BackForward);
  };
  // Nothing is cached, so both reloads ask the network again.
  w.reload = [](TCefBrowser* self) CEF_CALLBACK {
    if (Browser* b = Open(self, "browser.reload")) Revisit(*b, b->history.index(), NavigationKind::Reload);
  };
  w.reload_ignore_cache = [](TCefBrowser* self) CEF_CALLBACK {
    if (Browser* b = Open(self, "browser.reload_ignore_cache"))
      Revisit(*b, b->history.index(), NavigationKind::Reload);
  };
  w.stop_load = [](TCefBrowser* self) CEF_CALLBACK {
    Browser* b = Open(self, "browser.stop_load");
    if (!b) return;
    for (const ObjRef<Frame>& f : b->Frames()) {
      if (!f->pending) continue;
      std::u16string url = f->pending->params.url;
      CancelLoad(*f.get());
      ReportLoadError(*b, *f.get(), kErrorAborted, u"The load was stopped.", url);
    }
  };
  w.clear_history = [](TCefBrowser* self) CEF_CALLBACK {
    Browser* b = Open(self, "browser.clear_history");
    if (!b) return;
    b->history.Clear();
    events::NavigationStateChanged(*b);
  };
}

void InstallFrameMembers(TCefBrowser& w) {
  w.has_document = [](TCefBrowser* self) CEF_CALLBACK -> TCefBool {
    Browser* b = Open(self, "browser.has_document");
    return b && b->main_frame().committed ? 1 : 0;
  };
  w.get_main_frame = [](TCefBrowser* self) CEF_CALLBACK -> TCefFrame* {
    Browser* b = Open(self, "browser.get_main_frame");
    return b ? b->main_frame().Hand<TCefFrame>() : nullptr;
  };
  w.get_focused_frame = [](TCefBrowser* self) CEF_CALLBACK -> TCefFrame* {
    Browser* b = Open(self, "browser.get_focused_frame");
    return b ? b->focused_frame()->Hand<TCefFrame>() : nullptr;
  };
  w.get_frame = [](TCefBrowser* self, const TCefString* name) CEF_CALLBACK -> TCefFrame* {
    Browser* b = Open(self, "browser.get_frame");
    Frame* f = b ? b->FrameNamed(Read(name)) : nullptr;
    return f ? f->Hand<TCefFrame>() : nullptr;
  };
  w.get_frame_names = [](TCefBrowser* self, TCefStringList names) CEF_CALLBACK {
    Browser* b = Open(self, "browser.get_frame_names");
    if (!b) return;
    for (const ObjRef<Frame>& f : b->sub_frames()) ListAppend(names, f->name());
  };
  w.find = [](TCefBrowser* self, TCefBool identifier, const TCefString* text, TCefBool forward,
              TCefBool matchCase, TCefBool findNext) CEF_CALLBACK {
    if (Browser* b = Open(self, "browser.find")) Find(*b, identifier, text, forward, matchCase, findNext);
  };
  w.stop_finding = [](TCefBrowser* self, TCefBool) CEF_CALLBACK {
    if (Browser* b = Open(self, "browser.stop_finding")) b->find.active = false;
  };
}

void InstallViewMembers(TCefBrowser& w) {
  w.get_zoom_level = [](TCefBrowser* self) CEF_CALLBACK -> double {
    Browser* b = Open(self, "browser.get_zoom_level");
    return b ? b->zoom : 0.0;
  };
  w.set_zoom_level = [](TCefBrowser* self, double zoomLevel) CEF_CALLBACK {
    Browser* b = Open(self, "browser.set_zoom_level");
    if (!b) return;
    b->zoom = zoomLevel;
    b->Repaint();
  };
  w.is_window_rendering_disabled = [](TCefBrowser* self) CEF_CALLBACK -> TCefBool {
    Browser* b = Open(self, "browser.is_window_rendering_disabled");
    return b && b->window_params.rendering_disabled ? 1 : 0;
  };
  w.get_size = [](TCefBrowser* self, int32_t type, int32_t* width, int32_t* height) CEF_CALLBACK -> TCefBool {
    Browser* b = Open(self, "browser.get_size");
    std::pair<int32_t, int32_t> size{0, 0};
    bool known = false;
    if (b) {
      auto it = b->sizes.find(type);
      known = it != b->sizes.end();
      if (known) size = it->second;
    }
    if (width) *width = size.first;
    if (height) *height = size.second;
    return known ? 1 : 0;
  };
  w.set_size = [](TCefBrowser* self, int32_t type, int32_t width, int32_t height) CEF_CALLBACK {
    if (Browser* b = Open(self, "browser.set_size")) b->sizes[type] = {width, height};
  };
  w.invalidate = [](TCefBrowser* self, const TCefRect*) CEF_CALLBACK {
    if (Browser* b = Open(self, "browser.invalidate")) b->Repaint();
  };
}

// Windowless rendering is not offered: these members are counted and answer nothing.
void InstallWindowlessMembers(TCefBrowser& w) {
  w.is_popup_visible = [](TCefBrowser* self) CEF_CALLBACK -> TCefBool {
    Open(self, "browser.is_popup_visible");
    return 0;
  };
  w.hide_popup = [](TCefBrowser* self) CEF_CALLBACK { Open(self, "browser.hide_popup"); };
  w.get_image = [](TCefBrowser* self, int32_t, int32_t, int32_t, void*) CEF_CALLBACK -> TCefBool {
    Open(self, "browser.get_image");
    return 0;
  };
  w.send_key_event = [](TCefBrowser* self, int32_t, int32_t, int32_t, TCefBool, TCefBool) CEF_CALLBACK {
    Open(self, "browser.send_key_event");
  };
  w.send_mouse_click_event = [](TCefBrowser* self, int32_t, int32_t, int32_t, TCefBool, int32_t) CEF_CALLBACK {
    Open(self, "browser.send_mouse_click_event");
  };
  w.send_mouse_move_event = [](TCefBrowser* self, int32_t, int32_t, TCefBool) CEF_CALLBACK {
    Open(self, "browser.send_mouse_move_event");
  };
  w.send_mouse_wheel_event = [](TCefBrowser* self, int32_t, int32_t, int32_t) CEF_CALLBACK {
    Open(self, "browser.send_mouse_wheel_event");
  };
  w.send_focus_event = [](TCefBrowser* self, TCefBool) CEF_CALLBACK { Open(self, "browser.send_focus_event"); };
  w.send_capture_lost_event = [](TCefBrowser* self) CEF_CALLBACK { Open(self, "browser.send_capture_lost_event"); };
}

}  // namespace

void Browser::InstallMembers() {
  InstallLifeMembers(wire_);
  InstallNavigationMembers(wire_);
  InstallFrameMembers(wire_);
  InstallViewMembers(wire_);
  InstallWindowlessMembers(wire_);
}

}  // namespace standin
