// Every callback of every handler kind fired by the runtime stand-in at the program's own
// client, through the control-side handlers to a recording control: what the control saw,
// what the runtime got back, and a control that fails in every kind.

#include <cstddef>
#include <cstring>
#include <map>

#include "cef/ceflib/streams.h"
#include "standin_scene.h"

namespace dispatch_tests {
namespace {

// The runtime's objects a call may carry, borrowed from the test.
struct Scene {
  TCefBase* frame;
  TCefBase* request;
  TCefBase* response;
  TCefBase* stream;
  TCefBase* filter;
  TCefBase* client;
  TCefBase* dragData;
  TCefBase* value;
};

// Where the runtime finds what the program handed back, and what it holds before the call,
// with the control answering true, and with it answering false.
enum class Kind { Text, Int, Object, RecordInt, RecordText };
struct Out {
  int32_t index;
  Kind kind;
  size_t offset;  // in the record
  std::string initial, onTrue, onFalse;
};
Out OutText(int32_t index, std::string initial, std::string onTrue, std::string onFalse) {
  return {index, Kind::Text, 0, std::move(initial), std::move(onTrue), std::move(onFalse)};
}
Out OutInt(int32_t index, std::string initial, std::string onTrue, std::string onFalse) {
  return {index, Kind::Int, 0, std::move(initial), std::move(onTrue), std::move(onFalse)};
}
Out OutObject(int32_t index, std::string initial, std::string onTrue, std::string onFalse) {
  return {index, Kind::Object, 0, std::move(initial), std::move(onTrue), std::move(onFalse)};
}
Out OutField(Kind kind, int32_t index, size_t offset, std::string initial, std::string written) {
  return {index, kind, offset, std::move(initial), written, written};
}

// One callback: its arguments, the control's calls it makes ("{B}" and the other names in
// braces stand for the runtime's objects, "{*}" for one word: a record or slot pointer the
// test cannot know), whether the runtime takes an answer, the runtime's outs, and the
// records the control saw.
struct Fired {
  const char* callback;
  void (*set)(ControlCall& call, const Scene& scene);
  std::vector<std::string> calls;
  bool answers;
  std::vector<Out> outs;
  std::vector<std::string> records;
};

using C = ControlCall;
using S = const Scene&;

// The paint buffer and the cursor are only passed through.
const uint8_t kPaintBuffer[4] = {};
void* const kCursor = reinterpret_cast<void*>(uintptr_t{0x2000});
constexpr int64_t kFiveGigabytes = (int64_t{5} << 30) | 7;

TCefRect Rect(int32_t x, int32_t y, int32_t width, int32_t height) { return {x, y, width, height}; }

TCefPopupFeatures Features() {
  TCefPopupFeatures f{};
  f.x = 5;
  f.xSet = 1;
  f.width = 640;
  f.widthSet = 1;
  f.dialog = 1;
  return f;
}

TCefWindowInfo Window() {
  static const std::u16string name = u"팝업";
  TCefWindowInfo w{};
  w.Width = 100;
  w.windowName = {const_cast<char16_t*>(name.data()), static_cast<uint32_t>(name.size()), nullptr};
  return w;
}

TCefBrowserSettings Settings() {
  TCefBrowserSettings s{};
  s.size = sizeof s;
  return s;
}

TCefHandlerMenuInfo MenuInfo() {
  static const std::u16string link = u"http://service.example/bid/1", selection = u"입찰";
  TCefHandlerMenuInfo m{};
  m.typeFlags = 2;
  m.x = 10;
  m.y = 20;
  m.linkUrl = {const_cast<char16_t*>(link.data()), static_cast<uint32_t>(link.size()), nullptr};
  m.selectionText = {const_cast<char16_t*>(selection.data()), static_cast<uint32_t>(selection.size()), nullptr};
  m.editFlags = 4;
  return m;
}

TCefPrintInfo PrintInfo() {
  TCefPrintInfo p{};
  p.Rect = {1, 2, 3, 4};
  p.Scale = 1.25;
  return p;
}

TCefPrintOptions PrintOptions() {
  TCefPrintOptions o{};
  o.paper_metrics.paper_type = PT_A4;
  o.paper_metrics.width = 210;
  o.paper_margins.left = 1.5;
  o.paper_margins.footer = 0.5;
  return o;
}

const size_t kWidth = offsetof(TCefRect, width);

const std::vector<Fired>& EveryCallback() {
  static const std::vector<Fired> fired = {
      {"life_span.on_before_popup",
       [](C& c, S s) {
         c.Record(1, Features()).Record(2, Window()).Text(3, u"http://first.example/").Object(4, s.client);
         c.Record(5, Settings());
       },
       {"GetSettings {*}", "doOnBeforePopup {B} {*} {*} \"http://first.example/\" {C}"},
       true,
       {OutText(3, "http://first.example/", "http://changed.example/", "http://changed.example/"),
        OutObject(4, "{C}", "{C2}", "{C2}"),
        OutField(Kind::RecordText, 5, offsetof(TCefBrowserSettings, default_encoding), "", "euc-kr"),
        OutField(Kind::RecordInt, 2, offsetof(TCefWindowInfo, Width), "100", "640"),
        OutField(Kind::RecordText, 2, offsetof(TCefWindowInfo, windowName), "팝업", "팝업")},
       {"features 5 1 0 0 640 1 0 0 0 0 0 0 0 0 0 1", "window 0 0 0 100 0 \"팝업\""}},
      {"life_span.on_after_created", [](C&, S) {}, {"doOnAfterCreated {B}"}, false},
      {"life_span.run_modal", [](C&, S) {}, {"doOnRunModal {B}"}, true},
      {"life_span.do_close", [](C&, S) {}, {"doOnClose {B}"}, true},
      {"life_span.on_before_close", [](C&, S) {}, {"doOnBeforeClose {B}"}, false},
      {"load.on_load_start", [](C& c, S s) { c.Object(1, s.frame); }, {"doOnLoadStart {B} {F}"}, false},
      {"load.on_load_end", [](C& c, S s) { c.Object(1, s.frame).Int(2, 204); }, {"doOnLoadEnd {B} {F} 204"}, false},
      {"load.on_load_error",
       [](C& c, S s) {
         c.Object(1, s.frame).Int(2, -105).Text(3, u"http://nowhere.example/").Text(4, u"net::ERR_NAME_NOT_RESOLVED");
       },
       {"doOnLoadError {B} {F} -105 \"http://nowhere.example/\" \"net::ERR_NAME_NOT_RESOLVED\""},
       true,
       {OutText(4, "net::ERR_NAME_NOT_RESOLVED", "페이지를 열 수 없습니다", "net::ERR_NAME_NOT_RESOLVED")}},
      {"request.on_before_browse",
       [](C& c, S s) { c.Object(1, s.frame).Object(2, s.request).Int(3, NAVTYPE_FORMSUBMITTED).Int(4, 1); },
       {"doOnBeforeBrowse {B} {F} {R} 1 true"},
       true},
      {"request.on_before_resource_load",
       [](C& c, S s) {
         c.Object(1, s.request).Text(2, u"http://service.example/list").Object(3, s.stream);
         c.Object(4, s.response).Int(5, 64);
       },
       {"doOnBeforeResourceLoad {B} {R} \"http://service.example/list\" {S} {P} 64"},
       true,
       {OutText(2, "http://service.example/list", "http://service.example/list", "http://redirect.example/"),
        OutObject(3, "{S}", "null", "{S2}")}},
      {"request.on_resource_response",
       [](C& c, S s) { c.Text(1, u"http://service.example/list").Object(2, s.response).Object(3, s.filter); },
       {"doOnResourceResponse {B} \"http://service.example/list\" {P} {X}"},
       false,
       {OutObject(3, "{X}", "{X2}", "{X2}")}},
      {"request.on_protocol_execution",
       [](C& c, S) { c.Text(1, u"mailto:bids@service.example").Int(2, 7); },
       {"doOnProtocolExecution {B} \"mailto:bids@service.example\" true"},
       true,
       {OutInt(2, "7", "0", "0")}},
      // The slot starts with an object the program must neither read nor release.
      {"request.get_download_handler",
       [](C& c, S s) {
         c.Text(1, u"application/pdf").Text(2, u"공고문.pdf").Int(3, kFiveGigabytes).Object(4, s.filter);
       },
       {"doOnGetDownloadHandler {B} \"application/pdf\" \"공고문.pdf\" 5368709127 null"},
       true,
       {OutObject(4, "null", "{H}", "{H}")}},
      {"request.get_auth_credentials",
       [](C& c, S) {
         c.Int(1, 1).Text(2, u"proxy.example").Int(3, 8080).Text(4, u"QVN test").Text(5, u"basic");
         c.Text(6, u"kim").Text(7, u"old");
       },
       {"doOnAuthCredentials {B} true 8080 \"proxy.example\" \"QVN test\" \"basic\" \"kim\" \"old\""},
       true,
       {OutText(6, "kim", "qvn", "kim"), OutText(7, "old", "secret", "old")}},
      {"display.on_nav_state_change", [](C& c, S) { c.Int(1, 1).Int(2, 0); },
       {"doOnNavStateChange {B} true false"}, false},
      {"display.on_address_change",
       [](C& c, S s) { c.Object(1, s.frame).Text(2, u"http://service.example/a"); },
       {"doOnAddressChange {B} {F} \"http://service.example/a\""},
       false},
      {"display.on_title_change", [](C& c, S) { c.Text(1, u"입찰 분석"); }, {"doOnTitleChange {B} \"입찰 분석\""},
       false},
      {"display.on_tooltip", [](C& c, S) { c.Text(1, u"입찰 공고"); }, {"doOnTooltip {B} \"입찰 공고\""}, true,
       {OutText(1, "입찰 공고", "새 풍선말", "새 풍선말")}},
      {"display.on_status_message", [](C& c, S) { c.Text(1, u"Loading").Int(2, STATUSTYPE_MOUSEOVER_URL); },
       {"doOnStatusMessage {B} \"Loading\" 1"}, false},
      {"display.on_console_message",
       [](C& c, S) { c.Text(1, u"message").Text(2, u"http://service.example/app.js").Int(3, 42); },
       {"doOnConsoleMessage {B} \"message\" \"http://service.example/app.js\" 42"},
       true},
      {"focus.on_take_focus", [](C& c, S) { c.Int(1, 1); }, {"doOnTakeFocus {B} true"}, false},
      {"focus.on_set_focus", [](C& c, S) { c.Int(1, FOCUS_SOURCE_WIDGET); }, {"doOnSetFocus {B} 2"}, true},
      {"keyboard.on_key_event", [](C& c, S) { c.Int(1, KEYEVENT_CHAR).Int(2, 0xAC00).Int(3, 4).Int(4, 1); },
       {"doOnKeyEvent {B} 3 44032 4 true"}, true},
      {"menu.on_before_menu", [](C& c, S) { c.Record(1, MenuInfo()); }, {"doOnBeforeMenu {B} {*}"}, true, {},
       {"menu 2 10 20 \"http://service.example/bid/1\" \"입찰\" 4"}},
      {"menu.get_menu_label", [](C& c, S) { c.Int(1, 26501).Text(2, u"Back"); },
       {"doOnGetMenuLabel {B} 26501 \"Back\""}, false, {OutText(2, "Back", "뒤로", "뒤로")}},
      {"menu.on_menu_action", [](C& c, S) { c.Int(1, 26501); }, {"doOnMenuAction {B} 26501"}, true},
      {"print.get_print_options", [](C& c, S) { c.Record(1, PrintOptions()); }, {"doOnPrintOptions {B} {*}"}, true,
       {OutField(Kind::RecordInt, 1, offsetof(TCefPrintOptions, page_orientation), "0", "1")},
       {"options 0 4 210 1.5 0.5"}},
      {"print.get_print_header_footer",
       [](C& c, S s) {
         c.Object(1, s.frame).Record(2, PrintInfo()).Text(3, u"http://service.example/print").Text(4, u"Bids");
         c.Int(5, 2).Int(6, 9);
       },
       {"doOnPrintHeaderFooter {B} {F} {*} \"http://service.example/print\" \"Bids\" 2 9 \"\" \"\" \"\" \"\" \"\" \"\""},
       true,
       {OutText(7, "", "", "TL"), OutText(8, "", "", "TC"), OutText(9, "", "", "TR"), OutText(10, "", "", "BL"),
        OutText(11, "", "", "BC"), OutText(12, "", "", "BR")},
       {"print 1 2 3 4 1.25"}},
      // The identifier comes first on the wire and after the rectangle to the control.
      {"find.on_find_result",
       [](C& c, S) { c.Int(1, 7).Int(2, 12).Record(3, Rect(1, 2, 3, 4)).Int(4, 0).Int(5, 1); },
       {"doOnFindResult {B} 12 {*} true false true"}, false, {}, {"rect 1 2 3 4"}},
      {"jsdialog.on_jsalert", [](C& c, S s) { c.Object(1, s.frame).Text(2, u"Bid closes"); },
       {"doOnJsAlert {B} {F} \"Bid closes\""}, true},
      {"jsdialog.on_jsconfirm", [](C& c, S s) { c.Object(1, s.frame).Text(2, u"Submit?").Int(3, 7); },
       {"doOnJsConfirm {B} {F} \"Submit?\" true"}, true, {OutInt(3, "7", "1", "7")}},
      {"jsdialog.on_jsprompt",
       [](C& c, S s) { c.Object(1, s.frame).Text(2, u"Your name?").Text(3, u"Lee").Int(4, 7); },
       {"doOnJsPrompt {B} {F} \"Your name?\" \"Lee\" true \"\""},
       true,
       {OutInt(4, "7", "1", "7"), OutText(5, "", "김민수", "")}},
      {"jsbinding.on_jsbinding", [](C& c, S s) { c.Object(1, s.frame).Object(2, s.value); },
       {"doOnJsBinding {B} {F} {V}"}, false},
      {"render.get_view_rect", [](C& c, S) { c.Record(1, Rect(0, 0, 800, 600)); }, {"doOnGetViewRect {B} {*}"}, true,
       {OutField(Kind::RecordInt, 1, kWidth, "800", "333")}, {"rect 0 0 800 600"}},
      {"render.get_screen_rect", [](C& c, S) { c.Record(1, Rect(8, 9, 800, 600)); }, {"doOnGetScreenRect {B} {*}"},
       true, {OutField(Kind::RecordInt, 1, kWidth, "800", "333")}, {"rect 8 9 800 600"}},
      {"render.get_screen_point", [](C& c, S) { c.Int(1, 10).Int(2, 20); }, {"doOnGetScreenPoint {B} 10 20 {*} {*}"},
       true, {OutInt(3, "0", "1234", "1234"), OutInt(4, "0", "1234", "1234")}},
      {"render.on_popup_show", [](C& c, S) { c.Int(1, 1); }, {"doOnPopupShow {B} true"}, false},
      {"render.on_popup_size", [](C& c, S) { c.Record(1, Rect(5, 6, 7, 8)); }, {"doOnPopupSize {B} {*}"}, false, {},
       {"rect 5 6 7 8"}},
      {"render.on_paint", [](C& c, S) { c.Int(1, 1).Record(2, Rect(0, 0, 10, 10)).Pointer(3, kPaintBuffer); },
       {"doOnPaint {B} 1 {*} {Q}"}, false, {}, {"rect 0 0 10 10"}},
      {"render.on_cursor_change", [](C& c, S) { c.Pointer(1, kCursor); }, {"doOnCursorChange {B} {K}"}, false},
      {"drag.on_drag_start", [](C& c, S s) { c.Object(1, s.dragData).Int(2, 17); },
       {"doOnDragStart {B} {D} 17"}, true},
      {"drag.on_drag_enter", [](C& c, S s) { c.Object(1, s.dragData).Int(2, 1); }, {"doOnDragEnter {B} {D} 1"},
       true},
  };
  return fired;
}

// True when actual is pattern with each "{*}" standing for one word.
bool Matches(const std::string& actual, const std::string& pattern) {
  size_t at = 0, from = 0;
  for (;;) {
    size_t star = pattern.find("{*}", from);
    std::string piece = pattern.substr(from, star == std::string::npos ? std::string::npos : star - from);
    if (actual.compare(at, piece.size(), piece) != 0) return false;
    at += piece.size();
    if (star == std::string::npos) return at == actual.size();
    size_t end = std::min(actual.find(' ', at), actual.size());
    if (end == at) return false;
    at = end;
    from = star + 3;
  }
}

// A download handler the control hands out; the runtime only holds it here.
class HeldDownloadHandler : public cef::TCefDownloadHandlerOwn {
 public:
  int32_t ReceivedData(void*, int32_t dataSize) override { return dataSize; }
  void Complete() override {}
};

class StandinEntriesTest : public StandinSceneTest {
 protected:
  void SetUp() override {
    StandinSceneTest::SetUp();
    eventStream_ = cef::TCefStreamReaderRef::CreateForData(bytes_, sizeof bytes_);
    const auto& control = testing_support::ProgramStandin();
    scene_ = {browser->GetMainFrame()->Wrap(),
              reinterpret_cast<TCefBase*>(cef::CefApi().cef_request_create()),
              control.standin_create_object("Response"),
              control.standin_create_object("StreamReader"),
              control.standin_create_object("PostData"),
              client->Wrap(),
              reinterpret_cast<TCefBase*>(control.standin_create_drag_data(1, u"http://service.example/bid/1", u"Bid",
                                                                           nullptr, nullptr, nullptr, nullptr,
                                                                           nullptr, nullptr, nullptr)),
              reinterpret_cast<TCefBase*>(cef::CefApi().cef_v8value_create_int(5))};
    for (TCefBase* object : Objects()) ASSERT_NE(object, nullptr);
    names_ = {{"{B}", B()},           {"{F}", P(scene_.frame)},    {"{R}", P(scene_.request)},
              {"{P}", P(scene_.response)}, {"{S}", P(scene_.stream)}, {"{X}", P(scene_.filter)},
              {"{C}", P(scene_.client)},   {"{D}", P(scene_.dragData)}, {"{V}", P(scene_.value)},
              {"{Q}", P(kPaintBuffer)},    {"{K}", P(kCursor)},         {"{C2}", P(otherClient_->Struct())},
              {"{S2}", WireText(eventStream_)}, {"{X2}", P(eventFilter_->Struct())},
              {"{H}", P(eventHandler_->Struct())}};
    for (TCefBase* object : Objects()) counts_.push_back(object->get_refct(object));
  }

