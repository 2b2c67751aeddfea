#include "shell/download_strip.h"

#include <algorithm>
#include <cwchar>

#include "platform/text.h"
#include "shell/palette.h"
#include "shell/web_mark.h"
#include "ui/gdi.h"
#include "ui/system.h"

namespace shell {
namespace {

constexpr UINT_PTR kTimerId = 1;
// Ends told on another thread wait in the link.
constexpr UINT kEndsWaiting = WM_APP + 17;
constexpr UINT kTickMs = 100;  // at most ten repaints a second

// The title bar's colours; the error colours are the strip's own.
constexpr COLORREF kBackground = palette::kTitleBackground;
constexpr COLORREF kRule = palette::kTitleHighlight;
constexpr COLORREF kText = palette::kGlyph;
constexpr COLORREF kDim = palette::kGlyphHalf;
constexpr COLORREF kBar = palette::kAccent;
constexpr COLORREF kLink = palette::kAccentLight;
constexpr COLORREF kErrorBackground = RGB(96, 34, 32);
constexpr COLORREF kErrorText = RGB(255, 176, 166);

constexpr char16_t kRunning[] = u"다운로드 중";
constexpr char16_t kSaved[] = u"저장됨";
constexpr char16_t kOpen[] = u"열기";
constexpr char16_t kFolder[] = u"폴더 열기";
constexpr char16_t kShort[] = u"다운로드가 완료되지 않았습니다";
constexpr char16_t kCutShort[] = u"연결이 일찍 끊겼습니다";
constexpr char16_t kWriteFailed[] = u"파일에 쓰지 못했습니다";
constexpr char16_t kRemovedBySystem[] = u"Windows 보안 검사가 파일을 막거나 지웠습니다";

// Where each part of a line lies, for painting and for the mouse alike.
struct LineRects {
  RECT line, name, status, bar, open, folder, close, more;
};

LineRects RectsFor(size_t index, int width, DownloadLine::State state) {
  int top = static_cast<int>(index) * TDownloadStrip::kLineHeight, bottom = top + TDownloadStrip::kLineHeight;
  auto span = [&](int left, int right) { return RECT{left, top, std::max(left, right), bottom}; };
  LineRects r{};
  r.line = span(0, width);
  r.name = span(10, 250);
  r.close = span(width - 30, width - 8);
  r.more = span(width - 84, width - 36);
  switch (state) {
    case DownloadLine::State::Running:
      r.status = span(258, 470);
      r.bar = RECT{474, top + 10, std::max(474, width - 92), bottom - 10};
      break;
    case DownloadLine::State::Saved:
      r.status = span(258, 318);
      r.open = span(322, 360);
      r.folder = span(368, 440);
      break;
    case DownloadLine::State::Short:
      r.status = span(258, width - 92);
      break;
  }
  return r;
}

bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

std::u16string FileNameOf(const std::u16string& path) {
  size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

std::u16string FolderOf(const std::u16string& path) {
  size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

void Fill(HDC dc, const RECT& r, COLORREF color) {
  ui::UniqueBrush brush(CreateSolidBrush(color));
  FillRect(dc, &r, brush.get());
}

void Text(HDC dc, const std::u16string& text, RECT r, COLORREF color, UINT align = DT_LEFT) {
  SetTextColor(dc, color);
  DrawTextW(dc, platform::AsWide(text), static_cast<int>(text.size()), &r,
            align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

// "1.1 MB / 3.0 MB", or only what arrived when the total was not announced.
std::u16string Amount(const DownloadLine& line) {
  return ByteCount(line.received) + (line.total > 0 ? u" / " + ByteCount(line.total) : std::u16string());
}

std::u16string StatusText(const DownloadLine& line) {
  switch (line.state) {
    case DownloadLine::State::Running:
      return std::u16string(kRunning) + u"  " + Amount(line);
    case DownloadLine::State::Saved:
      return kSaved;
    case DownloadLine::State::Short:
      return std::u16string(kShort) + u": " + line.note;
  }
  return {};
}

}  // namespace

std::u16string ByteCount(int64_t bytes) {
  wchar_t text[32];
  if (bytes < 1024) swprintf(text, 32, L"%lld B", static_cast<long long>(bytes));
  else if (bytes < 1024 * 1024) swprintf(text, 32, L"%.0f KB", bytes / 1024.0);
  else swprintf(text, 32, L"%.1f MB", bytes / (1024.0 * 1024.0));
  return platform::WideToUtf16(text);
}

void DownloadLink::DownloadProgress(int id, int64_t received) {
  // Chunks arrive on the strip's thread; the end says how many there were anyway.
  if (OnStripThread() && strip_) strip_->Progress(id, received);
}

void DownloadLink::DownloadEnded(int id, const DownloadEnd& end) {
  if (OnStripThread()) {
    if (strip_) strip_->Ended(id, end);
    return;
  }
  {
    std::lock_guard hold(lock_);
    waiting_.emplace_back(id, end);
  }
  // A strip gone meanwhile has no window: the message goes nowhere.
  PostMessageW(window_.load(), kEndsWaiting, 0, 0);
}

void DownloadLink::Drain() {
  std::vector<std::pair<int, DownloadEnd>> ends;
  {
    std::lock_guard hold(lock_);
    ends.swap(waiting_);
  }
  for (const auto& [id, end] : ends)
    if (strip_) strip_->Ended(id, end);
}

TDownloadStrip::TDownloadStrip(ui::TComponent* owner)
    : TWinControl(owner),
      link_(std::make_shared<DownloadLink>(*this)) {
  SetColor(kBackground);
  SetVisible(false);
}

TDownloadStrip::~TDownloadStrip() {
  // A handler that holds the link a moment longer finds nobody there.
  link_->Detach();
  // The taskbar button shows nothing of this window's downloads once it is gone.
  if (!(taskbarShown_ == TaskbarShown{}))
    ui::System().SetTaskbarProgress(taskbarWindow_, ui::TaskbarProgress::None, 0, 0);
}

void TDownloadStrip::CreateParams(WindowParams& params) {
  TWinControl::CreateParams(params);
  params.className = u"TDownloadStrip";
}

int TDownloadStrip::Add(const std::u16string& path, int64_t total, const std::u16string& source) {
  DownloadLine line;
  int id = line.id = nextId_++;
  line.path = path;
  line.source = source;
  line.total = total;
  if (HandleAllocated()) link_->SetWindow(Handle());
  // The newest line goes on top, so that it and its actions are always in view.
  lines_.insert(lines_.begin(), std::move(line));
  Trim();
  Schedule();
  return id;
}

void TDownloadStrip::Progress(int id, int64_t received) {
  DownloadLine* line = Find(id);
  if (!line) return;
  line->received = received;
  dirty_ = true;
  EnsureTimer();
}

void TDownloadStrip::Schedule() {
  if (!HandleAllocated()) return Changed();
  layoutPending_ = true;
  dirty_ = true;
  EnsureTimer();
}

void TDownloadStrip::Ended(int id, const DownloadEnd& end) {
  DownloadLine* line = Find(id);
  if (!line) return;
  line->received = end.received;
  line->endedAt = clock_();
  switch (end.kind) {
    case DownloadEnd::Kind::Saved:
      // Policy and the virus scanner see the file before the user can open it.
      if (KeptAfterAttachmentCheck(line->path, line->source)) {
        line->state = DownloadLine::State::Saved;
      } else {
        line->state = DownloadLine::State::Short;
        line->note = kRemovedBySystem;
      }
      break;
    case DownloadEnd::Kind::WriteFailed:
      line->state = DownloadLine::State::Short;
      line->note = kWriteFailed + (end.reason.empty() ? std::u16string() : u" (" + end.reason + u")");
      break;
    case DownloadEnd::Kind::CutShort:
      line->state = DownloadLine::State::Short;
      line->note = std::u16string(kCutShort) + u" (" + Amount(*line) + u")";
      break;
  }
  Trim();
  Schedule();
}

void TDownloadStrip::CloseLine(int id) {
  auto it = std::find_if(lines_.begin(), lines_.end(), [&](const DownloadLine& l) { return l.id == id; });
  if (it == lines_.end() || it->state == DownloadLine::State::Running) return;
  lines_.erase(it);
  Changed();
}

void TDownloadStrip::OpenFile(int id) {
  if (const DownloadLine* line = Find(id))
    ui::System().ShellOpen(TopWindow(), u"open", line->path, {}, FolderOf(line->path), SW_SHOWNORMAL);
}

void TDownloadStrip::ShowInFolder(int id) {
  if (const DownloadLine* line = Find(id))
    ui::System().ShellOpen(TopWindow(), u"open", u"explorer.exe", u"/select,\"" + line->path + u"\"", {},
                           SW_SHOWNORMAL);
}

void TDownloadStrip::Trim() {
  for (auto it = lines_.end(); lines_.size() > kMaxExpandedLines && it != lines_.begin();) {
    --it;
    if (it->state == DownloadLine::State::Saved) it = lines_.erase(it);
  }
}

size_t TDownloadStrip::Shown() const {
  return std::min(lines_.size(), expanded_ ? kMaxExpandedLines : kMaxLines);
}

size_t TDownloadStrip::Running() const {
  return static_cast<size_t>(std::count_if(lines_.begin(), lines_.end(), [](const DownloadLine& l) {
    return l.state == DownloadLine::State::Running;
  }));
}

DownloadLine* TDownloadStrip::Find(int id) {
  auto it = std::find_if(lines_.begin(), lines_.end(), [&](const DownloadLine& l) { return l.id == id; });
  return it == lines_.end() ? nullptr : &*it;
}

TDownloadStrip::Hit TDownloadStrip::HitTest(int x, int y) const {
  if (y < 0) return {};
  size_t index = static_cast<size_t>(y / kLineHeight);
  if (index >= Shown()) return {};
  const DownloadLine& line = lines_[index];
  LineRects r = RectsFor(index, Width(), line.state);
  if (index + 1 == Shown() && Hidden() > 0 && Inside(r.more, x, y)) return {line.id, Part::More};
  if (line.state == DownloadLine::State::Running) return {line.id, Part::None};
  if (Inside(r.close, x, y)) return {line.id, Part::Close};
  if (line.state == DownloadLine::State::Saved && Inside(r.open, x, y)) return {line.id, Part::Open};
  if (line.state == DownloadLine::State::Saved && Inside(r.folder, x, y)) return {line.id, Part::Folder};
  return {line.id, Part::None};
}

void TDownloadStrip::MouseUp(ui::MouseButton button, ui::ShiftState shift, int x, int y) {
  TWinControl::MouseUp(button, shift, x, y);
  if (button != ui::MouseButton::Left) return;
  Hit hit = HitTest(x, y);
  switch (hit.part) {
    case Part::Open: OpenFile(hit.id); break;
    case Part::Folder: ShowInFolder(hit.id); break;
    case Part::Close: CloseLine(hit.id); break;
    case Part::More:
      expanded_ = true;
      Changed();
      break;
    case Part::None: break;
  }
}

void TDownloadStrip::Relayout() {
  int height = static_cast<int>(Shown()) * kLineHeight;
  if (height != Height()) SetBounds(Left(), Top(), Width(), height);
  SetVisible(!lines_.empty());
}

void TDownloadStrip::Changed() {
  Relayout();
  Invalidate();
  UpdateTaskbar();
  dirty_ = layoutPending_ = false;
  EnsureTimer();
}

void TDownloadStrip::EnsureTimer() {
  if (timer_ || !HandleAllocated()) return;
  timer_ = SetTimer(Handle(), kTimerId, kTickMs, nullptr) != 0;
}

void TDownloadStrip::PointerMoved() {
  if (pointerOver_ || !HandleAllocated()) return;
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
  pointerOver_ = TrackMouseEvent(&track) != FALSE;
}

void TDownloadStrip::PointerLeft() {
  pointerOver_ = false;
  // Lines whose time passed meanwhile close on the next tick.
  EnsureTimer();
  if (std::exchange(expanded_, false)) Changed();
}

void TDownloadStrip::Tick() {
  uint64_t now = clock_();
  size_t before = lines_.size();
  // Nothing moves under the pointer: a saved line waits until it has left the strip.
  if (!pointerOver_)
    std::erase_if(lines_, [&](const DownloadLine& l) {
      return l.state == DownloadLine::State::Saved && now - l.endedAt >= kSavedShownMs;
    });
  if (lines_.size() != before || layoutPending_) {
    Changed();
  } else if (dirty_) {
    dirty_ = false;
    Invalidate();
    UpdateTaskbar();
  }
  bool waiting = dirty_ || std::any_of(lines_.begin(), lines_.end(), [](const DownloadLine& l) {
    return l.state != DownloadLine::State::Short;
  });
  if (!waiting && timer_) {
    KillTimer(Handle(), kTimerId);
    timer_ = false;
  }
}

HWND TDownloadStrip::TopWindow() { return HandleAllocated() ? GetAncestor(Handle(), GA_ROOT) : nullptr; }

void TDownloadStrip::UpdateTaskbar() {
  // A download that ended short shows until its line is closed; otherwise the running ones
  // show their share, or that they run when a length is not known.
  TaskbarShown shown;
  bool failed = false, unknown = false, running = false;
  for (const DownloadLine& l : lines_) {
    failed |= l.state == DownloadLine::State::Short;
    if (l.state != DownloadLine::State::Running) continue;
    running = true;
    unknown |= l.total <= 0;
    shown.done += static_cast<uint64_t>(std::max<int64_t>(0, std::min(l.received, l.total)));
    shown.total += static_cast<uint64_t>(std::max<int64_t>(0, l.total));
  }
  ui::TaskbarProgress state = failed    ? ui::TaskbarProgress::Error
                              : unknown ? ui::TaskbarProgress::Indeterminate
                              : running ? ui::TaskbarProgress::Normal
                                        : ui::TaskbarProgress::None;
  if (state == ui::TaskbarProgress::Error) shown.done = shown.total = 1;
  if (state == ui::TaskbarProgress::Indeterminate || state == ui::TaskbarProgress::None) shown.done = shown.total = 0;
  shown.state = static_cast<int>(state);
  if (shown == taskbarShown_) return;
  if (HWND window = TopWindow()) taskbarWindow_ = window;
  taskbarShown_ = shown;
  ui::System().SetTaskbarProgress(taskbarWindow_, state, shown.done, shown.total);
}

LRESULT TDownloadStrip::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerId) {
    Tick();
    return 0;
  }
  if (message == kEndsWaiting) {
    link_->Drain();
    return 0;
  }
  if (message == WM_MOUSEMOVE) PointerMoved();
  if (message == WM_MOUSELEAVE) {
    PointerLeft();
    return 0;
  }
  if (message == WM_DESTROY && timer_) {
    KillTimer(Handle(), kTimerId);
    timer_ = false;
  }
  return TWinControl::WndProc(message, wParam, lParam);
}

void TDownloadStrip::PaintWindow(HDC dc) {
  TWinControl::PaintWindow(dc);
  ui::SelectScope selected(dc, palette::ControlFont());
  SetBkMode(dc, TRANSPARENT);
  size_t shownLines = Shown();
  bool hiddenShort = std::any_of(lines_.begin() + static_cast<std::ptrdiff_t>(shownLines), lines_.end(),
                                 [](const DownloadLine& l) { return l.state == DownloadLine::State::Short; });
  for (size_t i = 0; i < shownLines; ++i) {
    const DownloadLine& line = lines_[i];
    LineRects r = RectsFor(i, Width(), line.state);
    bool failed = line.state == DownloadLine::State::Short;
    if (failed) Fill(dc, r.line, kErrorBackground);
    Fill(dc, RECT{0, r.line.top, Width(), r.line.top + 1}, kRule);
    Text(dc, FileNameOf(line.path), r.name, failed ? kErrorText : kText);
    Text(dc, StatusText(line), r.status, failed ? kErrorText : kDim);
    if (line.state == DownloadLine::State::Running && line.total > 0) {
      Fill(dc, r.bar, kRule);
      RECT done = r.bar;
      done.right = done.left + static_cast<LONG>((done.right - done.left) *
                                                 std::min<double>(1.0, double(line.received) / double(line.total)));
      Fill(dc, done, kBar);
    }
    if (line.state == DownloadLine::State::Saved) {
      Text(dc, kOpen, r.open, kLink);
      Text(dc, kFolder, r.folder, kLink);
    }
    if (line.state != DownloadLine::State::Running) Text(dc, u"\u00D7", r.close, failed ? kErrorText : kText, DT_CENTER);
    // "+N" in the error colours when a hidden download ended short.
    if (i + 1 == shownLines && Hidden() > 0) {
      if (hiddenShort) Fill(dc, r.more, kErrorBackground);
      Text(dc, u"+" + platform::IntToText(static_cast<long long>(Hidden())), r.more,
           hiddenShort ? kErrorText : kText, DT_CENTER);
    }
  }
}

}  // namespace shell
