#pragma once
// The download strip along the bottom of the browser's panel: one line for each download
// the user has not yet closed, newest first, with its name, its progress, and at its end
// whether it was saved (open it, show it in its folder) or ended short and why. Three lines
// show; "+N" counts the rest and shows up to six while the pointer stays on the strip. The taskbar button shows
// the same progress. What downloads report is shown on a tick about ten times a second,
// so that a download's chunks never wait for painting; what the user does shows at once.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "shell/download_handler.h"
#include "ui/control.h"

namespace shell {

class TDownloadStrip;

// The strip's end of the handlers' weak link. The runtime may let a handler go on one of its
// own threads: an end told there waits in the link until the strip's thread takes it.
class DownloadLink final : public IDownloadObserver {
 public:
  explicit DownloadLink(TDownloadStrip& strip) : strip_(&strip) {}
  void DownloadProgress(int id, int64_t received) override;
  void DownloadEnded(int id, const DownloadEnd& end) override;

  // On the strip's thread: where ends told elsewhere are announced, the strip going away,
  // and the ends that waited.
  void SetWindow(HWND window) { window_.store(window); }
  void Detach() { strip_ = nullptr; }
  void Drain();

 private:
  bool OnStripThread() const { return GetCurrentThreadId() == thread_; }

  TDownloadStrip* strip_;
  const DWORD thread_ = GetCurrentThreadId();
  std::atomic<HWND> window_{nullptr};
  std::mutex lock_;
  std::vector<std::pair<int, DownloadEnd>> waiting_;
};

struct DownloadLine {
  enum class State { Running, Saved, Short };
  int id = 0;
  std::u16string path;
  std::u16string source;  // the address the file came from
  int64_t received = 0;
  int64_t total = 0;  // 0 or less: not announced
  State state = State::Running;
  std::u16string note;     // for Short: what happened
  uint64_t endedAt = 0;    // tick of the end, for a saved line's own closing
};

class TDownloadStrip : public ui::TWinControl {
 public:
  static constexpr int kLineHeight = 26;
  static constexpr size_t kMaxLines = 3;
  // Shown after a click on "+N"; beyond this many lines the oldest saved ones close.
  static constexpr size_t kMaxExpandedLines = 6;
  // A saved line closes on its own after this long, but not while the pointer is on the strip.
  static constexpr uint64_t kSavedShownMs = 8000;
  // Milliseconds from some fixed start; GetTickCount64 unless a test sets its own.
  using Clock = std::function<uint64_t()>;

  explicit TDownloadStrip(ui::TComponent* owner);
  ~TDownloadStrip() override;

  // A new running download from source into that file; answers its identity.
  int Add(const std::u16string& path, int64_t total, const std::u16string& source = u"about:internet");
  // What the download's handler tells; it expires with the strip.
  std::weak_ptr<IDownloadObserver> Observer() const { return link_; }
  void Progress(int id, int64_t received);
  void Ended(int id, const DownloadEnd& end);
  // Closes a line that has ended.
  void CloseLine(int id);
  void OpenFile(int id);
  void ShowInFolder(int id);

  // Newest first, as they show.
  const std::vector<DownloadLine>& Lines() const { return lines_; }
  size_t Running() const;
  // Lines in view, and those "+N" counts.
  size_t Shown() const;
  size_t Hidden() const { return lines_.size() - Shown(); }

  void SetClock(Clock clock) { clock_ = std::move(clock); }
  // What the strip does ten times a second while something may change: progress painted,
  // saved lines past their time closed.
  void Tick();

  // What lies under a point of the strip.
  enum class Part { None, Open, Folder, Close, More };
  struct Hit {
    int id = 0;
    Part part = Part::None;
  };
  Hit HitTest(int x, int y) const;

  void MouseUp(ui::MouseButton button, ui::ShiftState shift, int x, int y) override;

 protected:
  void CreateParams(WindowParams& params) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PaintWindow(HDC dc) override;

 private:
  DownloadLine* Find(int id);
  // The strip's height follows its lines; the browser keeps the rest of the panel.
  void Relayout();
  // Shows the change now (lines came, went or ended).
  void Changed();
  // Shows it on the next tick: news from a download never waits for painting.
  void Schedule();
  // Beyond six lines the oldest saved ones go; running and short ones never do.
  void Trim();
  void PointerMoved();
  void PointerLeft();
  void UpdateTaskbar();
  void EnsureTimer();
  HWND TopWindow();

  std::shared_ptr<DownloadLink> link_;
  std::vector<DownloadLine> lines_;
  Clock clock_ = [] { return static_cast<uint64_t>(GetTickCount64()); };
  int nextId_ = 1;
  bool pointerOver_ = false;  // lines do not close by themselves meanwhile
  bool expanded_ = false;     // "+N" was clicked: up to six lines until the pointer leaves
  bool dirty_ = false;          // progress to paint on the next tick
  bool layoutPending_ = false;  // lines came or ended: the strip and the taskbar follow on the next tick
  bool timer_ = false;
  HWND taskbarWindow_ = nullptr;
  struct TaskbarShown {
    int state = 0;
    uint64_t done = 0, total = 0;
    bool operator==(const TaskbarShown&) const = default;
  } taskbarShown_;
};


// "1.5 MB", "300 KB", "12 B".
std::u16string ByteCount(int64_t bytes);

}  // namespace shell
