#include "standin_callbacks/test_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <type_traits>

namespace callback_testing {
namespace {

template <class W>
TCefBase& Header(W& wire) {
  if constexpr (std::is_same_v<W, TCefBase>) return wire;
  else return wire.base;
}

template <class W>
Counted<W>& CountedOf(TCefBase* self) {
  return *reinterpret_cast<Counted<W>*>(self);
}

template <class W>
int32_t CEF_CALLBACK AddRef(TCefBase* self) {
  return ++CountedOf<W>(self).refs;
}

template <class W>
int32_t CEF_CALLBACK Release(TCefBase* self) {
  int32_t count = --CountedOf<W>(self).refs;
  if (count < 0) ++CountedOf<W>(self).underflows;
  return count;
}

template <class W>
int32_t CEF_CALLBACK RefCount(TCefBase* self) {
  return CountedOf<W>(self).refs;
}

template <class W>
W* HandCounted(Counted<W>& counted) {
  ++counted.refs;
  return &counted.wire;
}

void ReleaseObject(TCefBase* object) {
  if (object) object->release(object);
}

// A name usable as a template argument: the callback's "kind.member".
template <size_t N>
struct Name {
  constexpr Name(const char (&text)[N]) { std::copy_n(text, N, value); }
  char value[N];
};

template <class T>
void Note(Seen& seen, T arg) {
  using P = std::remove_cv_t<std::remove_pointer_t<T>>;
  if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
    seen.numbers.push_back(static_cast<int64_t>(arg));
  } else if constexpr (std::is_same_v<T, const TCefString*>) {
    seen.texts.push_back(arg && arg->str ? std::u16string(arg->str, arg->length) : std::u16string());
  } else if constexpr (std::is_same_v<T, TCefString*>) {
    seen.texts.push_back(arg && arg->str ? std::u16string(arg->str, arg->length) : std::u16string());
    seen.outTexts.push_back(arg);
  } else if constexpr (std::is_same_v<T, int32_t*>) {
    seen.numbers.push_back(arg ? *arg : 0);
    seen.outInts.push_back(arg);
  } else if constexpr (std::is_void_v<P>) {
    seen.pointers.push_back(arg);
  } else if constexpr (std::is_pointer_v<P>) {
    seen.slots.push_back(reinterpret_cast<void**>(arg));
  } else if constexpr (std::is_same_v<P, TCefFrame>) {
    seen.frame = arg;
  } else if constexpr (std::is_same_v<P, TCefRequest>) {
    seen.request = arg;
    seen.objects.push_back(reinterpret_cast<TCefBase*>(arg));
  } else if constexpr (requires { arg->base; }) {
    seen.objects.push_back(reinterpret_cast<TCefBase*>(arg));
  } else {
    seen.records.push_back(const_cast<P*>(arg));
  }
}

template <class C, class F>
F FieldType(F C::*);

template <class F, Name N>
struct Thunk;
template <class R, class H, class... A, Name N>
struct Thunk<R(CEF_CALLBACK*)(H*, TCefBrowser*, A...), N> {
  static R CEF_CALLBACK Call(H* self, TCefBrowser* browser, A... args) {
    Seen seen;
    seen.name = N.value;
    seen.browser = browser;
    (Note(seen, args), ...);
    auto* client = static_cast<TestClient*>(reinterpret_cast<Counted<H>*>(self)->owner);
    int32_t answer = client->Receive(seen);
    if constexpr (!std::is_void_v<R>) return static_cast<R>(answer);
  }
};

#define TEST_INSTALL(kind, field, H, member) \
  field.wire.member = &Thunk<decltype(FieldType(&H::member)), Name(#kind "." #member)>::Call;

template <class W, Counted<W> TestClient::*Field>
TCefBase* Getter(TestClient* client, const char* kind) {
  return client->HandlerFor(kind, &Header(*HandCounted(client->*Field)));
}

}  // namespace

template <class W>
void InitCounted(Counted<W>& counted, void* owner) {
  TCefBase& header = Header(counted.wire);
  header.size = sizeof(W);
  header.add_ref = &AddRef<W>;
  header.release = &Release<W>;
  header.get_refct = &RefCount<W>;
  counted.owner = owner;
}

TestClient::TestClient(const cef::CefExports& api) : api_(api) {
  InitCounted(client_, this);
  std::apply([this](auto&... handler) { (InitCounted(handler, this), ...); },
             std::tie(lifeSpan_, load_, request_, display_, focus_, keyboard_, menu_, print_, find_, jsDialog_,
                      jsBinding_, render_, drag_));
  InstallCallbacks();
}

TCefClient* TestClient::Hand() { return HandCounted(client_); }

TCefBase* TestClient::HandlerFor(const char* kind, TCefBase* handler) {
  if (std::find(absent_.begin(), absent_.end(), kind) == absent_.end()) return handler;
  handler->release(handler);
  return nullptr;
}

int32_t TestClient::Receive(Seen& seen) {
  if (seen.frame) {
    seen.frameUrl = Take(seen.frame->get_url(seen.frame));
    seen.frameIsMain = seen.frame->is_main(seen.frame);
  }
  if (seen.request) seen.requestUrl = Take(seen.request->get_url(seen.request));
  calls_.push_back(seen);
  auto answer = answers_.find(seen.name);
  int32_t result = answer == answers_.end() ? 0 : answer->second(seen);
  ReleaseObject(reinterpret_cast<TCefBase*>(seen.browser));
  ReleaseObject(reinterpret_cast<TCefBase*>(seen.frame));
  for (TCefBase* object : seen.objects) ReleaseObject(object);
  return result;
}

std::vector<std::string> TestClient::Names(const std::string& prefix) const {
  std::vector<std::string> names;
  for (const Seen& seen : calls_)
    if (seen.name.rfind(prefix, 0) == 0) names.push_back(seen.name);
  return names;
}

const Seen& TestClient::Last(const std::string& name) const {
  for (auto it = calls_.rbegin(); it != calls_.rend(); ++it)
    if (it->name == name) return *it;
  ADD_FAILURE() << "no callback " << name;
  static const Seen none;
  return none;
}

int TestClient::Count(const std::string& name) const {
  return static_cast<int>(std::count_if(calls_.begin(), calls_.end(), [&](const Seen& s) { return s.name == name; }));
}

int32_t TestClient::References() const {
  int32_t total = client_.refs;
  std::apply([&](const auto&... handler) { total += (handler.refs + ...); },
             std::tie(lifeSpan_, load_, request_, display_, focus_, keyboard_, menu_, print_, find_, jsDialog_,
                      jsBinding_, render_, drag_));
  return total;
}

int32_t TestClient::Underflows() const {
  int32_t total = client_.underflows;
  std::apply([&](const auto&... handler) { total += (handler.underflows + ...); },
             std::tie(lifeSpan_, load_, request_, display_, focus_, keyboard_, menu_, print_, find_, jsDialog_,
                      jsBinding_, render_, drag_));
  return total;
}

void TestClient::Assign(TCefString* out, const std::u16string& text) const {
  api_.cef_string_utf16_set(text.data(), static_cast<uint32_t>(text.size()), out, 1);
}

void TestClient::Store(TCefString* out, const std::u16string& text) const {
  TCefString copy{};
  api_.cef_string_utf16_set(text.data(), static_cast<uint32_t>(text.size()), &copy, 1);
  *out = copy;
}

std::u16string TestClient::Take(TCefStringUserFree text) const {
  if (!text) return {};
  std::u16string value = text->str ? std::u16string(text->str, text->length) : std::u16string();
  api_.cef_string_userfree_utf16_free(text);
  return value;
}

#define TEST_GETTER(getter, kind, field, H)                                                   \
  c.getter = [](TCefClient* self) CEF_CALLBACK {                                               \
    auto* client = static_cast<TestClient*>(CountedOf<TCefClient>(&self->base).owner);         \
    return reinterpret_cast<H*>(Getter<H, &TestClient::field>(client, kind));                  \
  };

void TestClient::InstallCallbacks() {
  TCefClient& c = client_.wire;
  TEST_GETTER(get_life_span_handler, "life_span", lifeSpan_, TCefLifeSpanHandler)
  TEST_GETTER(get_load_handler, "load", load_, TCefLoadHandler)
  TEST_GETTER(get_request_handler, "request", request_, TCefRequestHandler)
  TEST_GETTER(get_display_handler, "display", display_, TCefDisplayHandler)
  TEST_GETTER(get_focus_handler, "focus", focus_, TCefFocusHandler)
  TEST_GETTER(get_keyboard_handler, "keyboard", keyboard_, TCefKeyboardHandler)
  TEST_GETTER(get_menu_handler, "menu", menu_, TCefMenuHandler)
  TEST_GETTER(get_print_handler, "print", print_, TCefPrintHandler)
  TEST_GETTER(get_find_handler, "find", find_, TCefFindHandler)
  TEST_GETTER(get_jsdialog_handler, "jsdialog", jsDialog_, TCefJsDialogHandler)
  TEST_GETTER(get_jsbinding_handler, "jsbinding", jsBinding_, TCefJsBindingHandler)
  TEST_GETTER(get_render_handler, "render", render_, TCefRenderHandler)
  TEST_GETTER(get_drag_handler, "drag", drag_, TCefDragHandler)

  TEST_INSTALL(life_span, lifeSpan_, TCefLifeSpanHandler, on_before_popup)
  TEST_INSTALL(life_span, lifeSpan_, TCefLifeSpanHandler, on_after_created)
  TEST_INSTALL(life_span, lifeSpan_, TCefLifeSpanHandler, run_modal)
  TEST_INSTALL(life_span, lifeSpan_, TCefLifeSpanHandler, do_close)
  TEST_INSTALL(life_span, lifeSpan_, TCefLifeSpanHandler, on_before_close)
  TEST_INSTALL(load, load_, TCefLoadHandler, on_load_start)
  TEST_INSTALL(load, load_, TCefLoadHandler, on_load_end)
  TEST_INSTALL(load, load_, TCefLoadHandler, on_load_error)
  TEST_INSTALL(request, request_, TCefRequestHandler, on_before_browse)
  TEST_INSTALL(request, request_, TCefRequestHandler, on_before_resource_load)
  TEST_INSTALL(request, request_, TCefRequestHandler, on_resource_response)
  TEST_INSTALL(request, request_, TCefRequestHandler, on_protocol_execution)
  TEST_INSTALL(request, request_, TCefRequestHandler, get_download_handler)
  TEST_INSTALL(request, request_, TCefRequestHandler, get_auth_credentials)
  TEST_INSTALL(display, display_, TCefDisplayHandler, on_nav_state_change)
  TEST_INSTALL(display, display_, TCefDisplayHandler, on_address_change)
  TEST_INSTALL(display, display_, TCefDisplayHandler, on_title_change)
  TEST_INSTALL(display, display_, TCefDisplayHandler, on_tooltip)
  TEST_INSTALL(display, display_, TCefDisplayHandler, on_status_message)
  TEST_INSTALL(display, display_, TCefDisplayHandler, on_console_message)
  TEST_INSTALL(focus, focus_, TCefFocusHandler, on_take_focus)
  TEST_INSTALL(focus, focus_, TCefFocusHandler, on_set_focus)
  TEST_INSTALL(keyboard, keyboard_, TCefKeyboardHandler, on_key_event)
  TEST_INSTALL(menu, menu_, TCefMenuHandler, on_before_menu)
  TEST_INSTALL(menu, menu_, TCefMenuHandler, get_menu_label)
  TEST_INSTALL(menu, menu_, TCefMenuHandler, on_menu_action)
  TEST_INSTALL(print, print_, TCefPrintHandler, get_print_options)
  TEST_INSTALL(print, print_, TCefPrintHandler, get_print_header_footer)
  TEST_INSTALL(find, find_, TCefFindHandler, on_find_result)
  TEST_INSTALL(jsdialog, jsDialog_, TCefJsDialogHandler, on_jsalert)
  TEST_INSTALL(jsdialog, jsDialog_, TCefJsDialogHandler, on_jsconfirm)
  TEST_INSTALL(jsdialog, jsDialog_, TCefJsDialogHandler, on_jsprompt)
  TEST_INSTALL(jsbinding, jsBinding_, TCefJsBindingHandler, on_jsbinding)
  TEST_INSTALL(render, render_, TCefRenderHandler, get_view_rect)
  TEST_INSTALL(render, render_, TCefRenderHandler, get_screen_rect)
  TEST_INSTALL(render, render_, TCefRenderHandler, get_screen_point)
  TEST_INSTALL(render, render_, TCefRenderHandler, on_popup_show)
  TEST_INSTALL(render, render_, TCefRenderHandler, on_popup_size)
  TEST_INSTALL(render, render_, TCefRenderHandler, on_paint)
  TEST_INSTALL(render, render_, TCefRenderHandler, on_cursor_change)
  TEST_INSTALL(drag, drag_, TCefDragHandler, on_drag_start)
  TEST_INSTALL(drag, drag_, TCefDragHandler, on_drag_enter)
}

// ----- a download handler and a plain object -----

TestDownloadHandler::TestDownloadHandler() {
  InitCounted(handler_, this);
  // The last release is logged: the runtime is done with the handler.
  handler_.wire.base.release = [](TCefBase* self) CEF_CALLBACK {
    int32_t count = Release<TCefDownloadHandler>(self);
    if (count == 0) static_cast<TestDownloadHandler*>(CountedOf<TCefDownloadHandler>(self).owner)->log.push_back("released");
    return count;
  };
  handler_.wire.received_data = [](TCefDownloadHandler* self, void* data, int32_t size) CEF_CALLBACK {
    auto* handler = static_cast<TestDownloadHandler*>(CountedOf<TCefDownloadHandler>(&self->base).owner);
    handler->log.push_back("data " + std::to_string(size));
    const auto* bytes = static_cast<const uint8_t*>(data);
    handler->bytes.insert(handler->bytes.end(), bytes, bytes + size);
    return handler->answer < 0 ? size : handler->answer;
  };
  handler_.wire.complete = [](TCefDownloadHandler* self) CEF_CALLBACK {
    static_cast<TestDownloadHandler*>(CountedOf<TCefDownloadHandler>(&self->base).owner)->log.push_back("complete");
  };
}

TCefDownloadHandler* TestDownloadHandler::Hand() { return HandCounted(handler_); }

TestObject::TestObject(uint32_t size) {
  InitCounted(object_, this);
  object_.wire.size = size;
}

TCefBase* TestObject::Hand() { return HandCounted(object_); }

}  // namespace callback_testing
