#include "cef/ceflib/plugin_paths.h"

#include <gtest/gtest.h>

namespace {

using cef::SplitPluginPaths;
using Items = std::vector<std::u16string>;

TEST(PluginPathsTest, ASemicolonThatEndsTheTextAddsAnEmptyItem) {
  EXPECT_EQ(SplitPluginPaths(u"a;b;"), (Items{u"a", u"b", u""}));
  EXPECT_EQ(SplitPluginPaths(u"a;b"), (Items{u"a", u"b"}));
}

TEST(PluginPathsTest, ABlankSplitsAnUnquotedPath) {
  EXPECT_EQ(SplitPluginPaths(u"C:\\Program Files\\x.dll"), (Items{u"C:\\Program", u"Files\\x.dll"}));
}

TEST(PluginPathsTest, QuotesKeepBlanksAndSemicolonsAndDropTheQuotes) {
  EXPECT_EQ(SplitPluginPaths(u"\"C:\\Program Files\\x.dll\""), (Items{u"C:\\Program Files\\x.dll"}));
  EXPECT_EQ(SplitPluginPaths(u"\"a;b\";c"), (Items{u"a;b", u"c"}));
  EXPECT_EQ(SplitPluginPaths(u"\"say \"\"hi\"\"\""), (Items{u"say \"hi\""}));
}

TEST(PluginPathsTest, BlanksAroundItemsAndAfterSemicolonsAreSkipped) {
  EXPECT_EQ(SplitPluginPaths(u"  a ;\t b\r\n"), (Items{u"a", u"b"}));
  // The text does not end with the semicolon: no empty item.
  EXPECT_EQ(SplitPluginPaths(u"a; "), (Items{u"a"}));
}

TEST(PluginPathsTest, EmptyItemsBetweenSemicolonsAreKept) {
  EXPECT_EQ(SplitPluginPaths(u"a;;b"), (Items{u"a", u"", u"b"}));
  EXPECT_EQ(SplitPluginPaths(u";"), (Items{u"", u""}));
}

TEST(PluginPathsTest, EmptyAndBlankTextsGiveNoItems) {
  EXPECT_TRUE(SplitPluginPaths(u"").empty());
  EXPECT_TRUE(SplitPluginPaths(u"   ").empty());
}

TEST(PluginPathsTest, AnUnclosedQuoteRunsToTheEnd) {
  EXPECT_EQ(SplitPluginPaths(u"\"a b"), (Items{u"a b"}));
}

}  // namespace
