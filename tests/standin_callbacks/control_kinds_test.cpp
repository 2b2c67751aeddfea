// Callbacks fired through the control interface, the kinds that pages do not raise by
// themselves here: display, focus, keyboard, menu, print, find, the JS dialogs and binding,
// render and drag, each with its outs read back.

#include <cstddef>

#include "standin_callbacks/callback_fixture.h"
#include "standin_callbacks/control_call.h"

namespace callback_testing {
namespace {


class ControlKinds : public OpenBrowserTest {
 protected:
  // Fires the call and expects the handler to have taken it.
  void Fire(ControlCall& call) { ASSERT_EQ(call.Fire(browser_.get()), 1); }
};

TEST_F(ControlKinds, DisplayCallbacksCarryTheirValuesAndTheTooltipComesBackAsANewCopy) {
  ControlCall state(Control(), "display.on_nav_state_change");
  state.Int(1, 1).Int(2, 0);
  Fire(state);
  EXPECT_EQ(client_.Last("display.on_nav_state_change").numbers, (std::vector<int64_t>{1, 0}));

  ControlCall status(Control(), "display.on_status_message");
  status.Text(1, u"Loading bids...").Int(2, STATUSTYPE_MOUSEOVER_URL);
  Fire(status);
  EXPECT_EQ(client_.Last("display.on_status_message").texts, std::vector<std::u16string>{u"Loading bids..."});
  EXPECT_EQ(client_.Last("display.on_status_message").numbers, std::vector<int64_t>{STATUSTYPE_MOUSEOVER_URL});

  // The handler reads the text, clears the runtime's string and stores a new copy.
  client_.On("display.on_tooltip", [&](Seen& seen) {
    Api().cef_string_utf16_clear(seen.outTexts[0]);
    client_.Store(seen.outTexts[0], seen.texts[0] + u" (2024)");
    return 1;
  });
  ControlCall tooltip(Control(), "display.on_tooltip");
  tooltip.Text(1, u"Bid notice");
  Fire(tooltip);
  EXPECT_EQ(tooltip.TextAt(1), u"Bid notice (2024)");
  EXPECT_EQ(tooltip.Answer(), 1);

  client_.On("display.on_console_message", [](Seen&) { return 1; });
  ControlCall console(Control(), "display.on_console_message");
  console.Text(1, u"message").Text(2, u"http://service.example/app.js").Int(3, 42);
  Fire(console);
  EXPECT_EQ(console.Answer(), 1);
  EXPECT_EQ(client_.Last("display.on_console_message").numbers, std::vector<int64_t>{42});
}

TEST_F(ControlKinds, FocusAndKeyEventsCarryTheirValues) {
  client_.On("focus.on_set_focus", [](Seen& seen) { return seen.numbers[0] == FOCUS_SOURCE_WIDGET ? 1 : 0; });
  client_.On("keyboard.on_key_event", [](Seen&) { return 1; });
  ControlCall take(Control(), "focus.on_take_focus");
  take.Int(1, 1);
  Fire(take);
  EXPECT_EQ(client_.Last("focus.on_take_focus").numbers, std::vector<int64_t>{1});
  ControlCall set(Control(), "focus.on_set_focus");
  set.Int(1, FOCUS_SOURCE_WIDGET);
  Fire(set);
  EXPECT_EQ(set.Answer(), 1);
  ControlCall key(Control(), "keyboard.on_key_event");
  key.Int(1, KEYEVENT_CHAR).Int(2, 0xAC00).Int(3, 4).Int(4, 1);
  Fire(key);
  EXPECT_EQ(client_.Last("keyboard.on_key_event").numbers, (std::vector<int64_t>{KEYEVENT_CHAR, 0xAC00, 4, 1}));
  EXPECT_EQ(key.Answer(), 1);
}

TEST_F(ControlKinds, MenuCallbacksReadTheMenuInfoAndFillTheLabel) {
  std::u16string link = u"http://service.example/bid/1", selection = u"\uC785\uCC30";
  TCefHandlerMenuInfo info{};
  info.typeFlags = 2;
  info.x = 10;
  info.y = 20;
  info.linkUrl = View(link);
  info.selectionText = View(selection);
  std::vector<std::u16string> seenTexts;
  std::vector<int32_t> seenNumbers;
  client_.On("menu.on_before_menu", [&](Seen& seen) {
    auto* m = static_cast<const TCefHandlerMenuInfo*>(seen.records[0]);
    seenTexts = {Text(m->linkUrl), Text(m->selectionText), Text(m->pageUrl)};
    seenNumbers = {m->typeFlags, m->x, m->y};
    return 1;
  });
  ControlCall before(Control(), "menu.on_before_menu");
  before.Record(1, info);
  link.assign(u"changed by the test");
  Fire(before);
  EXPECT_EQ(before.Answer(), 1);
  EXPECT_EQ(seenTexts, (std::vector<std::u16string>{u"http://service.example/bid/1", u"\uC785\uCC30", u""}))
      << "the record's strings were copied when it was set";
  EXPECT_EQ(seenNumbers, (std::vector<int32_t>{2, 10, 20}));
  EXPECT_EQ(before.RecordText(1, offsetof(TCefHandlerMenuInfo, linkUrl)), u"http://service.example/bid/1");

  client_.On("menu.get_menu_label", [&](Seen& seen) {
    client_.Assign(seen.outTexts[0], u"\uB4A4\uB85C");
    return 0;
  });
  ControlCall label(Control(), "menu.get_menu_label");
  label.Int(1, 26501).Text(2, u"Back");
  Fire(label);
  EXPECT_EQ(client_.Last("menu.get_menu_label").texts, std::vector<std::u16string>{u"Back"});
  EXPECT_EQ(label.TextAt(2), u"\uB4A4\uB85C");
  ControlCall action(Control(), "menu.on_menu_action");
  action.Int(1, 26501);
  Fire(action);
  EXPECT_EQ(client_.Last("menu.on_menu_action").numbers, std::vector<int64_t>{26501});
}

TEST_F(ControlKinds, PrintOptionsAndTheSixHeaderAndFooterStringsComeBack) {
  client_.On("print.get_print_options", [](Seen& seen) {
    auto* options = static_cast<TCefPrintOptions*>(seen.records[0]);
    options->page_orientation = LANDSCAPE;
    options->paper_margins.left = options->paper_metrics.width / 10;
    return 1;
  });
  TCefPrintOptions options{};
  options.paper_metrics.paper_type = PT_A4;
  options.paper_metrics.width = 210.0;
  ControlCall print(Control(), "print.get_print_options");
  print.Record(1, options);
  Fire(print);
  TCefPrintOptions left = print.RecordAt<TCefPrintOptions>(1);
  EXPECT_EQ(left.page_orientation, LANDSCAPE);
  EXPECT_EQ(left.paper_metrics.paper_type, PT_A4);
  EXPECT_DOUBLE_EQ(left.paper_margins.left, 21.0);

  TCefPrintInfo info{};
  info.Rect = {1, 2, 300, 400};
  info.Scale = 1.25;
  std::vector<std::u16string> incoming;
  TCefPrintInfo seenInfo{};
  client_.On("print.get_print_header_footer", [&](Seen& seen) {
    seenInfo = *static_cast<const TCefPrintInfo*>(seen.records[0]);
    const char16_t* parts[] = {u"TL", u"TC", u"TR", u"BL", u"BC", u"BR"};
    for (size_t i = 0; i < 6; ++i) {
      incoming.push_back(Text(*seen.outTexts[i]));
      client_.Store(seen.outTexts[i], parts[i]);
    }
    return 0;
  });
  ControlCall header(Control(), "print.get_print_header_footer");
  header.Object(1, FrameArg()).Record(2, info).Text(3, u"http://service.example/").Text(4, u"Bids").Int(5, 2).Int(6, 5);
  Fire(header);
  EXPECT_EQ(incoming, std::vector<std::u16string>(6)) << "the six start empty";
  EXPECT_EQ(std::vector<int32_t>({seenInfo.Rect.left, seenInfo.Rect.top, seenInfo.Rect.right, seenInfo.Rect.bottom}),
            std::vector<int32_t>({1, 2, 300, 400}));
  EXPECT_DOUBLE_EQ(seenInfo.Scale, 1.25);
  EXPECT_EQ(client_.Last("print.get_print_header_footer").numbers, (std::vector<int64_t>{2, 5}));
  std::vector<std::u16string> left6;
  for (int32_t index = 7; index <= 12; ++index) left6.push_back(header.TextAt(index));
  EXPECT_EQ(left6, (std::vector<std::u16string>{u"TL", u"TC", u"TR", u"BL", u"BC", u"BR"}));
}

TEST_F(ControlKinds, AFindResultCarriesTheIdentifierAheadOfTheCount) {
  TCefRect selection{5, 6, 70, 80};
  TCefRect seenRect{};
  client_.On("find.on_find_result", [&](Seen& seen) {
    seenRect = *static_cast<const TCefRect*>(seen.records[0]);
    return 0;
  });
  ControlCall find(Control(), "find.on_find_result");
  find.Int(1, 7).Int(2, 12).Record(3, selection).Int(4, 3).Int(5, 1);
  Fire(find);
  EXPECT_EQ(client_.Last("find.on_find_result").numbers, (std::vector<int64_t>{7, 12, 3, 1}));
  EXPECT_EQ(std::vector<int32_t>({seenRect.x, seenRect.y, seenRect.width, seenRect.height}),
            std::vector<int32_t>({5, 6, 70, 80}));
}

TEST_F(ControlKinds, DialogAnswersComeBackThroughTheirOuts) {
  client_.On("jsdialog.on_jsconfirm", [](Seen& seen) {
    *seen.outInts[0] = seen.numbers[0] ? 0 : 1;
    return 1;
  });
  client_.On("jsdialog.on_jsprompt", [&](Seen& seen) {
    *seen.outInts[0] = 1;
    client_.Store(seen.outTexts[0], seen.texts[1] + u"!");
    return 1;
  });
  ControlCall alert(Control(), "jsdialog.on_jsalert");
  alert.Object(1, FrameArg()).Text(2, u"Saved.");
  Fire(alert);
  EXPECT_EQ(client_.Last("jsdialog.on_jsalert").texts, std::vector<std::u16string>{u"Saved."});
  ControlCall confirm(Control(), "jsdialog.on_jsconfirm");
  confirm.Object(1, FrameArg()).Text(2, u"Sure?").Int(3, 1);
  Fire(confirm);
  EXPECT_EQ(client_.Last("jsdialog.on_jsconfirm").numbers, std::vector<int64_t>{1}) << "the value that came in";
  EXPECT_EQ(confirm.IntAt(3), 0);
  ControlCall prompt(Control(), "jsdialog.on_jsprompt");
  prompt.Object(1, FrameArg()).Text(2, u"Name?").Text(3, u"Lee");
  Fire(prompt);
  EXPECT_EQ(prompt.IntAt(4), 1);
  EXPECT_EQ(prompt.TextAt(5), u"Lee!");
}

TEST_F(ControlKinds, BindingGetsTheScriptValueGiven) {
  RuntimeRef<TCefv8Value> value(Api().cef_v8value_create_int(5));
  int32_t seen = 0;
  client_.On("jsbinding.on_jsbinding", [&](Seen& call) {
    auto* v = reinterpret_cast<TCefv8Value*>(call.objects[0]);
    seen = v->get_int_value(v);
    return 0;
  });
  ControlCall binding(Control(), "jsbinding.on_jsbinding");
  binding.Object(1, FrameArg()).Object(2, &value->base);
  Fire(binding);
  EXPECT_EQ(seen, 5);
  EXPECT_EQ(Control().standin_refcount(&value->base), 1) << "the program released its reference";
}

TEST_F(ControlKinds, RenderCallbacksFillTheirRectanglesAndPoints) {
  client_.On("render.get_view_rect", [](Seen& seen) {
    *static_cast<TCefRect*>(seen.records[0]) = {0, 0, 800, 600};
    return 1;
  });
  client_.On("render.get_screen_point", [](Seen& seen) {
    *seen.outInts[0] = static_cast<int32_t>(seen.numbers[0]) + 100;
    *seen.outInts[1] = static_cast<int32_t>(seen.numbers[1]) + 200;
    return 1;
  });
  ControlCall view(Control(), "render.get_view_rect");
  Fire(view);
  TCefRect rect = view.RecordAt<TCefRect>(1);
  EXPECT_EQ(std::vector<int32_t>({rect.x, rect.y, rect.width, rect.height}), std::vector<int32_t>({0, 0, 800, 600}));
  EXPECT_EQ(view.Answer(), 1);
  ControlCall point(Control(), "render.get_screen_point");
  point.Int(1, 10).Int(2, 20);
  Fire(point);
  EXPECT_EQ(point.IntAt(3), 110);
  EXPECT_EQ(point.IntAt(4), 220);

  uint8_t pixels[16] = {};
  ControlCall paint(Control(), "render.on_paint");
  paint.Int(1, 1).Record(2, TCefRect{1, 2, 3, 4}).Pointer(3, pixels);
  Fire(paint);
  EXPECT_EQ(client_.Last("render.on_paint").pointers, std::vector<const void*>{pixels});
  int cursor = 0;
  ControlCall change(Control(), "render.on_cursor_change");
  change.Pointer(1, &cursor);
  Fire(change);
  EXPECT_EQ(client_.Last("render.on_cursor_change").pointers, std::vector<const void*>{&cursor});
  ControlCall show(Control(), "render.on_popup_show");
  show.Int(1, 1);
  Fire(show);
  EXPECT_EQ(client_.Last("render.on_popup_show").numbers, std::vector<int64_t>{1});
}

TEST_F(ControlKinds, DragCallbacksGetTheDragData) {
  RuntimeRef<TCefDragData> data(Control().standin_create_drag_data(1, u"http://service.example/file.hwp", u"Bid file",
                                                                   nullptr, nullptr, nullptr, nullptr, nullptr,
                                                                   nullptr, nullptr));
  std::u16string link;
  client_.On("drag.on_drag_enter", [&](Seen& seen) {
    auto* d = reinterpret_cast<TCefDragData*>(seen.objects[0]);
    link = client_.Take(d->get_link_url(d));
    return seen.numbers[0] == 3 ? 1 : 0;
  });
  ControlCall enter(Control(), "drag.on_drag_enter");
  enter.Object(1, &data->base).Int(2, 3);
  Fire(enter);
  EXPECT_EQ(enter.Answer(), 1);
  EXPECT_EQ(link, u"http://service.example/file.hwp");
  EXPECT_EQ(Control().standin_refcount(&data->base), 1);
}

}  // namespace
}  // namespace callback_testing
