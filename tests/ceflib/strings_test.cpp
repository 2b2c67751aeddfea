#include "cef/ceflib/strings.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "cef/ceflib/loader.h"
#include "support/standin_control.h"

namespace {

using namespace cef;

const std::u16string kKorean = u"입찰 분석 서비스";
// Hangul and two characters that need surrogate pairs.
const std::u16string kMixed = u"공고 \U0001F4C4\U00020BB7 끝";

class StringsTest : public testing_support::StandinTest {
 protected:
  void SetUp() override {
    testing_support::ProgramStandin();
    StandinTest::SetUp();
  }
  const testing_support::StandinControl& standin() { return testing_support::ProgramStandin(); }
  int32_t LiveStrings() { return standin().standin_live_objects("String"); }
};

TEST_F(StringsTest, ViewBorrowsTheTextsOwnCharacters) {
  std::u16string text = kKorean;
  TCefString view = CefStringView(text);
  EXPECT_EQ(view.str, text.data());
  EXPECT_EQ(view.length, text.size());
  EXPECT_EQ(view.dtor, nullptr);
}

TEST_F(StringsTest, ViewOfAnEmptyTextIsAnEmptyTerminatedStringNeverNull) {
  std::u16string empty;
  TCefString view = CefStringView(empty);
  ASSERT_NE(view.str, nullptr);
  EXPECT_EQ(view.str[0], u'\0');
  EXPECT_EQ(view.length, 0u);
  EXPECT_EQ(view.dtor, nullptr);
}

TEST_F(StringsTest, OwnedCopyOfAnEmptyTextIsAllZero) {
  TCefString copy = CefStringOwnedCopy(u"");
  EXPECT_EQ(copy.str, nullptr);
  EXPECT_EQ(copy.length, 0u);
  EXPECT_EQ(copy.dtor, nullptr);
}

TEST_F(StringsTest, OwnedCopyIsTheRuntimesOwnAndSurvivesTheSource) {
  TCefString copy{};
  {
    std::u16string source = kMixed;
    copy = CefStringOwnedCopy(source);
    EXPECT_NE(copy.str, source.data());
  }
  EXPECT_NE(copy.dtor, nullptr);
  EXPECT_EQ(LiveStrings(), 1);
  EXPECT_EQ(CefStringRead(&copy), kMixed);
  CefApi().cef_string_utf16_clear(&copy);
  EXPECT_EQ(LiveStrings(), 0);
}

TEST_F(StringsTest, AssignReplacesTheTargetsContentWithARuntimeCopy) {
  TCefString target{};
  CefStringAssign(&target, u"first");
  CefStringAssign(&target, kKorean);
  EXPECT_EQ(LiveStrings(), 1) << "the old content was freed";
  EXPECT_NE(target.dtor, nullptr);
  EXPECT_EQ(CefStringRead(&target), kKorean);
  CefApi().cef_string_utf16_clear(&target);
}

TEST_F(StringsTest, AssignToANullTargetDoesNothing) {
  int32_t before = standin().standin_total_calls();
  CefStringAssign(nullptr, kKorean);
  EXPECT_EQ(standin().standin_total_calls(), before);
}

TEST_F(StringsTest, ReadTakesLengthCodeUnitsAndReadsNullAsEmpty) {
  EXPECT_EQ(CefStringRead(nullptr), u"");
  TCefString nullChars{nullptr, 5, nullptr};
  EXPECT_EQ(CefStringRead(&nullChars), u"");
  char16_t unterminated[] = {u'a', u'b', u'c', u'd'};
  TCefString prefix{unterminated, 3, nullptr};
  EXPECT_EQ(CefStringRead(&prefix), u"abc");
}

TEST_F(StringsTest, ReadAndClearFreesAndZeroesTheRecord) {
  TCefString record{};
  CefApi().cef_string_utf16_set(kKorean.data(), static_cast<uint32_t>(kKorean.size()), &record, 1);
  EXPECT_EQ(CefStringReadAndClear(&record), kKorean);
  EXPECT_EQ(record.str, nullptr);
  EXPECT_EQ(record.length, 0u);
  EXPECT_EQ(record.dtor, nullptr);
  EXPECT_EQ(LiveStrings(), 0);
}

TEST_F(StringsTest, ReadUserFreeOfNullCallsNothing) {
  int32_t before = standin().standin_total_calls();
  EXPECT_EQ(CefStringReadUserFree(nullptr), u"");
  EXPECT_EQ(standin().standin_total_calls(), before);
}

TEST_F(StringsTest, ReadUserFreeCopiesAndFrees) {
  TCefStringUserFree s = CefApi().cef_string_userfree_utf16_alloc();
  CefApi().cef_string_utf16_set(kMixed.data(), static_cast<uint32_t>(kMixed.size()), s, 1);
  EXPECT_EQ(CefStringReadUserFree(s), kMixed);
  EXPECT_EQ(standin().standin_live_objects("UserFreeString"), 0);
  EXPECT_EQ(LiveStrings(), 0);
}

TEST_F(StringsTest, HangulAndSurrogatePairsRoundTripThroughTheRuntimesEncodings) {
  TCefStringUtf8 utf8{};
  ASSERT_EQ(CefApi().cef_string_to_utf8(kMixed.data(), static_cast<uint32_t>(kMixed.size()), &utf8), 1);
  EXPECT_EQ(std::string(utf8.str, utf8.length),
            "\xEA\xB3\xB5\xEA\xB3\xA0 \xF0\x9F\x93\x84\xF0\xA0\xAE\xB7 \xEB\x81\x9D");
  TCefString back{};
  ASSERT_EQ(CefApi().cef_string_from_utf8(utf8.str, utf8.length, &back), 1);
  EXPECT_EQ(CefStringReadAndClear(&back), kMixed);
  CefApi().cef_string_utf8_clear(&utf8);

  TCefStringWide wide{};
  ASSERT_EQ(CefApi().cef_string_to_wide(kMixed.data(), static_cast<uint32_t>(kMixed.size()), &wide), 1);
  EXPECT_EQ(wide.length, sizeof(wchar_t) == 2 ? kMixed.size() : kMixed.size() - 2);
  ASSERT_EQ(CefApi().cef_string_from_wide(wide.str, wide.length, &back), 1);
  EXPECT_EQ(CefStringReadAndClear(&back), kMixed);
  CefApi().cef_string_wide_clear(&wide);
  EXPECT_EQ(LiveStrings(), 0);
}

TEST_F(StringsTest, ListReadingAppendsAfterExistingEntriesAndFreesTheList) {
  std::vector<std::u16string> names{u"existing"};
  CefStringListRead(
      [](TCefStringList list) {
        for (const std::u16string& item : {std::u16string(u"main"), kKorean, kMixed}) {
          TCefString view = CefStringView(item);
          CefApi().cef_string_list_append(list, &view);
        }
      },
      names);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"existing", u"main", kKorean, kMixed}));
  EXPECT_EQ(standin().standin_live_objects("StringList"), 0);
  EXPECT_EQ(LiveStrings(), 0) << "every item was cleared after reading";
}

TEST_F(StringsTest, ListIsFreedWhenFillingFails) {
  std::vector<std::u16string> names;
  EXPECT_THROW(CefStringListRead([](TCefStringList) { throw std::runtime_error("fill failed"); }, names),
               std::runtime_error);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(standin().standin_live_objects("StringList"), 0);
}

}  // namespace
