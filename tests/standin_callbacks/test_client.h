#pragma once
// A program's client as the runtime sees it, made for tests: a client structure and one
// handler structure of each of the thirteen kinds, every callback a static function that
// records what it received and answers what the test says. Every structure counts its
// references, so that a test can tell that the runtime released all it was given.

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "cef/ceflib/capi.h"
#include "cef/ceflib/loader.h"

namespace callback_testing {

// One callback as a handler received it. The argument lists follow the wire's order,
// sorted by what each argument is; pointers are valid only while the callback runs.
struct Seen {
  std::string name;  // "kind.member", as the control interface names callbacks
  TCefBrowser* browser = nullptr;
  TCefFrame* frame = nullptr;
  TCefRequest* request = nullptr;         // also among the objects
  std::vector<TCefBase*> objects;        // requests, responses, script values, drag data
  std::vector<int64_t> numbers;          // integers, Booleans, enumerations, lengths; filled integers as they came
  std::vector<std::u16string> texts;     // strings, read and filled alike, as they came
  std::vector<TCefString*> outTexts;     // strings the handler may fill
  std::vector<int32_t*> outInts;         // integers the handler may fill
  std::vector<void**> slots;             // object slots
  std::vector<void*> records;            // records by pointer
  std::vector<const void*> pointers;     // raw pointers and handles
  // Read while the callback ran.
  std::u16string frameUrl;
  std::u16string requestUrl;
  int32_t frameIsMain = -1;
};

// A structure of the test's own that counts its references.
template <class W>
struct Counted {
  W wire{};
  std::atomic<int32_t> refs{0};
  std::atomic<int32_t> underflows{0};
  void* owner = nullptr;
};

class TestClient {
 public:
  using Answer = std::function<int32_t(Seen&)>;

  explicit TestClient(const cef::CefExports& api);
  TestClient(const TestClient&) = delete;
  TestClient& operator=(const TestClient&) = delete;

  // The client with a new reference, for the runtime; Peek adds none.
  TCefClient* Hand();
  TCefClient* Peek() { return &client_.wire; }
  // What the callback of that name does: the function runs inside it and gives its answer
  // (unset, the answer is 0).
  void On(const std::string& name, Answer answer) { answers_[name] = std::move(answer); }
  // Every callback answers 0 again.
  void ForgetAnswers() { answers_.clear(); }
  // The getter of a kind ("load", ...) answers null from now on.
  void Without(const std::string& kind) { absent_.push_back(kind); }

  // Every callback so far, in order; pointers are cleared once the callback returned.
  const std::vector<Seen>& Calls() const { return calls_; }
  std::vector<std::string> Names(const std::string& prefix = "") const;
  // The last callback of that name; fails the test when there is none.
  const Seen& Last(const std::string& name) const;
  int Count(const std::string& name) const;

  // References the runtime still holds to the client and its handlers, and releases past zero.
  int32_t References() const;
  int32_t Underflows() const;

  // Fills a string the runtime gave, as the program does with the runtime's functions:
  // Assign replaces the text (the old characters are freed); Store writes a new copy
  // without freeing what was there, for records the runtime passes zeroed.
  void Assign(TCefString* out, const std::u16string& text) const;
  void Store(TCefString* out, const std::u16string& text) const;
  std::u16string Take(TCefStringUserFree text) const;
  const cef::CefExports& Api() const { return api_; }

  // Called by the callbacks.
  int32_t Receive(Seen& seen);
  TCefBase* HandlerFor(const char* kind, TCefBase* handler);

 private:
  void InstallCallbacks();

  const cef::CefExports& api_;
  std::map<std::string, Answer> answers_;
  std::vector<std::string> absent_;
  std::vector<Seen> calls_;

  Counted<TCefClient> client_;
  Counted<TCefLifeSpanHandler> lifeSpan_;
  Counted<TCefLoadHandler> load_;
  Counted<TCefRequestHandler> request_;
  Counted<TCefDisplayHandler> display_;
  Counted<TCefFocusHandler> focus_;
  Counted<TCefKeyboardHandler> keyboard_;
  Counted<TCefMenuHandler> menu_;
  Counted<TCefPrintHandler> print_;
  Counted<TCefFindHandler> find_;
  Counted<TCefJsDialogHandler> jsDialog_;
  Counted<TCefJsBindingHandler> jsBinding_;
  Counted<TCefRenderHandler> render_;
  Counted<TCefDragHandler> drag_;
};

// Sets up a counted structure's header: its size and the three counting members.
template <class W>
void InitCounted(Counted<W>& counted, void* owner);

// A download handler of the test's: keeps the bytes it receives and logs "data N",
// "complete" and "released" (when the runtime's last reference goes), in order.
class TestDownloadHandler {
 public:
  TestDownloadHandler();
  TCefDownloadHandler* Hand();
  TCefDownloadHandler* Peek() { return &handler_.wire; }
  // received_data answers this (unset: the size of each chunk).
  int32_t answer = -1;
  std::vector<uint8_t> bytes;
  std::vector<std::string> log;
  int32_t References() const { return handler_.refs; }
  int32_t Underflows() const { return handler_.underflows; }
  Counted<TCefDownloadHandler> handler_;
};

// A plain structure of the test's with only a header: what a program puts in slots the
// runtime only holds (a response filter, a client it never calls).
class TestObject {
 public:
  explicit TestObject(uint32_t size = sizeof(TCefBase));
  TCefBase* Hand();
  TCefBase* Peek() { return &object_.wire; }
  int32_t References() const { return object_.refs; }
  int32_t Underflows() const { return object_.underflows; }

 private:
  Counted<TCefBase> object_;
};

}  // namespace callback_testing
