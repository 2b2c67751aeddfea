#include "platform/text.h"

#include <gtest/gtest.h>

namespace {

// "분석 프로그램 😀𠮷": Hangul, a blank, and two characters outside the basic plane.
const std::u16string kMixed = u"분석 프로그램 \U0001F600\U00020BB7";
const std::string kMixedUtf8 =
    "\xEB\xB6\x84\xEC\x84\x9D \xED\x94\x84\xEB\xA1\x9C\xEA\xB7\xB8\xEB\x9E\xA8 \xF0\x9F\x98\x80\xF0\xA0\xAE\xB7";

TEST(TextTest, Utf8RoundTripsHangulAndSurrogatePairs) {
  EXPECT_EQ(platform::Utf16ToUtf8(kMixed), kMixedUtf8);
  EXPECT_EQ(platform::Utf8ToUtf16(kMixedUtf8), kMixed);
}

TEST(TextTest, WideRoundTripsWithThePlatformsWidth) {
  std::wstring wide = platform::Utf16ToWide(kMixed);
  // UTF-16 on Windows keeps the pairs; UTF-32 elsewhere joins each pair into one character.
  EXPECT_EQ(wide.size(), sizeof(wchar_t) == 2 ? kMixed.size() : kMixed.size() - 2);
  EXPECT_EQ(platform::WideToUtf16(wide), kMixed);
}

TEST(TextTest, IllFormedInputBecomesReplacementCharacters) {
  EXPECT_EQ(platform::Utf8ToUtf16("a\xC3(b"), u"a\uFFFD(b");
  EXPECT_EQ(platform::Utf8ToUtf16("\xE0\x80\x80"), u"\uFFFD");  // overlong
  EXPECT_EQ(platform::Utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
}

}  // namespace