  void TearDown() override {
    for (TCefBase* object : Objects()) fakes::Release(object);
    eventStream_ = nullptr;
    StandinSceneTest::TearDown();
    EXPECT_EQ(otherClient_->RefCount(), 1);
    EXPECT_EQ(eventFilter_->RefCount(), 1);
    EXPECT_EQ(eventHandler_->RefCount(), 1);
  }

  std::vector<TCefBase*> Objects() const {
    return {scene_.frame,  scene_.request, scene_.response, scene_.stream,
            scene_.filter, scene_.client,  scene_.dragData, scene_.value};
  }

  // The control changes every in-and-out value it is given and marks the records.
  void ControlChangesEverything() {
    events->texts = {{"url", u"http://changed.example/"}, {"errorText", u"페이지를 열 수 없습니다"},
                     {"redirectUrl", u"http://redirect.example/"}, {"username", u"qvn"},
                     {"password", u"secret"}, {"text", u"새 풍선말"}, {"caption", u"뒤로"},
                     {"topLeft", u"TL"}, {"topCenter", u"TC"}, {"topRight", u"TR"}, {"bottomLeft", u"BL"},
                     {"bottomCenter", u"BC"}, {"bottomRight", u"BR"}, {"return", u"김민수"}};
    events->flags = {{"AllowOsExecution", false}, {"retval", true}};
    events->objects = {{"client", otherClient_}, {"resourceStream", eventStream_}, {"filter", eventFilter_},
                       {"handler", eventHandler_}};
    events->markRecords = true;
  }

