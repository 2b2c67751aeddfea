#include "shell/my_utils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using shell::ReplaceAllText;
using shell::SplitByDelimiter;
using Pieces = std::vector<std::u16string>;

TEST(SplitByDelimiterTest, PiecesAroundTheDelimiter) {
  EXPECT_EQ(SplitByDelimiter(u"-", u"A-B"), (Pieces{u"A", u"B"}));
  EXPECT_EQ(SplitByDelimiter(u"-", u"123-45-6"), (Pieces{u"123", u"45", u"6"}));
  EXPECT_EQ(SplitByDelimiter(u"-", u"A--B"), (Pieces{u"A", u"", u"B"}));
  EXPECT_EQ(SplitByDelimiter(u"::", u"a::b:c"), (Pieces{u"a", u"b:c"}));
}

TEST(SplitByDelimiterTest, EdgesOfTheText) {
  // A leading delimiter leaves an empty first piece; a trailing one adds nothing.
  EXPECT_EQ(SplitByDelimiter(u"-", u"-B"), (Pieces{u"", u"B"}));
  EXPECT_EQ(SplitByDelimiter(u"-", u"A-"), (Pieces{u"A"}));
  EXPECT_EQ(SplitByDelimiter(u"-", u"A"), (Pieces{u"A"}));
  EXPECT_EQ(SplitByDelimiter(u"-", u"-"), (Pieces{u""}));
  EXPECT_EQ(SplitByDelimiter(u"-", u"A--"), (Pieces{u"A", u""}));
  EXPECT_TRUE(SplitByDelimiter(u"-", u"").empty());
}

TEST(SplitByDelimiterTest, LineBreaksInTheTextSplitItToo) {
  EXPECT_EQ(SplitByDelimiter(u"-", u"A\r\nB-C"), (Pieces{u"A", u"B", u"C"}));
  EXPECT_EQ(SplitByDelimiter(u"-", u"A\rB\nC"), (Pieces{u"A", u"B", u"C"}));
  // LF CR is two breaks, CR LF one.
  EXPECT_EQ(SplitByDelimiter(u"-", u"A\n\rB"), (Pieces{u"A", u"", u"B"}));
  EXPECT_EQ(SplitByDelimiter(u"-", u"A\r\n"), (Pieces{u"A"}));
  EXPECT_EQ(SplitByDelimiter(u"-", u"A\r\n\r\n"), (Pieces{u"A", u""}));
  EXPECT_EQ(SplitByDelimiter(u"-", u"A-\n"), (Pieces{u"A", u""}));
}

TEST(SplitByDelimiterTest, AnEmptyDelimiterSplitsAtLineBreaksOnly) {
  EXPECT_EQ(SplitByDelimiter(u"", u"A-B\nC"), (Pieces{u"A-B", u"C"}));
}

TEST(ReplaceAllTextTest, ReplacesEveryOccurrence) {
  EXPECT_EQ(ReplaceAllText(u"-", u"+", u"a-b-c-"), u"a+b+c+");
  EXPECT_EQ(ReplaceAllText(u"ab", u"", u"xabyab"), u"xy");
  EXPECT_EQ(ReplaceAllText(u"q", u"z", u"abc"), u"abc");
  EXPECT_EQ(ReplaceAllText(u"q", u"z", u""), u"");
  EXPECT_EQ(ReplaceAllText(u"입찰", u"bid", u"입찰-입찰"), u"bid-bid");
}

TEST(ReplaceAllTextTest, CaseSensitive) {
  EXPECT_EQ(ReplaceAllText(u"a", u"x", u"aAa"), u"xAx");
}

TEST(ReplaceAllTextTest, LeftToRightWithoutOverlapping) {
  EXPECT_EQ(ReplaceAllText(u"aa", u"X", u"aaa"), u"Xa");
  EXPECT_EQ(ReplaceAllText(u"aa", u"X", u"aaaa"), u"XX");
  EXPECT_EQ(ReplaceAllText(u"aba", u"X", u"ababa"), u"Xba");
}

TEST(ReplaceAllTextTest, ReplacedTextIsNotSearchedAgain) {
  EXPECT_EQ(ReplaceAllText(u"a", u"aa", u"aba"), u"aabaa");
  // The replacement completes an occurrence with what follows; that is not searched either.
  EXPECT_EQ(ReplaceAllText(u"ab", u"a", u"aabb"), u"aab");
}

TEST(ReplaceAllTextTest, AnEmptyPatternLeavesTheTextUnchanged) {
  EXPECT_EQ(ReplaceAllText(u"", u"x", u"abc"), u"abc");
  EXPECT_EQ(ReplaceAllText(u"", u"x", u""), u"");
}

}  // namespace
