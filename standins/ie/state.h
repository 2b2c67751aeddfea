#pragma once
// What the stand-in knows, for the whole process: the shell's window entries in order,
// the calls it was asked to fail, the record of what was done and the misuse it found.
// Internet Explorer's objects live in one single-threaded apartment, and so do these: the
// state is touched by the apartment's thread only and needs no lock.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ie/control.h"

namespace iestandin {

struct Entry {
  IEStandinEntryKind kind = kIEStandinEmpty;
  std::u16string address;
  HWND window = nullptr;
  bool visible = false;
  int32_t navigations = 0;

  bool IsBrowser() const { return kind == kIEStandinBrowser || kind == kIEStandinBrowserWithoutApp; }
};

class State {
 public:
  static State& Get();

  int32_t AddEntry(IEStandinEntryKind kind, std::u16string address, IEStandinShow show);
  // The entry at `index`, or null.
  Entry* At(int32_t index);
  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
  void Reset();

  // Bumped by Reset, so that objects handed out before it know their entry is gone.
  uint32_t Generation() const { return generation_; }

  void FailNext(std::string call, int32_t times, HRESULT result);
  // Takes the failure planned for this call without recording anything; S_OK when none.
  HRESULT TakeFailure(std::string_view call);
  // Answers the failure planned for this call (taking it), or S_OK; records `line` on
  // success and "<call> failed 0x…" otherwise.
  HRESULT Call(std::string_view call, const std::u16string& line);
  void Record(const std::u16string& line);
  void Misuse(const std::u16string& text);

  const std::u16string& RecordText() const { return record_; }
  const std::u16string& ErrorText() const { return errors_; }

  // Windows still open: the module must stay loaded while they can receive messages.
  bool HasWindows() const;
  // The entry whose window this is, or -1.
  int32_t IndexOfWindow(HWND window) const;
  // A browser's window was destroyed (closed by a person, say): its entry becomes empty.
  void WindowGone(HWND window);

 private:
  State();

  struct Failure {
    int32_t times;
    HRESULT result;
  };
  std::vector<Entry> entries_;
  std::map<std::string, Failure, std::less<>> failures_;
  std::u16string record_;
  std::u16string errors_;
  uint32_t generation_ = 0;
};

// COM objects alive; each object counts itself in and out.
std::atomic<int32_t>& LiveObjects();

// The module of the stand-in, for its window class and its registration.
HMODULE Module();

// Adds the entries that the environment variable IE_STANDIN_WINDOWS names (control.h).
void AddEntriesFromEnvironment(State& state);

std::u16string HexCode(HRESULT result);
std::u16string Decimal(int64_t value);

}  // namespace iestandin
