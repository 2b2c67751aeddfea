#include "ui/layout_reader.h"

#include <gtest/gtest.h>

#include "support/failure.h"

namespace {

using namespace ui;

TEST(LayoutReaderTest, ReadsNestedObjectsWithEveryKindOfValue) {
  LayoutObject root = ReadLayout(
      "\xEF\xBB\xBF"
      "object MainForm: TMainForm\n"
      "  Caption = 'QVN \xEB\xB6\x84\xEC\x84\x9D''s'  // a comment\n"
      "  ClientWidth = 1058\n"
      "  Font.Height = -11\n"
      "  Align = alTop\n"
      "  Anchors = [akTop, akRight]\n"
      "  Empty = []\n"
      "  object Panel1: TPanel\n"
      "    Height = 80\n"
      "  end\n"
      "  object SaveDialog: TSaveDialog\n"
      "  end\n"
      "end\n");
  EXPECT_EQ(root.name, u"MainForm");
  EXPECT_EQ(root.className, u"TMainForm");
  ASSERT_EQ(root.properties.size(), 6u);
  EXPECT_EQ(root.properties[0].value.kind, LayoutValue::Kind::String);
  EXPECT_EQ(root.properties[0].value.text, u"QVN 분석's");
  EXPECT_EQ(root.properties[1].value.integer, 1058);
  EXPECT_EQ(root.properties[2].name, u"Font.Height");
  EXPECT_EQ(root.properties[2].value.integer, -11);
  EXPECT_EQ(root.properties[3].value.kind, LayoutValue::Kind::Identifier);
  EXPECT_EQ(root.properties[3].value.text, u"alTop");
  EXPECT_EQ(root.properties[4].value.set, (std::vector<std::u16string>{u"akTop", u"akRight"}));
  EXPECT_TRUE(root.properties[5].value.set.empty());
  EXPECT_EQ(root.properties[5].line, 7);
  ASSERT_EQ(root.children.size(), 2u);
  EXPECT_EQ(root.children[0].name, u"Panel1");
  EXPECT_EQ(root.children[0].properties[0].value.integer, 80);
  EXPECT_EQ(root.children[1].className, u"TSaveDialog");
  EXPECT_TRUE(root.children[1].properties.empty());
}

// The message names the line of the fault.
std::u16string ErrorOf(const char* text) {
  return testing_support::FailureMessage<ELayoutError>([&] { ReadLayout(text); });
}

TEST(LayoutReaderTest, FaultsAreReportedWithTheirLine) {
  EXPECT_EQ(ErrorOf("object A: TA\n  X = 'open\nend\n"), u"Form resource, line 2: unterminated string");
  EXPECT_EQ(ErrorOf("object A: TA\n  X = 1\n"), u"Form resource, line 3: 'end' missing for object A");
  EXPECT_EQ(ErrorOf("object A TA\nend\n"), u"Form resource, line 1: expected ':'");
  EXPECT_EQ(ErrorOf("object A: TA\n  X =\nend\n"), u"Form resource, line 3: expected a value");
  EXPECT_EQ(ErrorOf("object A: TA\n  S = [a b]\nend\n"), u"Form resource, line 2: expected ',' or ']'");
  EXPECT_EQ(ErrorOf("object A: TA\nend\nend\n"), u"Form resource, line 3: text after the last 'end'");
  EXPECT_EQ(ErrorOf("object A: TA\n  N = 99999999999999999999\nend\n"), u"Form resource, line 2: number out of range");
  EXPECT_EQ(ErrorOf("object A: TA\n  N = 1 ; \nend\n"), u"Form resource, line 2: unexpected character ';'");
}

}  // namespace