  std::string Expand(std::string text) const {
    for (const auto& [name, value] : names_) {
      for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + value.size())) {
        text.replace(at, name.size(), value);
      }
    }
    return text;
  }

  // What the runtime holds at the out's place after the call.
  std::string Actual(const ControlCall& call, const Out& out) const {
    switch (out.kind) {
      case Kind::Text:
        return platform::Utf16ToUtf8(call.TextAt(out.index));
      case Kind::Int:
        return std::to_string(call.IntAt(out.index));
      case Kind::Object: {
        TCefBase* left = call.ObjectAt(out.index);
        std::string text = P(left);
        if (left) fakes::Release(left);
        return text;
      }
      case Kind::RecordInt: {
        std::vector<uint8_t> record(512);
        int32_t size = testing_support::ProgramStandin().standin_call_record(
            call.get(), out.index, record.data(), static_cast<int32_t>(record.size()));
        int32_t value = 0;
        if (size >= static_cast<int32_t>(out.offset + sizeof value)) std::memcpy(&value, &record[out.offset], sizeof value);
        return std::to_string(value);
      }
      case Kind::RecordText:
        return platform::Utf16ToUtf8(call.RecordText(out.index, out.offset));
    }
    return "?";
  }

  // Fires the callback as its row says; events and reports start empty.
  void FireRow(ControlCall& call, const Fired& row) {
    events->calls.clear();
    events->records.clear();
    reports.clear();
    row.set(call, scene_);
    ASSERT_EQ(Fire(call), 1) << "the client's handler took it";
  }

