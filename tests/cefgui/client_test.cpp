// The client: its getters, the handlers it hands out, their lifetimes and their release.

#include <cstring>

#include "cef/cefgui/custom_client_handler.h"
#include "cef/cefgui/custom_handlers.h"
#include "runtime_side.h"

namespace dispatch_tests {
namespace {

using ClientTest = DispatchTest;

int32_t RefCountOf(TCefBase* wire) { return wire->get_refct(wire); }

// The entries after a structure's header, as the runtime reads them.
std::vector<void*> EntriesOf(const TCefBase* wire) {
  std::vector<void*> entries((wire->size - sizeof(TCefBase)) / sizeof(void*));
  std::memcpy(entries.data(), reinterpret_cast<const char*>(wire) + sizeof(TCefBase), entries.size() * sizeof(void*));
  return entries;
}

void ReleaseHandlersOf(const Ref<ICefBase>& client) {
  Ref<cef::IClientHandlerRelease> release = base::interface_cast<cef::IClientHandlerRelease>(client);
  ASSERT_TRUE(release) << "the client does not offer IClientHandlerRelease";
  release->ReleaseHandlers();
}

// A load handler that counts its instances.
class CountedLoadHandler : public cef::TCustomLoadHandler {
 public:
  CountedLoadHandler(cef::IChromiumEvents& crm, int& alive) : TCustomLoadHandler(crm), alive_(alive) { ++alive_; }
  ~CountedLoadHandler() override { --alive_; }

