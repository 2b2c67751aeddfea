// Display, focus, keys, menus, printing, finding, script dialogs and binding, rendering and
// dragging: what each entry hands the control and what goes back.

#include "runtime_side.h"

namespace dispatch_tests {
namespace {

class PageTest : public SceneTest {
 protected:
  TCefBool HeaderFooter() {
    RuntimeString url(u"http://service.example/bid/7"), title(u"공고");
    TCefString* m = args.margins;
    return print->get_print_header_footer(print, args.Browser(), args.Frame(), &args.printInfo, url.get(),
                                          title.get(), 2, 9, &m[0], &m[1], &m[2], &m[3], &m[4], &m[5]);
  }
  TCefBool Prompt() {
    RuntimeString message(u"입찰 번호?"), defaultValue(u"2024");
    return dialogs->on_jsprompt(dialogs, args.Browser(), args.Frame(), message.get(), defaultValue.get(),
                                &args.retval, &args.promptResult);
  }

  TCefDisplayHandler* display = handlers.Get<TCefDisplayHandler>();
  TCefMenuHandler* menu = handlers.Get<TCefMenuHandler>();
  TCefPrintHandler* print = handlers.Get<TCefPrintHandler>();
  TCefJsDialogHandler* dialogs = handlers.Get<TCefJsDialogHandler>();
};

TEST_F(PageTest, ATooltipWithNoEventGoesBackAsANewRuntimeOwnedCopy) {
  const int32_t strings = Live("String");
  EXPECT_EQ(display->on_tooltip(display, args.Browser(), args.tooltip.get()), 0);
  EXPECT_EQ(events->calls, Calls{"doOnTooltip " + Browser() + " \"입찰 공고\""});
  EXPECT_FALSE(args.tooltip.Untouched()) << "a new copy, not the record that came in";
  EXPECT_NE(args.tooltip.record().dtor, nullptr);
  EXPECT_EQ(args.tooltip.Text(), u"입찰 공고");
  EXPECT_EQ(Live("String"), strings) << "the old characters were freed";
}

TEST_F(PageTest, ATooltipEventThatEmptiesTheTextLeavesAnAllZeroRecord) {
  events->texts["text"] = u"";
  events->answer = true;
  EXPECT_EQ(display->on_tooltip(display, args.Browser(), args.tooltip.get()), 1);
  EXPECT_EQ(args.tooltip.record().str, nullptr);
  EXPECT_EQ(args.tooltip.record().length, 0u);
  EXPECT_EQ(args.tooltip.record().dtor, nullptr);
}

TEST_F(PageTest, DisplayEntriesReadTheirFlagsStringsAndTypes) {
  RuntimeString message(u"TypeError"), source(u"http://service.example/app.js");
  events->answer = true;
  display->on_nav_state_change(display, args.Browser(), 0, -1);
  display->on_address_change(display, args.Browser(), args.Frame(), message.get());
  display->on_title_change(display, args.Browser(), nullptr);
  display->on_status_message(display, args.Browser(), source.get(), STATUSTYPE_KEYBOARD_FOCUS_URL);
  EXPECT_EQ(display->on_console_message(display, args.Browser(), message.get(), source.get(), 42), 1);
  const std::string b = Browser();
  EXPECT_EQ(events->calls, (Calls{"doOnNavStateChange " + b + " false true",
                                  "doOnAddressChange " + b + " " + Frame() + " \"TypeError\"",
                                  "doOnTitleChange " + b + " \"\"",
                                  "doOnStatusMessage " + b + " \"http://service.example/app.js\" 2",
                                  "doOnConsoleMessage " + b + " \"TypeError\" \"http://service.example/app.js\" 42"}));
  EXPECT_TRUE(args.Balanced());
}

TEST_F(PageTest, FocusAndKeysKeepTheirArgumentsApart) {
  auto* focus = handlers.Get<TCefFocusHandler>();
  auto* keys = handlers.Get<TCefKeyboardHandler>();
  events->answer = true;
  focus->on_take_focus(focus, args.Browser(), 2);
  EXPECT_EQ(focus->on_set_focus(focus, args.Browser(), FOCUS_SOURCE_WIDGET), 1);
  EXPECT_EQ(keys->on_key_event(keys, args.Browser(), KEYEVENT_KEYUP, 13, 4, 9), 1);
  const std::string b = Browser();
  EXPECT_EQ(events->calls,
            (Calls{"doOnTakeFocus " + b + " true", "doOnSetFocus " + b + " 2", "doOnKeyEvent " + b + " 2 13 4 true"}));
}

TEST_F(PageTest, AMenuLabelWithNoEventIsWrittenBackUnchanged) {
  menu->get_menu_label(menu, args.Browser(), 26, args.label.get());
  EXPECT_EQ(events->calls, Calls{"doOnGetMenuLabel " + Browser() + " 26 \"&Back\""});
  EXPECT_EQ(args.label.Text(), u"&Back");
}

TEST_F(PageTest, AMenuLabelTakesTheEventsCaptionWhateverItAnswered) {
  events->texts["caption"] = u"뒤로";
  menu->get_menu_label(menu, args.Browser(), 26, args.label.get());
  EXPECT_EQ(args.label.Text(), u"뒤로");
}

TEST_F(PageTest, MenuEntriesPassTheRecordAndTheIdentifier) {
  events->answer = true;
  EXPECT_EQ(menu->on_before_menu(menu, args.Browser(), &args.menuInfo), 1);
  EXPECT_EQ(menu->on_menu_action(menu, args.Browser(), 41003), 1);
  EXPECT_EQ(events->calls, (Calls{"doOnBeforeMenu " + Browser() + " " + Ptr(&args.menuInfo),
                                  "doOnMenuAction " + Browser() + " 41003"}));
}

TEST_F(PageTest, PrintHeaderAndFooterAnsweredFalseWithNoEventStoreSixEmptyStrings) {
  // Records the runtime lent without characters of its own: overwritten, never freed.
  static char16_t lent[] = u"x";
  for (TCefString& margin : args.margins) margin = {lent, 1, nullptr};
  EXPECT_EQ(HeaderFooter(), 0);
  EXPECT_EQ(events->calls, Calls{"doOnPrintHeaderFooter " + Browser() + " " + Frame() + " " + Ptr(&args.printInfo) +
                                 " \"http://service.example/bid/7\" \"공고\" 2 9 \"\" \"\" \"\" \"\" \"\" \"\""});
  for (const TCefString& margin : args.margins) {
    EXPECT_EQ(margin.str, nullptr);
    EXPECT_EQ(margin.length, 0u);
    EXPECT_EQ(margin.dtor, nullptr);
  }
}

TEST_F(PageTest, PrintHeaderAndFooterAnsweredFalseHandEachTextToItsOwnRecord) {
  const char* names[] = {"topLeft", "topCenter", "topRight", "bottomLeft", "bottomCenter", "bottomRight"};
  const std::u16string texts[] = {u"1", u"2", u"3", u"4", u"5", u"6"};
  for (int i = 0; i < 6; ++i) events->texts[names[i]] = texts[i];
  EXPECT_EQ(HeaderFooter(), 0);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(cef::CefStringRead(&args.margins[i]), texts[i]) << names[i];
    EXPECT_NE(args.margins[i].dtor, nullptr) << "the runtime's own copy";
  }
}

TEST_F(PageTest, PrintHeaderAndFooterAnsweredTrueStoreNothing) {
  events->answer = true;
  events->texts["topCenter"] = u"QVN";
  EXPECT_EQ(HeaderFooter(), 1);
  for (const TCefString& margin : args.margins) EXPECT_EQ(margin.str, nullptr);
}

TEST_F(PageTest, PrintOptionsPassTheRuntimesRecord) {
  events->answer = true;
  EXPECT_EQ(print->get_print_options(print, args.Browser(), &args.printOptions), 1);
  EXPECT_EQ(events->calls, Calls{"doOnPrintOptions " + Browser() + " " + Ptr(&args.printOptions)});
}

TEST_F(PageTest, AFindResultWithIdentifierSevenAndOrdinalThreeGivesTrueForBoth) {
  auto* find = handlers.Get<TCefFindHandler>();
  find->on_find_result(find, args.Browser(), 7, 5, &args.rect, 3, 0);
  EXPECT_EQ(events->calls, Calls{"doOnFindResult " + Browser() + " 5 " + Ptr(&args.rect) + " true true false"});
}

TEST_F(PageTest, AFindResultKeepsTheIdentifierApartFromTheCountAndTheOrdinal) {
  auto* find = handlers.Get<TCefFindHandler>();
  find->on_find_result(find, args.Browser(), 0, 12, &args.rect, 1, 1);
  find->on_find_result(find, args.Browser(), 1, 0, nullptr, 0, 0);
  EXPECT_EQ(events->calls, (Calls{"doOnFindResult " + Browser() + " 12 " + Ptr(&args.rect) + " false true true",
                                  "doOnFindResult " + Browser() + " 0 null true false false"}));
}

TEST_F(PageTest, AConfirmWritesItsRetvalOnlyWhenAnsweredTrue) {
  RuntimeString message(u"삭제할까요?");
  events->flags["retval"] = false;
  EXPECT_EQ(dialogs->on_jsconfirm(dialogs, args.Browser(), args.Frame(), message.get(), &args.retval), 0);
  EXPECT_EQ(args.retval, 7);
  events->answer = true;
  EXPECT_EQ(dialogs->on_jsconfirm(dialogs, args.Browser(), args.Frame(), message.get(), &args.retval), 1);
  EXPECT_EQ(args.retval, 0);
  EXPECT_EQ(events->calls.front(), "doOnJsConfirm " + Browser() + " " + Frame() + " \"삭제할까요?\" true");
}

TEST_F(PageTest, APromptAnsweredFalseWritesNeitherRetvalNorResult) {
  events->texts["return"] = u"2025";
  EXPECT_EQ(Prompt(), 0);
  EXPECT_EQ(events->calls,
            Calls{"doOnJsPrompt " + Browser() + " " + Frame() + " \"입찰 번호?\" \"2024\" true \"\""});
  EXPECT_EQ(args.retval, 7);
  EXPECT_EQ(args.promptResult.str, nullptr);
}

TEST_F(PageTest, APromptAnsweredTrueWritesTheRetvalAndARuntimeOwnedResult) {
  events->answer = true;
  events->texts["return"] = u"2025";
  EXPECT_EQ(Prompt(), 1);
  EXPECT_EQ(args.retval, 1);
  EXPECT_EQ(cef::CefStringRead(&args.promptResult), u"2025");
  EXPECT_NE(args.promptResult.dtor, nullptr);
}

TEST_F(PageTest, AnAlertPassesItsMessage) {
  RuntimeString message(u"저장되었습니다");
  EXPECT_EQ(dialogs->on_jsalert(dialogs, args.Browser(), args.Frame(), message.get()), 0);
  EXPECT_EQ(events->calls, Calls{"doOnJsAlert " + Browser() + " " + Frame() + " \"저장되었습니다\""});
}

TEST_F(PageTest, ScriptBindingWrapsTheGlobalObjectAndReleasesItAfterwards) {
  auto* binding = handlers.Get<TCefJsBindingHandler>();
  binding->on_jsbinding(binding, args.Browser(), args.Frame(), args.value.Hand());
  EXPECT_EQ(events->calls, Calls{"doOnJsBinding " + Browser() + " " + Frame() + " " + Ptr(&args.value.wire)});
  EXPECT_TRUE(args.Balanced());
}

TEST_F(PageTest, RenderEntriesPassTheirPointersThroughAndAnswerTheControl) {
  auto* render = handlers.Get<TCefRenderHandler>();
  const auto cursor = reinterpret_cast<TCefCursorHandle>(uintptr_t{0xC0});
  events->answer = true;
  EXPECT_EQ(render->get_screen_point(render, args.Browser(), 10, 20, &args.screenX, &args.screenY), 1);
  render->on_paint(render, args.Browser(), 1, &args.rect, &args.features);
  render->on_popup_show(render, args.Browser(), 0);
  render->on_cursor_change(render, args.Browser(), cursor);
  const std::string b = Browser();
  EXPECT_EQ(events->calls,
            (Calls{"doOnGetScreenPoint " + b + " 10 20 " + Ptr(&args.screenX) + " " + Ptr(&args.screenY),
                   "doOnPaint " + b + " 1 " + Ptr(&args.rect) + " " + Ptr(&args.features),
                   "doOnPopupShow " + b + " false", "doOnCursorChange " + b + " " + Ptr(cursor)}));
}

TEST_F(PageTest, DragEntriesWrapTheDragDataAndPassTheMask) {
  auto* drag = handlers.Get<TCefDragHandler>();
  events->answer = true;
  EXPECT_EQ(drag->on_drag_enter(drag, args.Browser(), RuntimeArgs::Hand(args.dragData), 0x11), 1);
  EXPECT_EQ(drag->on_drag_start(drag, args.Browser(), nullptr, 1), 1);
  EXPECT_EQ(events->calls, (Calls{"doOnDragEnter " + Browser() + " " + Ptr(args.dragData) + " 17",
                                  "doOnDragStart " + Browser() + " null 1"}));
  EXPECT_TRUE(args.Balanced());
}

}  // namespace
}  // namespace dispatch_tests
