// The test control exports of browsers, frames, page loads, history and windows.

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <thread>

#include "browsers.h"
#include "control.h"
#include "control_support.h"
#include "html.h"
#include "page_actions.h"

using namespace standin;

#define STANDIN_DECLARE_CONTROL(result, name, params) STANDIN_API result name params;
STANDIN_CONTROL_BROWSING(STANDIN_DECLARE_CONTROL)
#undef STANDIN_DECLARE_CONTROL

namespace {

Browser* BrowserArg(TCefBrowser* browser, const char* control) {
  return browser ? Self<Browser>(browser, control) : nullptr;
}

Frame* FrameArg(TCefFrame* frame, const char* control) { return frame ? Self<Frame>(frame, control) : nullptr; }

int32_t PendingLoads(const Browser& b) {
  int32_t n = 0;
  for (const ObjRef<Frame>& f : b.Frames()) n += f->pending ? 1 : 0;
  return n;
}

const Page* MainPage(const Browser& b) { return b.closed() ? nullptr : &b.main_frame().page; }

using BrowserNumber = std::function<int32_t(const Browser&)>;

const std::map<std::string, BrowserNumber, std::less<>>& BrowserNumbers() {
  static const std::map<std::string, BrowserNumber, std::less<>> numbers = {
      {"closed", [](const Browser& b) { return b.closed() ? 1 : 0; }},
      {"loads.started", [](const Browser& b) { return b.counters.loads_started; }},
      {"loads.committed", [](const Browser& b) { return b.counters.loads_committed; }},
      {"loads.pending", PendingLoads},
      {"visits.pending", [](const Browser& b) { return static_cast<int32_t>(b.visits.size()); }},
      {"history.count", [](const Browser& b) { return b.history.size(); }},
      {"history.index", [](const Browser& b) { return b.history.index(); }},
      {"status", [](const Browser& b) { return MainPage(b) ? MainPage(b)->status : 0; }},
      {"error.code", [](const Browser& b) { return b.closed() ? 0 : b.main_frame().failure.code; }},
      {"downloads", [](const Browser& b) { return static_cast<int32_t>(b.downloads.size()); }},
      {"download.length",
       [](const Browser& b) { return b.downloads.empty() ? -1 : static_cast<int32_t>(b.downloads.back().length); }},
      {"download.cut_short",
       [](const Browser& b) { return b.downloads.empty() ? -1 : b.downloads.back().cut_short ? 1 : 0; }},
      {"parent_window_will_close", [](const Browser& b) { return b.counters.parent_window_will_close; }},
      {"dev_tools.shown", [](const Browser& b) { return b.counters.dev_tools_shown; }},
      {"dev_tools.closed", [](const Browser& b) { return b.counters.dev_tools_closed; }},
      {"dev_tools.open", [](const Browser& b) { return b.dev_tools_open ? 1 : 0; }},
      {"popup", [](const Browser& b) { return b.popup ? 1 : 0; }},
      {"os_executions", [](const Browser& b) { return b.counters.os_executions; }},
      {"deliveries", [](const Browser& b) { return static_cast<int32_t>(b.deliveries.size()); }},
      {"focused", [](const Browser& b) { return b.focused ? 1 : 0; }},
      {"find.calls", [](const Browser& b) { return b.find.calls; }},
      {"find.identifier", [](const Browser& b) { return b.find.identifier; }},
      {"find.matches", [](const Browser& b) { return b.find.matches; }},
      {"find.forward", [](const Browser& b) { return b.find.forward ? 1 : 0; }},
      {"find.match_case", [](const Browser& b) { return b.find.match_case ? 1 : 0; }},
      {"find.find_next", [](const Browser& b) { return b.find.find_next ? 1 : 0; }},
      {"find.active", [](const Browser& b) { return b.find.active ? 1 : 0; }},
  };
  return numbers;
}

// A text of a browser; false when it has none of that key.
bool BrowserText(const Browser& b, std::string_view key, std::u16string& text) {
  const Page* page = MainPage(b);
  const DownloadRecord* download = b.downloads.empty() ? nullptr : &b.downloads.back();
  if (key == "find.text") text = b.find.text;
  else if (key == "url" && page) text = page->url;
  else if (key == "title" && page) text = page->title;
  else if (key == "source" && page) text = page->source;
  else if (key == "text" && page) text = page->text;
  else if (key == "error.text" && page) text = b.main_frame().failure.text;
  else if (key == "error.url" && page) text = b.main_frame().failure.url;
  else if (key == "download.url" && download) text = download->url;
  else if (key == "download.mime" && download) text = FromUtf8(download->mime_type);
  else if (key == "download.file" && download) text = download->file_name;
  else return false;
  return true;
}

bool FrameText(const Frame& f, std::string_view key, std::u16string& text) {
  const ScriptRecord* script = f.scripts.empty() ? nullptr : &f.scripts.back();
  if (key == "name") text = f.name();
  else if (key == "url") text = f.page.url;
  else if (key == "title") text = f.page.title;
  else if (key == "source") text = f.page.source;
  else if (key == "text") text = f.page.text;
  else if (key == "script.code" && script) text = script->code;
  else if (key == "script.url" && script) text = script->url;
  else return false;
  return true;
}

int32_t FrameNumber(const Frame& f, std::string_view key) {
  if (key == "attached") return f.browser() && !f.browser()->closed() ? 1 : 0;
  if (key == "main") return f.is_main() ? 1 : 0;
  if (key == "status") return f.page.status;
  if (key == "error.code") return f.failure.code;
  if (key == "loads.pending") return f.pending ? 1 : 0;
  if (key == "scripts") return static_cast<int32_t>(f.scripts.size());
  if (key == "script.line") return f.scripts.empty() ? -1 : f.scripts.back().line;
  return -1;
}

bool Idle(TCefBrowser* browser) {
  if (browser) {
    Browser* b = BrowserArg(browser, "standin_wait_idle");
    return !b || !b->Busy();
  }
  if (PendingCreations() > 0) return false;
  for (const ObjRef<Browser>& b : OpenBrowsers())
    if (b->Busy()) return false;
  return true;
}

}  // namespace

