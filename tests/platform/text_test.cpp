#include "platform/text.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace std::string_view_literals;

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

struct Encoded {
  std::string_view utf8;
  std::u16string_view utf16;
};

// The first and last character of each encoded length, and those on either side of the
// surrogate range, which are not characters.
constexpr Encoded kFirstAndLast[] = {
    {"\0"sv, u"\0"sv},
    {"\x7F", u"\x7F"},
    {"\xC2\x80", u"\x80"},
    {"\xDF\xBF", u"\x7FF"},
    {"\xE0\xA0\x80", u"\x800"},
    {"\xED\x9F\xBF", u"\xD7FF"},
    {"\xEE\x80\x80", u"\xE000"},
    {"\xEF\xBF\xBF", u"\xFFFF"},
    {"\xF0\x90\x80\x80", u"\xD800\xDC00"},
    {"\xF0\x90\x8F\xBF", u"\xD800\xDFFF"},
    {"\xF4\x8F\xB0\x80", u"\xDBFF\xDC00"},
    {"\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
};

TEST(TextTest, TheFirstAndLastCharacterOfEachLengthConvertBothWays) {
  for (const Encoded& c : kFirstAndLast) {
    EXPECT_EQ(platform::Utf8ToUtf16(c.utf8), c.utf16) << platform::Utf16ToUtf8(c.utf16);
    EXPECT_EQ(platform::Utf16ToUtf8(c.utf16), c.utf8);
  }
}

TEST(TextTest, IllFormedUtf8BecomesOneReplacementPerBrokenSequence) {
  constexpr Encoded kIllFormed[] = {
      {"\x80", u"\xFFFD"},               // a continuation byte without a lead
      {"\xBF", u"\xFFFD"},
      {"\xC1\xBF", u"\xFFFD"},           // overlong, one length below each first character
      {"\xE0\x9F\xBF", u"\xFFFD"},
      {"\xF0\x8F\xBF\xBF", u"\xFFFD"},
      {"\xED\xA0\x80", u"\xFFFD"},       // surrogates encoded as characters
      {"\xED\xBF\xBF", u"\xFFFD"},
      {"\xF4\x90\x80\x80", u"\xFFFD"},   // beyond U+10FFFF
      {"\xF8\x88\x80\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD"},  // no lead of five bytes or more
      {"\xFF", u"\xFFFD"},
      {"\xE2\x82" "ab", u"\xFFFD" u"ab"},  // cut short at the start, in the middle, at the end
      {"a\xF0\x9F\x98" "b", u"a\xFFFD" u"b"},
      {"ab\xC3", u"ab\xFFFD"},
      {std::string_view("\xE2\x82\xAC", 2), u"\xFFFD"},  // the byte that would complete it lies beyond
      {"\xC3(\xC3\xA9", u"\xFFFD(\xE9"},
  };
  for (const Encoded& c : kIllFormed) {
    std::u16string converted = platform::Utf8ToUtf16(c.utf8);
    EXPECT_EQ(converted, c.utf16) << platform::Utf16ToUtf8(converted);
  }
}

TEST(TextTest, LoneSurrogatesBecomeReplacementCharacters) {
  constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  const Encoded kIllFormed[] = {
      {kReplacement, u"\xD800"},
      {kReplacement, u"\xDBFF"},
      {kReplacement, u"\xDC00"},
      {kReplacement, u"\xDFFF"},
      {"\xEF\xBF\xBD\xEF\xBF\xBD", u"\xDC00\xD800"},                 // a pair in the wrong order
      {"\xEF\xBF\xBD\xF4\x8F\xBF\xBF", u"\xDBFF\xDBFF\xDFFF"},      // high followed by a pair
      {"\xEF\xBF\xBD\xEE\x80\x80", u"\xDBFF\xE000"},                // high followed by no low
      {"\xED\x9F\xBF\xEF\xBF\xBD", u"\xD7FF\xDC00"},
      {"\xEF\xBF\xBD" "ab", u"\xD800" u"ab"},                      // at the start, in the middle, at the end
      {"a\xEF\xBF\xBD" "b", u"a\xDC00" u"b"},
      {"ab\xEF\xBF\xBD", u"ab\xDBFF"},
      {kReplacement, std::u16string_view(u"\xD83D\xDE00", 1)},       // its low surrogate lies beyond
  };
  for (const Encoded& c : kIllFormed) EXPECT_EQ(platform::Utf16ToUtf8(c.utf16), c.utf8);
}

#if WCHAR_MAX > 0xFFFF
TEST(TextTest, WideCharactersOutsideUnicodeBecomeReplacementCharacters) {
  struct Wide {
    wchar_t wide;
    std::u16string_view utf16;
  };
  constexpr Wide kWide[] = {
      {0xD7FF, u"\xD7FF"}, {0xD800, u"\xFFFD"}, {0xDFFF, u"\xFFFD"}, {0xE000, u"\xE000"},
      {0xFFFF, u"\xFFFF"}, {0x10000, u"\xD800\xDC00"}, {0x10FFFF, u"\xDBFF\xDFFF"}, {0x110000, u"\xFFFD"},
  };
  for (const Wide& c : kWide) EXPECT_EQ(platform::WideToUtf16(std::wstring(1, c.wide)), c.utf16) << static_cast<unsigned long>(c.wide);
}
#endif

}  // namespace
