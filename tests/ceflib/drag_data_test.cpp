#include "cef/ceflib/drag_data.h"

#include <gtest/gtest.h>

#include <functional>

#include "fake_objects.h"

namespace {

using namespace cef;
using fakes::Answers;
using fakes::Calls;
using Log = std::vector<std::string>;

class DragDataTest : public fakes::FakeTest {};

TEST_F(DragDataTest, GetFileNamesAppendsAfterExistingEntriesAndAnswersTheRuntime) {
  fakes::FakeDragData fake;
  Ref<ICefDragData> drag = TCefDragDataRef::UnWrap(fake.Hand());
  std::vector<std::u16string> names{u"C:\\earlier.txt"};
  Answers().names = {u"C:\\공고\\a.hwp", u"C:\\b.pdf"};
  Answers().boolean = 1;
  EXPECT_TRUE(drag->GetFileNames(names));
  EXPECT_EQ(names, (std::vector<std::u16string>{u"C:\\earlier.txt", u"C:\\공고\\a.hwp", u"C:\\b.pdf"}));
  EXPECT_EQ(Live("StringList"), 0);
  EXPECT_EQ(Live("String"), 0);
}

TEST_F(DragDataTest, ADragWithoutFilesLeavesTheNamesAsTheyWereAndFreesTheList) {
  fakes::FakeDragData fake;
  Ref<ICefDragData> drag = TCefDragDataRef::UnWrap(fake.Hand());
  std::vector<std::u16string> names{u"kept"};
  int32_t freed = CallCount("cef_string_list_free");
  Answers().boolean = 0;
  EXPECT_FALSE(drag->IsFile());
  EXPECT_FALSE(drag->GetFileNames(names));
  EXPECT_EQ(names, std::vector<std::u16string>{u"kept"});
  EXPECT_EQ(CallCount("cef_string_list_free"), freed + 1);
  // Whatever the answer, the names the runtime put in the list are read.
  Answers().names = {u"late.txt"};
  EXPECT_FALSE(drag->GetFileNames(names));
  EXPECT_EQ(names.back(), u"late.txt");
  EXPECT_EQ(Calls(), (Log{"is_file", "get_file_names", "get_file_names"}));
}

TEST_F(DragDataTest, EveryStringIsReadAndFreedAndNullReadsAsEmpty) {
  fakes::FakeDragData fake;
  Ref<ICefDragData> drag = TCefDragDataRef::UnWrap(fake.Hand());
  const std::vector<std::pair<std::function<std::u16string()>, std::string>> reads = {
      {[&] { return drag->GetLinkUrl(); }, "get_link_url"},
      {[&] { return drag->GetLinkTitle(); }, "get_link_title"},
      {[&] { return drag->GetLinkMetadata(); }, "get_link_metadata"},
      {[&] { return drag->GetFragmentText(); }, "get_fragment_text"},
      {[&] { return drag->GetFragmentHtml(); }, "get_fragment_html"},
      {[&] { return drag->GetFragmentBaseUrl(); }, "get_fragment_base_url"},
      {[&] { return drag->GetFileExtension(); }, "get_file_extension"},
      {[&] { return drag->GetFileName(); }, "get_file_name"},
  };
  for (const auto& [read, member] : reads) {
    Calls().clear();
    Answers().text = u"텍스트";
    EXPECT_EQ(read(), u"텍스트");
    Answers().text.reset();
    EXPECT_EQ(read(), u"");
    EXPECT_EQ(Calls(), (Log{member, member}));
    EXPECT_EQ(Live("UserFreeString"), 0) << member;
  }
  Answers().boolean = 1;
  Calls().clear();
  EXPECT_TRUE(drag->IsLink());
  EXPECT_TRUE(drag->IsFragment());
  EXPECT_EQ(Calls(), (Log{"is_link", "is_fragment"}));
}

}  // namespace
