#pragma once
// The stand-in's browsers and their frames, and the list of open browsers.
//
// Every member the program calls is counted with Enter under the name "browser.<member>"
// or "frame.<member>" (the wire member's name, e.g. "browser.reload", "frame.load_url"),
// and a test may make it fail: it then does nothing and answers its neutral value.

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "browser_window.h"
#include "dom.h"
#include "history.h"
#include "page_load.h"
#include "standin.h"

namespace standin {

class Browser;

// What a frame shows.
struct Page {
  std::u16string url;
  std::u16string source;  // the text as received, decoded
  std::u16string text;    // the visible text
  std::u16string title;
  int32_t status = 0;
  std::shared_ptr<dom::DocumentState> document;
};

struct ScriptRecord {
  std::u16string code;
  std::u16string url;
  int32_t line = 0;
};

// Why the frame's last load got no answer.
struct LoadFailure {
  int32_t code = 0;
  std::u16string text;
  std::u16string url;
};

class Frame final : public Wired<TCefFrame, Kind::Frame> {
 public:
  Frame(Browser& browser, std::u16string name, bool isMain);

  // Null once the frame has left its browser (its page was replaced, or the browser closed);
  // it then answers empty values.
  Browser* browser() const noexcept { return browser_; }
  const std::u16string& name() const noexcept { return name_; }
  bool is_main() const noexcept { return main_; }

  // Shows a committed page; the previous document is detached.
  void Show(Page next) noexcept;
  // Leaves the browser: the pending load is cancelled and the document detached.
  void Detach() noexcept;

  Page page;
  bool committed = false;  // a page has been committed since the frame was made
  std::shared_ptr<PageLoad> pending;
  LoadFailure failure;
  std::vector<ScriptRecord> scripts;

 protected:
  void Retire() noexcept override;

 private:
  Browser* browser_;
  std::u16string name_;
  bool main_;
};

// The browser settings record as the program passed it, with copies of its strings (the
// record's own string fields only borrow them for the call).
struct SettingsCopy {
  std::vector<uint8_t> bytes;
  std::map<std::string, std::u16string, std::less<>> strings;
  static SettingsCopy From(const TCefBrowserSettings* settings);
  // A whole record with these settings, its strings borrowed from this copy.
  TCefBrowserSettings Record() const;
};

struct FindRecord {
  int32_t calls = 0;
  int32_t identifier = 0;
  std::u16string text;
  bool forward = false;
  bool match_case = false;
  bool find_next = false;
  int32_t matches = 0;
  bool active = false;
};

// Calls of members that have nothing more to do, counted for tests.
struct BrowserCounters {
  int32_t loads_started = 0;
  int32_t loads_committed = 0;
  int32_t parent_window_will_close = 0;
  int32_t dev_tools_shown = 0;
  int32_t dev_tools_closed = 0;
  int32_t os_executions = 0;  // addresses left to the system's handler of their scheme
};

// A download the program took a handler for: its bytes go out one chunk per work call.
struct Delivery {
  Held handler;
  std::vector<uint8_t> bytes;
  size_t sent = 0;
  // The bytes go on at the pace they arrived from the network, as a runtime that hands on
  // a download while it arrives: over `spread_ms` from `start`.
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  int64_t spread_ms = 0;
};

// A find's count, reported on the next work call.
struct FindResult {
  int32_t identifier = 0;
  int32_t count = 0;
};

// What a pop-up knows of the browser that opened it.
struct Opener {
  void* window = nullptr;
};

class Browser final : public Wired<TCefBrowser, Kind::Browser> {
 public:
  Browser(Held client, SettingsCopy settings, WindowParams window);

  bool closed() const noexcept { return closed_; }
  // Closes the browser: loads stop, frames leave, the window goes and the client is released.
  void Close() noexcept;
  // The window is being destroyed by someone else (its parent, or a close message).
  void WindowDestroyed() noexcept;

  Frame& main_frame() const noexcept { return *main_frame_.get(); }
  const std::vector<ObjRef<Frame>>& sub_frames() const noexcept { return sub_frames_; }
  // The main frame and the sub-frames.
  std::vector<ObjRef<Frame>> Frames() const;
  Frame* FrameNamed(std::u16string_view name) const;
  // Replaces the sub-frames with new ones (old ones leave the browser).
  void ReplaceSubFrames(std::vector<ObjRef<Frame>> frames) noexcept;
  Frame* focused_frame() const noexcept;
  void FocusFrame(Frame* frame) noexcept { focused_frame_ = frame; }
  void* window() const noexcept { return window_; }
  void Repaint() const noexcept { InvalidateBrowserWindow(window_); }
  bool Busy() const;

  Held client;
  const SettingsCopy settings;
  const WindowParams window_params;
  History history;
  double zoom = 0.0;
  bool focused = false;
  bool dev_tools_open = false;
  std::map<int32_t, std::pair<int32_t, int32_t>> sizes;
  FindRecord find;
  std::vector<DownloadRecord> downloads;
  BrowserCounters counters;
  bool popup = false;
  void* opener_window = nullptr;
  // The pop-up's own page called window.close(): it closes on the next work call, once the
  // page's script has returned.
  bool script_close = false;
  std::vector<Delivery> deliveries;
  std::vector<FindResult> find_results;
  struct Visit {
    ObjRef<Frame> frame;
    Held visitor;
  };
  std::vector<Visit> visits;

 protected:
  void Retire() noexcept override;

 private:
  friend Browser* CreateBrowser(const WindowParams&, Held, SettingsCopy, const std::u16string&, const Opener*);
  void InstallMembers();
  void ReleaseFrames() noexcept;

  ObjRef<Frame> main_frame_;
  std::vector<ObjRef<Frame>> sub_frames_;
  Frame* focused_frame_ = nullptr;
  void* window_ = nullptr;
  bool closed_ = false;
};

// Makes an open browser with its main frame and window, enters it in the list and starts
// loading url when it is not empty; a pop-up names its opener. The answer carries one
// reference for the caller.
Browser* CreateBrowser(const WindowParams& window, Held client, SettingsCopy settings, const std::u16string& url,
                       const Opener* opener = nullptr);
WindowParams WindowParamsFrom(const TCefWindowInfo* info);

// A close asked of an open browser: the program hears it (do_close) and may take it over;
// otherwise the browser closes (on_before_close).
void CloseAsAsked(Browser& browser);

// The open browsers, each with a new reference.
std::vector<ObjRef<Browser>> OpenBrowsers();
// Browser creations asked for with cef_browser_create and not yet carried out.
int PendingCreations();

// One round of browser work on the calling thread: creations, loads, visits.
void RunBrowserWork();
// Closes every browser and lets go of everything held, waiting for running fetches.
void CloseAllBrowsers() noexcept;

// The frame's visible text searched for text; answers the number of matches.
int32_t CountMatches(std::u16string_view haystack, std::u16string_view needle, bool matchCase);

}  // namespace standin