 private:
  int& alive_;
};

TEST_F(ClientTest, APlainClientAnswersNullForEveryKind) {
  Ref<cef::TCefClientOwn> plain = base::MakeRef<cef::TCefClientOwn>();
  auto* wire = plain->Struct<TCefClient>();
  EXPECT_EQ(wire->base.size, sizeof(TCefClient));
  RuntimeHandlers handlers(wire);
  std::vector<TCefBase*> all = handlers.All();
  EXPECT_EQ(all, std::vector<TCefBase*>(13, nullptr));
  EXPECT_EQ(plain->RefCount(), 1) << "a getter kept a reference to the client";
}

TEST_F(ClientTest, EveryKindIsAFullyFilledStructureOfItsOwnSize) {
  EXPECT_EQ(ClientWire()->base.size, sizeof(TCefClient));
  for (void* getter : EntriesOf(&ClientWire()->base)) EXPECT_NE(getter, nullptr);
  RuntimeHandlers handlers(ClientWire());
  const std::vector<uint32_t> sizes = {
      sizeof(TCefLifeSpanHandler), sizeof(TCefLoadHandler),     sizeof(TCefRequestHandler),
      sizeof(TCefDisplayHandler),  sizeof(TCefFocusHandler),    sizeof(TCefKeyboardHandler),
      sizeof(TCefMenuHandler),     sizeof(TCefPrintHandler),    sizeof(TCefFindHandler),
      sizeof(TCefJsDialogHandler), sizeof(TCefJsBindingHandler), sizeof(TCefRenderHandler),
      sizeof(TCefDragHandler)};
  std::vector<TCefBase*> all = handlers.All();
  ASSERT_EQ(all.size(), sizes.size());
  for (size_t kind = 0; kind < all.size(); ++kind) {
    ASSERT_NE(all[kind], nullptr) << "kind " << kind + 1;
    EXPECT_EQ(all[kind]->size, sizes[kind]) << "kind " << kind + 1;
    for (void* entry : EntriesOf(all[kind])) EXPECT_NE(entry, nullptr) << "kind " << kind + 1;
  }
}

TEST_F(ClientTest, EachGetterHandsOutTheSameHandlerWithOneNewReferenceEachTime) {
  RuntimeHandlers first(ClientWire());
  std::vector<int32_t> counts;
  for (TCefBase* handler : first.All()) counts.push_back(RefCountOf(handler));
  {
    RuntimeHandlers second(ClientWire());
    EXPECT_EQ(second.All(), first.All());
    for (size_t kind = 0; kind < counts.size(); ++kind) {
      EXPECT_EQ(RefCountOf(first.All()[kind]), counts[kind] + 1) << "kind " << kind + 1;
    }
  }
  for (size_t kind = 0; kind < counts.size(); ++kind) EXPECT_EQ(RefCountOf(first.All()[kind]), counts[kind]);
  // The client's own field and the runtime's one reference.
  EXPECT_EQ(counts, std::vector<int32_t>(13, 2));
}

TEST_F(ClientTest, AfterReleaseHandlersEveryGetterAnswersNullAndASecondReleaseChangesNothing) {
  ReleaseHandlersOf(client);
  {
    RuntimeHandlers released(ClientWire());
    EXPECT_EQ(released.All(), std::vector<TCefBase*>(13, nullptr));
  }
  ReleaseHandlersOf(client);
  RuntimeHandlers again(ClientWire());
  EXPECT_EQ(again.All(), std::vector<TCefBase*>(13, nullptr));
  EXPECT_TRUE(events->calls.empty());
}

TEST_F(ClientTest, AHandlerTheRuntimeStillHoldsIsCutOffByReleaseAndLivesUntilItsLastRelease) {
  TCefLoadHandler* load = ClientWire()->get_load_handler(ClientWire());
  ReleaseHandlersOf(client);
  client = nullptr;  // the client goes too; the handler is the runtime's alone now
  EXPECT_EQ(RefCountOf(&load->base), 1);
  events->answer = true;
  events->texts["errorText"] = u"from the control";
  fakes::FakeBrowser browser;
  fakes::FakeFrame frame;
  RuntimeString errorText(u"net::ERR_FAILED");
  load->on_load_start(load, browser.Hand(), frame.Hand());
  EXPECT_EQ(load->on_load_error(load, browser.Hand(), frame.Hand(), -105, nullptr, errorText.get()), 0);
  EXPECT_TRUE(errorText.Untouched());
  EXPECT_TRUE(events->calls.empty()) << "a released handler reached the control";
  EXPECT_EQ(load->base.release(&load->base), 0);
  EXPECT_EQ(browser.refs, 1);
  EXPECT_EQ(frame.refs, 1);
}

TEST_F(ClientTest, ACountedHandlerIsDestroyedExactlyWhenTheRuntimeLetsGoLast) {
  int alive = 0;
  auto* wire = [&] {
    Ref<CountedLoadHandler> handler = base::MakeRef<CountedLoadHandler>(*events, alive);
    return reinterpret_cast<TCefLoadHandler*>(handler->Wrap());
  }();
  EXPECT_EQ(alive, 1) << "the runtime's reference keeps it";
  fakes::FakeBrowser browser;
  fakes::FakeFrame frame;
  wire->on_load_end(wire, browser.Hand(), frame.Hand(), 304);
  EXPECT_EQ(events->calls.size(), 1u);
  EXPECT_EQ(alive, 1);
  wire->base.release(&wire->base);
  EXPECT_EQ(alive, 0);
}

TEST_F(ClientTest, DestroyingTheClientReleasesTheHandlersItStillHolds) {
  TCefDragHandler* drag = ClientWire()->get_drag_handler(ClientWire());
  EXPECT_EQ(RefCountOf(&drag->base), 2);
  client = nullptr;
  EXPECT_EQ(RefCountOf(&drag->base), 1) << "only the runtime's reference is left";
  fakes::Release(drag);
}

TEST_F(ClientTest, AFailingGetterIsReportedOnceAndAnswersNull) {
  class FailingClient : public cef::TCefClientOwn {
   public:
    void GetPrintHandler(Ref<ICefBase>&) override { throw platform::Exception(u"no printer"); }
  };
  Ref<FailingClient> failing = base::MakeRef<FailingClient>();
  auto* wire = failing->Struct<TCefClient>();
  EXPECT_EQ(wire->get_print_handler(wire), nullptr);
  EXPECT_EQ(reports, std::vector<std::u16string>{u"no printer"});
  EXPECT_EQ(failing->RefCount(), 1);
}

}  // namespace
}  // namespace dispatch_tests
