// Drag data as the drag handler's events hand it to the program.

#include <gtest/gtest.h>

#include <vector>

#include "standin_document/wire_objects.h"

namespace standin_tests {
namespace {

constexpr int32_t kLink = 1, kFragment = 2, kFiles = 4;

class DragDataTest : public WireTest {
 protected:
  std::vector<std::u16string> Items(TCefStringList list) {
    std::vector<std::u16string> items;
    for (int32_t i = 0, n = api().cef_string_list_size(list); i < n; ++i) {
      TCefString value{};
      api().cef_string_list_value(list, i, &value);
      items.emplace_back(value.str, value.length);
      api().cef_string_utf16_clear(&value);
    }
    return items;
  }
};

TEST_F(DragDataTest, ALinkAndAFragmentAnswerTheirTextsAndNothingElse) {
  Own<TCefDragData> drag(control().standin_create_drag_data(kLink | kFragment, u"http://service.example/a",
                                                            u"제목", u"", u"text", u"<b>text</b>",
                                                            u"http://service.example/", nullptr, nullptr, nullptr));
  ASSERT_NE(drag, nullptr);
  TCefDragData* d = drag.get();
  EXPECT_EQ(d->is_link(d), 1);
  EXPECT_EQ(d->is_fragment(d), 1);
  EXPECT_EQ(d->is_file(d), 0);
  EXPECT_EQ(Text(d->get_link_url(d)), u"http://service.example/a");
  EXPECT_EQ(Text(d->get_link_title(d)), u"제목");
  EXPECT_EQ(Take(d->get_link_metadata(d)), std::u16string()) << "an empty text is a string, not null";
  EXPECT_EQ(Text(d->get_fragment_text(d)), u"text");
  EXPECT_EQ(Text(d->get_fragment_html(d)), u"<b>text</b>");
  EXPECT_EQ(Text(d->get_fragment_base_url(d)), u"http://service.example/");
  EXPECT_EQ(d->get_file_extension(d), nullptr);
  EXPECT_EQ(d->get_file_name(d), nullptr);
}

TEST_F(DragDataTest, FileNamesAreAppendedAfterWhatTheListHolds) {
  Own<TCefDragData> drag(control().standin_create_drag_data(kFiles, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                            nullptr, u".hwp", u"공고.hwp",
                                                            u"C:\\a\\공고.hwp\nC:\\b\\c.pdf"));
  TCefDragData* d = drag.get();
  EXPECT_EQ(d->is_file(d), 1);
  EXPECT_EQ(d->is_link(d), 0);
  EXPECT_EQ(Text(d->get_file_extension(d)), u".hwp");
  EXPECT_EQ(Text(d->get_file_name(d)), u"공고.hwp");
  TCefStringList names = api().cef_string_list_alloc();
  std::u16string kept = u"kept";
  TCefString s = View(kept);
  api().cef_string_list_append(names, &s);
  EXPECT_EQ(d->get_file_names(d, names), 1);
  EXPECT_EQ(Items(names), (std::vector<std::u16string>{u"kept", u"C:\\a\\공고.hwp", u"C:\\b\\c.pdf"}));
  api().cef_string_list_free(names);
}

TEST_F(DragDataTest, ADragWithoutFilesLeavesTheListAlone) {
  Own<TCefDragData> drag(control().standin_create_drag_data(kLink, u"http://x/", nullptr, nullptr, nullptr, nullptr,
                                                            nullptr, nullptr, nullptr, u""));
  TCefDragData* d = drag.get();
  TCefStringList names = api().cef_string_list_alloc();
  EXPECT_EQ(d->get_file_names(d, names), 0);
  EXPECT_EQ(api().cef_string_list_size(names), 0);
  api().cef_string_list_free(names);
  EXPECT_EQ(d->get_link_title(d), nullptr);
  EXPECT_EQ(d->base.size, sizeof(TCefDragData));
}

}  // namespace
}  // namespace standin_tests