  // Every runtime object the calls carried is back to the references it had.
  testing::AssertionResult Balanced() const {
    std::vector<TCefBase*> objects = Objects();
    for (size_t i = 0; i < objects.size(); ++i) {
      int32_t count = objects[i]->get_refct(objects[i]);
      if (count != counts_[i]) return testing::AssertionFailure() << "object " << i << " holds " << count;
    }
    return testing::AssertionSuccess();
  }

  Scene scene_{};
  std::vector<int32_t> counts_;
  std::map<std::string, std::string> names_;
  Ref<cef::TCefClientOwn> otherClient_ = base::MakeRef<cef::TCefClientOwn>();
  Ref<cef::TCefClientOwn> eventFilter_ = base::MakeRef<cef::TCefClientOwn>();
  char bytes_[5] = {'b', 'y', 't', 'e', 's'};
  Ref<ICefStreamReader> eventStream_;
  Ref<HeldDownloadHandler> eventHandler_ = base::MakeRef<HeldDownloadHandler>();
};

TEST_F(StandinEntriesTest, EveryCallbackReachesTheControlAndTheRuntimeGetsBackWhatTheTableSays) {
  ControlChangesEverything();
  for (bool answer : {true, false}) {
    events->answer = answer;
    for (const Fired& row : EveryCallback()) {
      SCOPED_TRACE(std::string(row.callback) + (answer ? " answered true" : " answered false"));
      {
        ControlCall call = Call(row.callback);
        FireRow(call, row);
        ASSERT_EQ(events->calls.size(), row.calls.size());
        for (size_t i = 0; i < row.calls.size(); ++i) {
          EXPECT_TRUE(Matches(events->calls[i], Expand(row.calls[i]))) << events->calls[i];
        }
        EXPECT_EQ(events->records, row.records);
        EXPECT_EQ(call.Answer(), row.answers && answer ? 1 : 0);
        for (const Out& out : row.outs) {
          EXPECT_EQ(Actual(call, out), Expand(answer ? out.onTrue : out.onFalse)) << "argument " << out.index;
        }
      }
      EXPECT_TRUE(Balanced());
      EXPECT_TRUE(reports.empty());
    }
  }
}

