#pragma once
// The runtime's side of the handlers' entries: the strings, objects, records and out slots
// it hands them, the handler structures it gets from a client, and one call of every entry.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "cef/cefgui/custom_client_handler.h"
#include "cef/ceflib/handlers.h"
#include "ceflib/fake_objects.h"
#include "recording_events.h"

namespace dispatch_tests {

using fakes::Ptr;
// What the recording control noted, one call a line.
using Calls = std::vector<std::string>;

// A string as the runtime passes it: characters the runtime allocated, with its dtor.
class RuntimeString {
 public:
  explicit RuntimeString(std::u16string_view text);
  RuntimeString(const RuntimeString&) = delete;
  RuntimeString& operator=(const RuntimeString&) = delete;
  ~RuntimeString();

  TCefString* get() noexcept { return &record_; }
  const TCefString& record() const noexcept { return record_; }
  std::u16string Text() const { return cef::CefStringRead(&record_); }
  // Still the very record the runtime made: its characters, length and dtor.
  bool Untouched() const noexcept;

 private:
  TCefString record_{};
  TCefString made_{};
};

// The thirteen handler structures as the runtime holds them, one reference each, released
// when this goes.
class RuntimeHandlers {
 public:
  using Kinds = std::tuple<TCefLifeSpanHandler*, TCefLoadHandler*, TCefRequestHandler*, TCefDisplayHandler*,
                           TCefFocusHandler*, TCefKeyboardHandler*, TCefMenuHandler*, TCefPrintHandler*,
                           TCefFindHandler*, TCefJsDialogHandler*, TCefJsBindingHandler*, TCefRenderHandler*,
                           TCefDragHandler*>;

  // Asked from the client through its getters, as the runtime asks.
  explicit RuntimeHandlers(TCefClient* client);
  // Plain bases of every kind, each held by the runtime's reference alone.
  static RuntimeHandlers PlainBases();
  RuntimeHandlers(const RuntimeHandlers&) = delete;
  RuntimeHandlers& operator=(const RuntimeHandlers&) = delete;
  ~RuntimeHandlers();

  template <class S>
  S* Get() const noexcept {
    return std::get<S*>(kinds_);
  }
  std::vector<TCefBase*> All() const;

 private:
  explicit RuntimeHandlers(const Kinds& kinds) : kinds_(kinds) {}
  Kinds kinds_;
};

// An out slot value the program must never read, release or keep.
inline TCefDownloadHandler* const kStaleDownloadHandler = reinterpret_cast<TCefDownloadHandler*>(uintptr_t{0x5A5A50});

// Everything the runtime hands the entries: fakes for browsers, frames and script values,
// the stand-in's requests, responses, stream readers and drag data, the runtime's strings,
// records, and out slots that keep their values until the program writes them.
struct RuntimeArgs {
  // popupClient: the client a pop-up brings in its client slot, which gets a reference of
  // its own.
  explicit RuntimeArgs(TCefClient* popupClient);
  RuntimeArgs(const RuntimeArgs&) = delete;
  RuntimeArgs& operator=(const RuntimeArgs&) = delete;
  // Releases what the slots still hold and the test's own references.
  ~RuntimeArgs();

  // One more reference for one more crossing into the program.
  TCefBrowser* Browser() { return browser.Hand(); }
  TCefFrame* Frame() { return frame.Hand(); }
  template <class S>
  static S* Hand(S* object) {
    object->base.add_ref(&object->base);
    return object;
  }
  // Puts a stream reader and a filter into their slots, one reference each.
  void FillObjectSlots();

  // Nothing written: every string, record, flag and slot as the runtime left it.
  testing::AssertionResult Untouched() const;
  // Every reference the program received has been released.
  testing::AssertionResult Balanced() const;

  fakes::FakeBrowser browser;
  fakes::FakeFrame frame;
  fakes::FakeV8Value value;
  TCefRequest* request;
  TCefResponse* response;
  TCefDragData* dragData;
  TCefStreamReader* stream;
  TCefBase* filter;

  RuntimeString words{u"말씀"};
  RuntimeString url{u"http://service.example/popup"};
  RuntimeString errorText{u"net::ERR_FAILED"};
  RuntimeString redirectUrl{u""};
  RuntimeString username{u"kim"};
  RuntimeString password{u"secret"};
  RuntimeString tooltip{u"입찰 공고"};
  RuntimeString label{u"&Back"};
  // The records the runtime passes for strings the program produces: zeroed.
  TCefString margins[6]{};
  TCefString promptResult{};

  TCefPopupFeatures features{};
  TCefWindowInfo window{};
  TCefBrowserSettings settings{};
  TCefHandlerMenuInfo menuInfo{};
  TCefPrintInfo printInfo{};
  TCefPrintOptions printOptions{};
  TCefRect rect{};
  int32_t screenX = 0;
  int32_t screenY = 0;
  TCefBool allow = 7;
  TCefBool retval = 7;

  TCefClient* popupClient;
  TCefClient* clientSlot;
  TCefStreamReader* streamSlot = nullptr;
  TCefBase* filterSlot = nullptr;
  TCefDownloadHandler* downloadSlot = kStaleDownloadHandler;

 private:
  int32_t popupClientRefs_;
};

// One entry of one handler kind, called as the runtime calls it.
struct EntryCall {
  const char* entry;      // the structure's member, for messages
  const char* operation;  // the event operation it reaches through the control-side handler
  bool answers;           // whether the runtime takes an answer from it
  std::function<TCefBool(const RuntimeHandlers&, RuntimeArgs&)> call;
};

// Every entry of the thirteen kinds, in kind and entry order.
const std::vector<EntryCall>& EveryEntry();

// The fixture: a control-side client over a recording control, and the stand-in's accounts
// checked at the end.
class DispatchTest : public fakes::FakeTest {
 protected:
  void TearDown() override;

  TCefClient* ClientWire() { return client->Struct<TCefClient>(); }

  Ref<RecordingEvents> events = base::MakeRef<RecordingEvents>();
  Ref<cef::TCustomClientHandler> client = base::MakeRef<cef::TCustomClientHandler>(*events);
};

// The fixture with the runtime's arguments and the client's handlers ready; both go before
// the stand-in's accounts are checked.
class SceneTest : public DispatchTest {
 protected:
  void TearDown() override {
    scene_.reset();
    DispatchTest::TearDown();
  }

 private:
  struct Scene {
    explicit Scene(TCefClient* client) : args(client), handlers(client) {}
    RuntimeArgs args;
    RuntimeHandlers handlers;
  };
  std::optional<Scene> scene_{std::in_place, ClientWire()};

 protected:
  RuntimeArgs& args = scene_->args;
  const RuntimeHandlers& handlers = scene_->handlers;
  std::string Browser() const { return fakes::Ptr(&args.browser.wire); }
  std::string Frame() const { return fakes::Ptr(&args.frame.wire); }
};

}  // namespace dispatch_tests
