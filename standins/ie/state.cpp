#include "ie/state.h"

#include "ie/browser_window.h"

namespace iestandin {
namespace {

std::u16string EnvironmentText(const wchar_t* name) {
  wchar_t buffer[4096];
  DWORD length = GetEnvironmentVariableW(name, buffer, sizeof buffer / sizeof buffer[0]);
  if (length == 0 || length >= sizeof buffer / sizeof buffer[0]) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(buffer), length);
}

// Appends one line to the log file named by IE_STANDIN_LOG, opened for each line so that
// readers in other processes see it at once and several writers can share the file.
void AppendToLog(const std::u16string& line) {
  std::u16string path = EnvironmentText(L"IE_STANDIN_LOG");
  if (path.empty()) return;
  HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::u16string withBreak = line + u"\n";
  int size = WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(withBreak.data()),
                                 static_cast<int>(withBreak.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(withBreak.data()),
                      static_cast<int>(withBreak.size()), utf8.data(), size, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(file);
}

std::u16string Widen(std::string_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

State& State::Get() {
  static State state;
  // Seeded after construction, and guarded by a plain flag: creating a window calls the
  // window procedure, which may ask for the state again.
  static bool seeded = false;
  if (!seeded) {
    seeded = true;
    AddEntriesFromEnvironment(state);
  }
  return state;
}

State::State() = default;

int32_t State::AddEntry(IEStandinEntryKind kind, std::u16string address, IEStandinShow show) {
  Entry entry;
  entry.kind = kind;
  entry.address = std::move(address);
  if (entry.IsBrowser()) {
    entry.window = CreateBrowserWindow(entry.address, show);
    entry.visible = show != kIEStandinHidden;
  }
  entries_.push_back(std::move(entry));
  return Count() - 1;
}

Entry* State::At(int32_t index) {
  if (index < 0 || index >= Count()) return nullptr;
  return &entries_[static_cast<size_t>(index)];
}

void State::Reset() {
  // Destroying a window comes back through WindowGone, which must find nothing to change.
  std::vector<Entry> entries = std::move(entries_);
  entries_.clear();
  for (Entry& entry : entries)
    if (entry.window) DestroyWindow(entry.window);
  failures_.clear();
  record_.clear();
  errors_.clear();
  ++generation_;
  AddEntriesFromEnvironment(*this);
}

void State::FailNext(std::string call, int32_t times, HRESULT result) {
  if (times <= 0) failures_.erase(call);
  else failures_[std::move(call)] = {times, result};
}

HRESULT State::TakeFailure(std::string_view call) {
  auto failure = failures_.find(call);
  if (failure == failures_.end()) return S_OK;
  HRESULT result = failure->second.result;
  if (--failure->second.times <= 0) failures_.erase(failure);
  return result;
}

HRESULT State::Call(std::string_view call, const std::u16string& line) {
  HRESULT result = TakeFailure(call);
  if (SUCCEEDED(result)) Record(line);
  else Record(Widen(call) + u" failed " + HexCode(result));
  return result;
}

void State::Record(const std::u16string& line) {
  record_ += line + u"\n";
  AppendToLog(line);
}

void State::Misuse(const std::u16string& text) {
  errors_ += text + u"\n";
  AppendToLog(u"error: " + text);
}

bool State::HasWindows() const {
  for (const Entry& entry : entries_)
    if (entry.window) return true;
  return false;
}

int32_t State::IndexOfWindow(HWND window) const {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].window == window) return static_cast<int32_t>(i);
  return -1;
}

void State::WindowGone(HWND window) {
  int32_t index = IndexOfWindow(window);
  if (index < 0) return;
  Entry& entry = entries_[static_cast<size_t>(index)];
  entry = Entry{};
}

std::atomic<int32_t>& LiveObjects() {
  static std::atomic<int32_t> count{0};
  return count;
}

void AddEntriesFromEnvironment(State& state) {
  static const std::pair<std::u16string_view, std::pair<IEStandinEntryKind, IEStandinShow>> kinds[] = {
      {u"browser", {kIEStandinBrowser, kIEStandinShown}},
      {u"minimised", {kIEStandinBrowser, kIEStandinMinimised}},
      {u"hidden", {kIEStandinBrowser, kIEStandinHidden}},
      {u"folder", {kIEStandinNotBrowser, kIEStandinHidden}},
      {u"empty", {kIEStandinEmpty, kIEStandinHidden}},
      {u"noapp", {kIEStandinBrowserWithoutApp, kIEStandinShown}},
  };
  std::u16string text = EnvironmentText(L"IE_STANDIN_WINDOWS");
  std::u16string_view rest = text;
  while (!rest.empty()) {
    size_t end = rest.find(u'|');
    std::u16string_view item = rest.substr(0, end);
    rest = end == std::u16string_view::npos ? std::u16string_view() : rest.substr(end + 1);
    size_t colon = item.find(u':');
    std::u16string_view kind = item.substr(0, colon);
    std::u16string_view address = colon == std::u16string_view::npos ? std::u16string_view() : item.substr(colon + 1);
    for (const auto& known : kinds)
      if (known.first == kind) state.AddEntry(known.second.first, std::u16string(address), known.second.second);
  }
}

std::u16string HexCode(HRESULT result) {
  static const char16_t digits[] = u"0123456789ABCDEF";
  std::u16string text = u"0x";
  auto value = static_cast<uint32_t>(result);
  for (int shift = 28; shift >= 0; shift -= 4) text += digits[(value >> shift) & 0xF];
  return text;
}

std::u16string Decimal(int64_t value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace iestandin