int32_t standin_browser_count() { return static_cast<int32_t>(OpenBrowsers().size()); }

int32_t standin_pending_creations() { return PendingCreations(); }

TCefBrowser* standin_browser_at(int32_t index) {
  std::vector<ObjRef<Browser>> open = OpenBrowsers();
  if (index < 0 || static_cast<size_t>(index) >= open.size()) return nullptr;
  return open[static_cast<size_t>(index)].Hand();
}

int32_t standin_browser_value(TCefBrowser* browser, const char* key) {
  Browser* b = BrowserArg(browser, "standin_browser_value");
  auto it = key ? BrowserNumbers().find(std::string_view(key)) : BrowserNumbers().end();
  return b && it != BrowserNumbers().end() ? it->second(*b) : -1;
}

int32_t standin_browser_text(TCefBrowser* browser, const char* key, char16_t* buffer, int32_t size) {
  Browser* b = BrowserArg(browser, "standin_browser_text");
  std::u16string text;
  if (!b || !key || !BrowserText(*b, key, text)) return -1;
  return CopyOut(text, buffer, size);
}

int32_t standin_history_url(TCefBrowser* browser, int32_t index, char16_t* buffer, int32_t size) {
  Browser* b = BrowserArg(browser, "standin_history_url");
  const HistoryEntry* entry = b ? b->history.At(index) : nullptr;
  return entry ? CopyOut(entry->url, buffer, size) : -1;
}

int32_t standin_browser_settings(TCefBrowser* browser, void* buffer, int32_t size) {
  Browser* b = BrowserArg(browser, "standin_browser_settings");
  return b ? CopyOut(b->settings.bytes, buffer, size) : -1;
}

int32_t standin_browser_settings_string(TCefBrowser* browser, const char* field, char16_t* buffer, int32_t size) {
  Browser* b = BrowserArg(browser, "standin_browser_settings_string");
  if (!b || !field) return -1;
  auto it = b->settings.strings.find(std::string_view(field));
  return it == b->settings.strings.end() ? -1 : CopyOut(it->second, buffer, size);
}

void* standin_browser_window(TCefBrowser* browser) {
  Browser* b = BrowserArg(browser, "standin_browser_window");
  return b ? b->window() : nullptr;
}

int32_t standin_download_bytes(TCefBrowser* browser, void* buffer, int32_t size) {
  Browser* b = BrowserArg(browser, "standin_download_bytes");
  if (!b || b->downloads.empty()) return -1;
  return CopyOut(b->downloads.back().bytes, buffer, size);
}

int32_t standin_wait_idle(TCefBrowser* browser, int32_t timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    cef_do_message_loop_work();
    if (Idle(browser)) return 1;
    if (std::chrono::steady_clock::now() >= deadline) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void standin_run_browser_work() { RunBrowserWork(); }

int32_t standin_running_fetches() { return RunningWorkers(); }

int32_t standin_frame_text(TCefFrame* frame, const char* key, char16_t* buffer, int32_t size) {
  Frame* f = FrameArg(frame, "standin_frame_text");
  std::u16string text;
  if (!f || !key || !FrameText(*f, key, text)) return -1;
  return CopyOut(text, buffer, size);
}

int32_t standin_frame_value(TCefFrame* frame, const char* key) {
  Frame* f = FrameArg(frame, "standin_frame_value");
  return f && key ? FrameNumber(*f, key) : -1;
}

int32_t standin_focus_frame(TCefFrame* frame) {
  Frame* f = FrameArg(frame, "standin_focus_frame");
  Browser* b = f ? f->browser() : nullptr;
  if (!b || b->closed()) return 0;
  b->FocusFrame(f);
  return 1;
}

int32_t standin_frame_dispatch_event(TCefFrame* frame, const char16_t* element_id, const char16_t* type) {
  Frame* f = FrameArg(frame, "standin_frame_dispatch_event");
  std::shared_ptr<dom::DocumentState> state = f ? f->page.document : nullptr;
  if (!state || !state->root || !element_id || !type) return -1;
  html::Node* target = html::ElementById(*state->root, element_id);
  if (!target) return -1;
  return DispatchUserEvent(*f, *target, type);
}