TEST_F(StandinEntriesTest, AControlFailingInEveryKindAnswersZeroWritesNothingAndIsReportedOnce) {
  ControlChangesEverything();
  events->answer = true;
  events->failing = "*";
  for (const Fired& row : EveryCallback()) {
    SCOPED_TRACE(row.callback);
    {
      ControlCall call = Call(row.callback);
      FireRow(call, row);
      EXPECT_EQ(events->calls.size(), 1u) << "the failure ended the callback";
      EXPECT_EQ(call.Answer(), 0);
      for (const Out& out : row.outs) EXPECT_EQ(Actual(call, out), Expand(out.initial)) << "argument " << out.index;
      ASSERT_EQ(reports.size(), 1u);
      EXPECT_TRUE(reports[0].ends_with(u" failed")) << platform::Utf16ToUtf8(reports[0]);
    }
    EXPECT_TRUE(Balanced());
  }
}

TEST_F(StandinEntriesTest, AClientWhoseHandlersAreReleasedTakesNoCallback) {
  client->ReleaseHandlers();
  events->calls.clear();
  for (const Fired& row : EveryCallback()) {
    ControlCall call = Call(row.callback);
    row.set(call, scene_);
    EXPECT_EQ(Fire(call), 0) << row.callback << ": the client answers no handler";
  }
  EXPECT_TRUE(events->calls.empty());
  EXPECT_TRUE(Balanced());
}

}  // namespace
}  // namespace dispatch_tests
