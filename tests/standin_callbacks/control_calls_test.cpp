// Callbacks fired through the control interface: every callback reaches the member of its
// handler, arguments go in as the test set them, and what the program leaves in strings,
// integers, records and object slots comes back; the life-span, load and request kinds.

#include <cstddef>

#include "standin_callbacks/callback_fixture.h"
#include "standin_callbacks/control_call.h"

namespace callback_testing {
namespace {


using ControlCalls = OpenBrowserTest;

const char* const kEveryCallback[] = {
    "life_span.on_before_popup", "life_span.on_after_created", "life_span.run_modal", "life_span.do_close",
    "life_span.on_before_close", "load.on_load_start", "load.on_load_end", "load.on_load_error",
    "request.on_before_browse", "request.on_before_resource_load", "request.on_resource_response",
    "request.on_protocol_execution", "request.get_download_handler", "request.get_auth_credentials",
    "display.on_nav_state_change", "display.on_address_change", "display.on_title_change", "display.on_tooltip",
    "display.on_status_message", "display.on_console_message", "focus.on_take_focus", "focus.on_set_focus",
    "keyboard.on_key_event", "menu.on_before_menu", "menu.get_menu_label", "menu.on_menu_action",
    "print.get_print_options", "print.get_print_header_footer", "find.on_find_result", "jsdialog.on_jsalert",
    "jsdialog.on_jsconfirm", "jsdialog.on_jsprompt", "jsbinding.on_jsbinding", "render.get_view_rect",
    "render.get_screen_rect", "render.get_screen_point", "render.on_popup_show", "render.on_popup_size",
    "render.on_paint", "render.on_cursor_change", "drag.on_drag_start", "drag.on_drag_enter",
};

TEST_F(ControlCalls, EveryCallbackReachesTheMemberOfItsHandler) {
  for (const char* name : kEveryCallback) {
    size_t before = client_.Calls().size();
    ControlCall call(Control(), name);
    ASSERT_EQ(call.Fire(browser_.get()), 1) << name;
    ASSERT_EQ(client_.Calls().size(), before + 1) << name;
    EXPECT_EQ(client_.Calls().back().name, name);
    EXPECT_EQ(client_.Calls().back().browser, browser_.get()) << name << " gets the browser first";
  }
  EXPECT_EQ(client_.References(), 1) << "only the browser's reference is left";
}

TEST_F(ControlCalls, AClientWithoutTheHandlerIsNotCalled) {
  client_.Without("menu");
  ControlCall call(Control(), "menu.on_menu_action");
  call.Int(1, 26500);
  EXPECT_EQ(call.Fire(browser_.get()), 0);
  EXPECT_EQ(client_.Count("menu.on_menu_action"), 0);
}

TEST_F(ControlCalls, ArgumentsAreSetOnlyByTheSetterOfTheirType) {
  EXPECT_EQ(Control().standin_call_new("load.on_nothing"), nullptr);
  EXPECT_EQ(Control().standin_call_new(nullptr), nullptr);
  ControlCall call(Control(), "load.on_load_end");
  StandinCall* c = call.get();
  EXPECT_EQ(Control().standin_call_set_text(c, 1, u"not a frame"), 0);
  EXPECT_EQ(Control().standin_call_set_int(c, 0, 1), 0) << "the browser is given when firing";
  EXPECT_EQ(Control().standin_call_set_int(c, 3, 1), 0) << "past the last argument";
  EXPECT_EQ(Control().standin_call_set_int(c, 2, 204), 1);
  TCefRect rect{};
  ControlCall find(Control(), "find.on_find_result");
  EXPECT_EQ(Control().standin_call_set_record(find.get(), 3, &rect, sizeof rect - 1), 0) << "a record's own size only";
  EXPECT_EQ(Control().standin_call_set_record(find.get(), 3, &rect, sizeof rect), 1);
  EXPECT_EQ(call.Fire(nullptr), -1);
  EXPECT_EQ(call.Fire(browser_.get()), 1);
  EXPECT_EQ(client_.Last("load.on_load_end").numbers, std::vector<int64_t>{204});
  EXPECT_EQ(call.Fire(browser_.get()), -1) << "once only";
  EXPECT_EQ(Control().standin_call_set_int(c, 2, 1), 0) << "fired already";
  EXPECT_EQ(Control().standin_live_objects("Call"), 2);
}

TEST_F(ControlCalls, APopupsRecordsStringsAndClientSlotComeBackAsTheProgramLeftThem) {
  TestClient other(Api());
  std::u16string given = u"given", encoding = u"euc-kr";
  TCefPopupFeatures features{};
  features.x = 5;
  features.xSet = 1;
  features.dialog = 1;
  TCefWindowInfo window{};
  window.Width = 100;
  window.windowName = View(given);
  TCefBrowserSettings settings{};
  settings.size = sizeof settings;
  settings.default_encoding = View(given);
  std::vector<int32_t> seenFeatures;
  std::u16string seenName, seenEncoding;
  client_.On("life_span.on_before_popup", [&](Seen& seen) {
    auto* f = static_cast<TCefPopupFeatures*>(seen.records[0]);
    seenFeatures = {f->x, f->xSet, f->dialog};
    auto* w = static_cast<TCefWindowInfo*>(seen.records[1]);
    seenName = Text(w->windowName);
    w->Width = 640;
    client_.Assign(&w->windowName, u"changed");
    client_.Assign(seen.outTexts[0], u"http://changed.example/");
    auto** slot = reinterpret_cast<TCefClient**>(seen.slots[0]);
    (*slot)->base.release(&(*slot)->base);
    *slot = other.Hand();
    auto* s = static_cast<TCefBrowserSettings*>(seen.records[2]);
    seenEncoding = Text(s->default_encoding);
    s->default_encoding = View(encoding);
    return 1;
  });
  {
    ControlCall call(Control(), "life_span.on_before_popup");
    TestObject incoming(sizeof(TCefClient));
    call.Record(1, features).Record(2, window).Text(3, u"http://first.example/").Object(4, incoming.Peek());
    call.Record(5, settings);
    EXPECT_EQ(call.Fire(browser_.get()), 1);
    EXPECT_EQ(call.Answer(), 1);
    EXPECT_EQ(seenFeatures, (std::vector<int32_t>{5, 1, 1}));
    EXPECT_EQ(seenName, u"given");
    EXPECT_EQ(seenEncoding, u"given");
    EXPECT_EQ(client_.Last("life_span.on_before_popup").texts, std::vector<std::u16string>{u"http://first.example/"});
    EXPECT_EQ(call.RecordAt<TCefWindowInfo>(2).Width, 640);
    EXPECT_EQ(call.RecordText(2, offsetof(TCefWindowInfo, windowName)), u"changed");
    EXPECT_EQ(call.TextAt(3), u"http://changed.example/");
    encoding.assign(u"xxxxxx");
    EXPECT_EQ(call.RecordText(5, offsetof(TCefBrowserSettings, default_encoding)), u"euc-kr")
        << "read when the callback returned";
    EXPECT_EQ(call.RecordText(5, 1), u"(none)") << "no string field there";
    TCefBase* left = call.ObjectAt(4);
    EXPECT_EQ(left, &other.Peek()->base);
    left->release(left);
    EXPECT_EQ(incoming.References(), 0) << "the program released the client that came in";
    EXPECT_EQ(incoming.Underflows(), 0);
  }
  EXPECT_EQ(other.References(), 0) << "freeing the call released what the program left";
  EXPECT_EQ(Control().standin_live_objects("Call"), 0);
}

TEST_F(ControlCalls, ALoadErrorsTextComesBackWhenTheProgramReplacedIt) {
  client_.On("load.on_load_error", [&](Seen& seen) {
    client_.Assign(seen.outTexts[0], u"Not reachable: " + seen.texts[0]);
    return 1;
  });
  ControlCall call(Control(), "load.on_load_error");
  call.Object(1, FrameArg()).Int(2, -105).Text(3, u"http://nowhere.example/").Text(4, u"name not resolved");
  EXPECT_EQ(call.Fire(browser_.get()), 1);
  const Seen& seen = client_.Last("load.on_load_error");
  EXPECT_EQ(seen.numbers, std::vector<int64_t>{-105});
  EXPECT_EQ(seen.texts, (std::vector<std::u16string>{u"http://nowhere.example/", u"name not resolved"}));
  EXPECT_EQ(seen.frameIsMain, 1) << "the frame given";
  EXPECT_EQ(call.TextAt(4), u"Not reachable: http://nowhere.example/");
  EXPECT_EQ(call.Answer(), 1);
}

TEST_F(ControlCalls, ARequestsRedirectStreamAndFlagsComeBack) {
  RuntimeRef<TCefRequest> request(Api().cef_request_create());
  RuntimeRef<TCefResponse> response(reinterpret_cast<TCefResponse*>(Control().standin_create_object("Response")));
  std::string body = "streamed";
  client_.On("request.on_before_resource_load", [&](Seen& seen) {
    client_.Assign(seen.outTexts[0], u"http://elsewhere.example/");
    *reinterpret_cast<TCefStreamReader**>(seen.slots[0]) =
        Api().cef_stream_reader_create_for_data(body.data(), static_cast<uint32_t>(body.size()));
    return 0;
  });
  ControlCall call(Control(), "request.on_before_resource_load");
  call.Object(1, &request->base).Object(4, &response->base).Int(5, 8);
  EXPECT_EQ(call.Fire(browser_.get()), 1);
  EXPECT_EQ(client_.Last("request.on_before_resource_load").numbers, std::vector<int64_t>{8});
  EXPECT_EQ(call.TextAt(2), u"http://elsewhere.example/");
  auto* stream = reinterpret_cast<TCefStreamReader*>(call.ObjectAt(3));
  ASSERT_NE(stream, nullptr);
  char read[16] = {};
  EXPECT_EQ(stream->read(stream, read, 1, sizeof read), body.size());
  stream->base.release(&stream->base);
  EXPECT_EQ(Control().standin_refcount(&request->base), 1) << "the program released the request it was given";
}

TEST_F(ControlCalls, AFilterADownloadHandlerAndTheAllowFlagComeBack) {
  TestObject filter;
  TestDownloadHandler handler;
  client_.On("request.on_resource_response", [&](Seen& seen) {
    *reinterpret_cast<TCefBase**>(seen.slots[0]) = filter.Hand();
    return 0;
  });
  client_.On("request.get_download_handler", [&](Seen& seen) {
    *reinterpret_cast<TCefDownloadHandler**>(seen.slots[0]) = handler.Hand();
    return 1;
  });
  client_.On("request.on_protocol_execution", [&](Seen& seen) {
    *seen.outInts[0] = seen.numbers[0] ? 0 : 1;
    return 0;
  });
  {
    ControlCall response(Control(), "request.on_resource_response");
    response.Text(1, u"http://service.example/page");
    EXPECT_EQ(response.Fire(browser_.get()), 1);
    EXPECT_EQ(response.ObjectAt(2), nullptr) << "the response is no slot";
    TCefBase* left = response.ObjectAt(3);
    EXPECT_EQ(left, filter.Peek());
    left->release(left);
    EXPECT_EQ(filter.References(), 1) << "the call holds it";
  }
  EXPECT_EQ(filter.References(), 0);
  {
    ControlCall download(Control(), "request.get_download_handler");
    download.Text(1, u"application/zip").Text(2, u"입찰.zip").Int(3, int64_t{5} << 32 | 7);
    EXPECT_EQ(download.Fire(browser_.get()), 1);
    const Seen& seen = client_.Last("request.get_download_handler");
    EXPECT_EQ(seen.numbers, std::vector<int64_t>{int64_t{5} << 32 | 7}) << "all 64 bits of the length";
    EXPECT_EQ(seen.texts, (std::vector<std::u16string>{u"application/zip", u"입찰.zip"}));
    TCefBase* left = download.ObjectAt(4);
    EXPECT_EQ(left, &handler.Peek()->base);
    left->release(left);
    EXPECT_EQ(handler.References(), 1) << "the call holds it";
  }
  EXPECT_EQ(handler.log, std::vector<std::string>{"released"});
  ControlCall protocol(Control(), "request.on_protocol_execution");
  protocol.Text(1, u"mailto:bids@example.com").Int(2, 0);
  EXPECT_EQ(protocol.Fire(browser_.get()), 1);
  EXPECT_EQ(protocol.IntAt(2), 1);
}

TEST_F(ControlCalls, CredentialsComeBackWithTheHostAheadOfThePort) {
  client_.On("request.get_auth_credentials", [&](Seen& seen) {
    client_.Assign(seen.outTexts[0], u"qvn");
    client_.Assign(seen.outTexts[1], u"secret");
    return 1;
  });
  ControlCall call(Control(), "request.get_auth_credentials");
  call.Int(1, 1).Text(2, u"proxy.example").Int(3, 8080).Text(4, u"Realm").Text(5, u"basic").Text(6, u"prefilled");
  EXPECT_EQ(call.Fire(browser_.get()), 1);
  const Seen& seen = client_.Last("request.get_auth_credentials");
  EXPECT_EQ(seen.numbers, (std::vector<int64_t>{1, 8080}));
  EXPECT_EQ(seen.texts, (std::vector<std::u16string>{u"proxy.example", u"Realm", u"basic", u"prefilled", u""}));
  EXPECT_EQ(call.TextAt(6), u"qvn");
  EXPECT_EQ(call.TextAt(7), u"secret");
  EXPECT_EQ(call.TextAt(2), u"proxy.example");
  EXPECT_EQ(call.IntAt(3), 8080);
  EXPECT_EQ(call.TextAt(1), u"(none)") << "no string there";
}

}  // namespace
}  // namespace callback_testing
