// Browsers: creation (at once or on a later work call), the list of open browsers, closing,
// and the work each call of the work function does for them.

#include "browsers.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <mutex>

#include "browser_events.h"
#include "runtime.h"

namespace standin {
namespace {

struct Creation {
  WindowParams window;
  Held client;
  SettingsCopy settings;
  std::u16string url;
};

// The browsers the runtime keeps open: each holds one reference until it closes. The lock
// guards the vectors only; no call leaves the stand-in while it is held.
struct BrowserList {
  std::mutex lock;
  std::vector<ObjRef<Browser>> open;
  std::vector<Creation> creations;

  // Only reached when the library goes without a shutdown. Closing looks the browser up in
  // this list, so the browsers close while its members are still alive.
  ~BrowserList() {
    std::vector<ObjRef<Browser>> left;
    {
      std::lock_guard guard(lock);
      left.swap(open);
    }
    for (ObjRef<Browser>& browser : left) browser->Close();
  }
};

BrowserList& L() {
  static BrowserList list;
  return list;
}

ObjRef<Browser> TakeFromList(Browser* browser) {
  std::lock_guard lock(L().lock);
  auto& open = L().open;
  auto it = std::find_if(open.begin(), open.end(), [&](const ObjRef<Browser>& b) { return b.get() == browser; });
  if (it == open.end()) return {};
  ObjRef<Browser> taken = std::move(*it);
  open.erase(it);
  return taken;
}

template <size_t Offset>
void CopyString(const TCefBrowserSettings* s, size_t size, const char* field, SettingsCopy& copy) {
  if (Offset + sizeof(TCefString) > size) return;
  TCefString value;
  std::memcpy(&value, reinterpret_cast<const uint8_t*>(s) + Offset, sizeof value);
  copy.strings[field] = Read(&value);
}

void CreatePending() {
  std::vector<Creation> creations;
  {
    std::lock_guard lock(L().lock);
    creations.swap(L().creations);
  }
  for (Creation& c : creations) {
    // The list keeps the browser; nobody else has asked for a reference yet.
    ObjRef<Browser>::Adopt(CreateBrowser(c.window, std::move(c.client), std::move(c.settings), c.url));
  }
}

// Hands each waiting visitor its frame's document, then releases the visitor.
void RunVisits(Browser& browser) {
  std::vector<Browser::Visit> visits;
  visits.swap(browser.visits);
  for (Browser::Visit& v : visits) {
    Frame& frame = *v.frame.get();
    auto* visitor = v.visitor.as<TCefDomVisitor>();
    if (frame.browser() && frame.page.document && visitor->visit)
      visitor->visit(visitor, dom::NewDocument(frame.page.document));
    v.visitor.reset();
  }
}

// Points a string field of a record at a copied text (borrowed: no dtor).
template <size_t Offset>
void LendString(const SettingsCopy& copy, const char* field, TCefBrowserSettings& record) {
  TCefString value{};
  if (auto it = copy.strings.find(std::string_view(field)); it != copy.strings.end())
    value = {const_cast<char16_t*>(it->second.c_str()), static_cast<uint32_t>(it->second.size()), nullptr};
  std::memcpy(reinterpret_cast<uint8_t*>(&record) + Offset, &value, sizeof value);
}

}  // namespace

#define STANDIN_SETTINGS_STRINGS(X)                                                                    \
  X(standard_font_family) X(fixed_font_family) X(serif_font_family) X(sans_serif_font_family)       \
  X(cursive_font_family) X(fantasy_font_family) X(default_encoding) X(user_style_sheet_location)

TCefBrowserSettings SettingsCopy::Record() const {
  TCefBrowserSettings record{};
  if (!bytes.empty()) std::memcpy(&record, bytes.data(), std::min(bytes.size(), sizeof record));
  record.size = sizeof record;
#define STANDIN_LEND_STRING(field) LendString<offsetof(TCefBrowserSettings, field)>(*this, #field, record);
  STANDIN_SETTINGS_STRINGS(STANDIN_LEND_STRING)
#undef STANDIN_LEND_STRING
  return record;
}

SettingsCopy SettingsCopy::From(const TCefBrowserSettings* s) {
  SettingsCopy copy;
  if (!s) return copy;
  size_t size = std::min<size_t>(s->size, sizeof(TCefBrowserSettings));
  auto* bytes = reinterpret_cast<const uint8_t*>(s);
  copy.bytes.assign(bytes, bytes + size);
#define STANDIN_COPY_STRING(field) CopyString<offsetof(TCefBrowserSettings, field)>(s, size, #field, copy);
  STANDIN_SETTINGS_STRINGS(STANDIN_COPY_STRING)
#undef STANDIN_COPY_STRING
  return copy;
}

WindowParams WindowParamsFrom(const TCefWindowInfo* info) {
  WindowParams params;
  if (!info) return params;
  params.ex_style = info->ExStyle;
  params.style = info->Style;
  params.x = info->x;
  params.y = info->y;
  params.width = info->Width;
  params.height = info->Height;
  params.parent = info->WndParent;
  params.menu = info->Menu;
  params.rendering_disabled = info->m_bWindowRenderingDisabled != 0;
  params.name = Read(&info->windowName);
  return params;
}

Browser::Browser(Held heldClient, SettingsCopy settingsCopy, WindowParams window)
    : client(std::move(heldClient)), settings(std::move(settingsCopy)), window_params(std::move(window)) {
  InstallMembers();
}

std::vector<ObjRef<Frame>> Browser::Frames() const {
  std::vector<ObjRef<Frame>> frames;
  if (main_frame_) frames.push_back(main_frame_);
  frames.insert(frames.end(), sub_frames_.begin(), sub_frames_.end());
  return frames;
}

Frame* Browser::FrameNamed(std::u16string_view name) const {
  if (name.empty()) return main_frame_.get();
  for (const ObjRef<Frame>& f : sub_frames_)
    if (f->name() == name) return f.get();
  return nullptr;
}

void Browser::ReplaceSubFrames(std::vector<ObjRef<Frame>> frames) noexcept {
  std::vector<ObjRef<Frame>> old = std::exchange(sub_frames_, std::move(frames));
  for (ObjRef<Frame>& f : old) {
    if (focused_frame_ == f.get()) focused_frame_ = main_frame_.get();
    f->Detach();
  }
}

Frame* Browser::focused_frame() const noexcept { return focused_frame_ ? focused_frame_ : main_frame_.get(); }

bool Browser::Busy() const {
  if (closed_) return false;
  if (script_close || !visits.empty() || !deliveries.empty() || !find_results.empty()) return true;
  for (const ObjRef<Frame>& f : Frames())
    if (f->pending) return true;
  return false;
}

void Browser::ReleaseFrames() noexcept {
  std::vector<ObjRef<Frame>> old = std::exchange(sub_frames_, {});
  for (ObjRef<Frame>& f : old) f->Detach();
  focused_frame_ = nullptr;
  if (main_frame_) main_frame_->Detach();
  main_frame_.reset();
}

void Browser::Close() noexcept {
  if (closed_) return;
  closed_ = true;
  events::BeforeClose(*this);
  DestroyBrowserWindow(std::exchange(window_, nullptr));
  std::vector<Visit> dropped = std::exchange(visits, {});
  // Downloads under way end without complete: their handlers are released.
  std::vector<Delivery> unfinished = std::exchange(deliveries, {});
  find_results.clear();
  ReleaseFrames();
  dropped.clear();
  unfinished.clear();
  client.reset();
  // The list's reference may be the last one: it goes after everything else.
  TakeFromList(this).reset();
}

void Browser::WindowDestroyed() noexcept {
  window_ = nullptr;
  Close();
}

void Browser::Retire() noexcept {
  Close();
  ReleaseFrames();
}

Browser* CreateBrowser(const WindowParams& window, Held client, SettingsCopy settings, const std::u16string& url,
                       const Opener* opener) {
  Browser* browser = Create<Browser>(std::move(client), std::move(settings), window);
  if (opener) {
    browser->popup = true;
    browser->opener_window = opener->window;
  }
  browser->main_frame_ = ObjRef<Frame>::Adopt(Create<Frame>(*browser, u"", true));
  browser->window_ = CreateBrowserWindow(*browser, window);
  {
    std::lock_guard lock(L().lock);
    L().open.push_back(ObjRef<Browser>::Retain(browser));
  }
  events::BrowserCreated(*browser);
  if (!url.empty() && !browser->closed()) {
    LoadParams params;
    params.url = NormalizeAddress(url);
    StartLoad(browser->main_frame(), std::move(params), NavigationKind::New);
  }
  return browser;
}

void CloseAsAsked(Browser& browser) {
  if (!events::CloseRequested(browser) && !browser.closed()) browser.Close();
}

std::vector<ObjRef<Browser>> OpenBrowsers() {
  std::lock_guard lock(L().lock);
  return L().open;
}

int PendingCreations() {
  std::lock_guard lock(L().lock);
  return static_cast<int>(L().creations.size());
}

void RunBrowserWork() {
  CreatePending();
  ReapWorkers();
  for (ObjRef<Browser>& browser : OpenBrowsers()) {
    if (browser->closed()) continue;
    if (std::exchange(browser->script_close, false)) {
      CloseAsAsked(*browser.get());
      if (browser->closed()) continue;
    }
    // What was due before this call goes first: a download offered by a load that
    // finishes now sends its first chunk on the next call.
    events::DeliverPending(*browser.get());
    if (!browser->closed()) AdvanceLoads(*browser.get());
    if (!browser->closed()) RunVisits(*browser.get());
  }
}

void CloseAllBrowsers() noexcept {
  std::vector<Creation> creations;
  {
    std::lock_guard lock(L().lock);
    creations.swap(L().creations);
  }
  creations.clear();
  for (ObjRef<Browser>& browser : OpenBrowsers()) browser->Close();
  JoinWorkers();
  UnregisterBrowserWindowClass();
}

int32_t CountMatches(std::u16string_view haystack, std::u16string_view needle, bool matchCase) {
  if (needle.empty()) return 0;
  // Case folding covers ASCII letters, which is what pages in tests search for.
  auto fold = [&](char16_t c) { return !matchCase && c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; };
  int32_t count = 0;
  for (size_t i = 0; i + needle.size() <= haystack.size(); ++i) {
    size_t k = 0;
    while (k < needle.size() && fold(haystack[i + k]) == fold(needle[k])) ++k;
    if (k == needle.size()) {
      ++count;
      i += needle.size() - 1;
    }
  }
  return count;
}

}  // namespace standin

using namespace standin;

TCefBool cef_browser_create(TCefWindowInfo* windowInfo, TCefClient* client, const TCefString* url,
                            const TCefBrowserSettings* settings) {
  Held held(client, "client");
  if (Enter("cef_browser_create")) return 0;
  if (!Initialized()) {
    RecordError("cef_browser_create called while not initialised");
    return 0;
  }
  Creation creation{WindowParamsFrom(windowInfo), std::move(held), SettingsCopy::From(settings), Read(url)};
  std::lock_guard lock(L().lock);
  L().creations.push_back(std::move(creation));
  return 1;
}

TCefBrowser* cef_browser_create_sync(TCefWindowInfo* windowInfo, TCefClient* client, const TCefString* url,
                                     const TCefBrowserSettings* settings) {
  Held held(client, "client");
  if (Enter("cef_browser_create_sync")) return nullptr;
  if (!Initialized()) {
    RecordError("cef_browser_create_sync called while not initialised");
    return nullptr;
  }
  return CreateBrowser(WindowParamsFrom(windowInfo), std::move(held), SettingsCopy::From(settings), Read(url))->wire();
}
