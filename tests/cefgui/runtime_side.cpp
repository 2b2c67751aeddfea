#include "runtime_side.h"

#include <cstring>

#include "cef/ceflib/loader.h"

namespace dispatch_tests {
namespace {

const testing_support::StandinControl& Standin() { return testing_support::ProgramStandin(); }

template <class S>
S* StandinObject(const char* kind) {
  return reinterpret_cast<S*>(Standin().standin_create_object(kind));
}

// A handler of class T handed to the runtime, whose reference is then its only one.
template <class T>
typename T::Wire* HandedOver() {
  Ref<T> handler = base::MakeRef<T>();
  return reinterpret_cast<typename T::Wire*>(handler->Wrap());
}

template <class T>
bool AllZero(const T& record) {
  static const T zero{};
  return std::memcmp(&record, &zero, sizeof(T)) == 0;
}

}  // namespace

RuntimeString::RuntimeString(std::u16string_view text) {
  cef::CefApi().cef_string_utf16_set(text.data(), static_cast<uint32_t>(text.size()), &record_, 1);
  made_ = record_;
}

RuntimeString::~RuntimeString() { cef::CefApi().cef_string_utf16_clear(&record_); }

bool RuntimeString::Untouched() const noexcept {
  return record_.str == made_.str && record_.length == made_.length && record_.dtor == made_.dtor;
}

RuntimeHandlers::RuntimeHandlers(TCefClient* c)
    : kinds_(c->get_life_span_handler(c), c->get_load_handler(c), c->get_request_handler(c),
             c->get_display_handler(c), c->get_focus_handler(c), c->get_keyboard_handler(c), c->get_menu_handler(c),
             c->get_print_handler(c), c->get_find_handler(c), c->get_jsdialog_handler(c),
             c->get_jsbinding_handler(c), c->get_render_handler(c), c->get_drag_handler(c)) {}

RuntimeHandlers RuntimeHandlers::PlainBases() {
  using namespace cef;
  return RuntimeHandlers(Kinds(HandedOver<TCefLifeSpanHandlerOwn>(), HandedOver<TCefLoadHandlerOwn>(),
                               HandedOver<TCefRequestHandlerOwn>(), HandedOver<TCefDisplayHandlerOwn>(),
                               HandedOver<TCefFocusHandlerOwn>(), HandedOver<TCefKeyboardHandlerOwn>(),
                               HandedOver<TCefMenuHandlerOwn>(), HandedOver<TCefPrintHandlerOwn>(),
                               HandedOver<TCefFindHandlerOwn>(), HandedOver<TCefJsDialogHandlerOwn>(),
                               HandedOver<TCefJsBindingHandlerOwn>(), HandedOver<TCefRenderHandlerOwn>(),
                               HandedOver<TCefDragHandlerOwn>()));
}

RuntimeHandlers::~RuntimeHandlers() {
  for (TCefBase* handler : All()) fakes::Release(handler);
}

std::vector<TCefBase*> RuntimeHandlers::All() const {
  // Each structure begins with its header; a kind may be null.
  return std::apply([](auto*... handlers) { return std::vector<TCefBase*>{reinterpret_cast<TCefBase*>(handlers)...}; },
                    kinds_);
}

RuntimeArgs::RuntimeArgs(TCefClient* client)
    : request(StandinObject<TCefRequest>("Request")),
      response(StandinObject<TCefResponse>("Response")),
      dragData(Standin().standin_create_drag_data(1, u"http://service.example/bid", u"공고", nullptr, nullptr,
                                                  nullptr, nullptr, nullptr, nullptr, nullptr)),
      stream(StandinObject<TCefStreamReader>("StreamReader")),
      filter(Standin().standin_create_object("PostData")),
      popupClient(client),
      clientSlot(Hand(client)),
      popupClientRefs_(client->base.get_refct(&client->base)) {
  settings.size = sizeof settings;
}

RuntimeArgs::~RuntimeArgs() {
  for (TCefString& margin : margins) cef::CefApi().cef_string_utf16_clear(&margin);
  cef::CefApi().cef_string_utf16_clear(&promptResult);
  fakes::Release(clientSlot);
  fakes::Release(streamSlot);
  fakes::Release(filterSlot);
  for (void* own : {static_cast<void*>(request), static_cast<void*>(response), static_cast<void*>(dragData),
                    static_cast<void*>(stream), static_cast<void*>(filter)}) {
    fakes::Release(own);
  }
}

void RuntimeArgs::FillObjectSlots() {
  streamSlot = Hand(stream);
  filterSlot = filter;
  filter->add_ref(filter);
}

testing::AssertionResult RuntimeArgs::Untouched() const {
  for (const RuntimeString* text : {&words, &url, &errorText, &redirectUrl, &username, &password, &tooltip, &label}) {
    if (!text->Untouched()) return testing::AssertionFailure() << "the string " << fakes::Text(&text->record());
  }
  for (const TCefString& margin : margins) {
    if (!AllZero(margin)) return testing::AssertionFailure() << "a header or footer string";
  }
  if (!AllZero(promptResult)) return testing::AssertionFailure() << "the prompt's result";
  if (!AllZero(features) || !AllZero(window) || !AllZero(menuInfo) || !AllZero(printInfo) ||
      !AllZero(printOptions) || !AllZero(rect) || screenX || screenY) {
    return testing::AssertionFailure() << "a record";
  }
  TCefBrowserSettings fresh{};
  fresh.size = sizeof fresh;
  if (std::memcmp(&settings, &fresh, sizeof fresh) != 0) return testing::AssertionFailure() << "the settings";
  if (allow != 7 || retval != 7) return testing::AssertionFailure() << "a Boolean slot";
  if (clientSlot != popupClient || popupClient->base.get_refct(&popupClient->base) != popupClientRefs_) {
    return testing::AssertionFailure() << "the client slot or its reference";
  }
  if (downloadSlot != kStaleDownloadHandler) return testing::AssertionFailure() << "the download handler slot";
  return testing::AssertionSuccess();
}

testing::AssertionResult RuntimeArgs::Balanced() const {
  if (browser.refs != 1 || frame.refs != 1 || value.refs != 1) {
    return testing::AssertionFailure() << "fake references: browser " << browser.refs << ", frame " << frame.refs
                                       << ", value " << value.refs;
  }
  for (const void* own : {static_cast<const void*>(request), static_cast<const void*>(response),
                          static_cast<const void*>(dragData)}) {
    int32_t refs = Standin().standin_refcount(static_cast<TCefBase*>(const_cast<void*>(own)));
    if (refs != 1) return testing::AssertionFailure() << "a stand-in object holds " << refs << " references";
  }
  // The stream and the filter may still sit in their slots, with the slot's reference.
  int32_t streamRefs = Standin().standin_refcount(&stream->base);
  int32_t filterRefs = Standin().standin_refcount(filter);
  if (streamRefs != 1 + (streamSlot == stream) || filterRefs != 1 + (filterSlot == filter)) {
    return testing::AssertionFailure() << "stream " << streamRefs << ", filter " << filterRefs << " references";
  }
  return testing::AssertionSuccess();
}

void DispatchTest::TearDown() {
  events->objects.clear();  // they may hold the stand-in's objects
  if (client) {
    EXPECT_EQ(client->RefCount(), 1) << "a reference to the client was not given back";
  }
  FakeTest::TearDown();
}

}  // namespace dispatch_tests
