#include "ui/geometry.h"

#include <gtest/gtest.h>

namespace {

using namespace ui;

TEST(AlignTest, TopThenClientFillTheAreaInsideThePadding) {
  // The main window: a title band of 80 on top, the browser panel below.
  std::vector<AlignItem> items = {{Align::Top, {0, 0, 10, 80}}, {Align::Client, {}}};
  AlignChildren(items, 1058, 745, {1, 0, 1, 1});
  EXPECT_EQ(items[0].bounds, (Rect{1, 0, 1056, 80}));
  EXPECT_EQ(items[1].bounds, (Rect{1, 80, 1056, 664}));
}

TEST(AlignTest, TopsStackInOrderAndInvisibleOnesTakeNoRoom) {
  std::vector<AlignItem> items = {
      {Align::Top, {0, 0, 0, 28}}, {Align::Top, {0, 0, 0, 40}, false}, {Align::Client, {}}, {Align::None, {7, 8, 9, 10}}};
  AlignChildren(items, 1056, 80, {2, 2, 2, 0});
  EXPECT_EQ(items[0].bounds, (Rect{2, 2, 1052, 28}));
  EXPECT_EQ(items[2].bounds, (Rect{2, 30, 1052, 50}));
  EXPECT_EQ(items[3].bounds, (Rect{7, 8, 9, 10})) << "unaligned controls stay";
}

TEST(AlignTest, BottomLeftAndRightTakeTheirEdges) {
  std::vector<AlignItem> items = {{Align::Bottom, {0, 0, 0, 20}}, {Align::Left, {0, 0, 30, 0}},
                                  {Align::Right, {0, 0, 40, 0}}, {Align::Client, {}}};
  AlignChildren(items, 200, 100, {});
  EXPECT_EQ(items[0].bounds, (Rect{0, 80, 200, 20}));
  EXPECT_EQ(items[1].bounds, (Rect{0, 0, 30, 80}));
  EXPECT_EQ(items[2].bounds, (Rect{160, 0, 40, 80}));
  EXPECT_EQ(items[3].bounds, (Rect{30, 0, 130, 80}));
}

TEST(AlignTest, BandsKeepTheirOwnExtentInAnAreaTooSmallForThem) {
  std::vector<AlignItem> items = {{Align::Top, {0, 0, 0, 80}}, {Align::Client, {}}};
  AlignChildren(items, 100, 50, {0, 0, 0, 0});
  EXPECT_EQ(items[0].bounds, (Rect{0, 0, 100, 80}));
  EXPECT_EQ(items[1].bounds, (Rect{0, 80, 100, 0}));
}

TEST(AlignTest, AZeroSizedAreaAndBackRestoresEveryBand) {
  // A minimised window's client area is 0 x 0; on restore every band must be back.
  std::vector<AlignItem> items = {{Align::Top, {0, 0, 0, 80}},   {Align::Bottom, {0, 0, 0, 20}},
                                  {Align::Left, {0, 0, 30, 0}},  {Align::Right, {0, 0, 40, 0}},
                                  {Align::Client, {}}};
  AlignChildren(items, 0, 0, {1, 0, 1, 1});
  EXPECT_EQ(items[0].bounds.height, 80);
  EXPECT_EQ(items[1].bounds.height, 20);
  EXPECT_EQ(items[2].bounds.width, 30);
  EXPECT_EQ(items[3].bounds.width, 40);
  EXPECT_EQ(items[4].bounds.width, 0);
  EXPECT_EQ(items[4].bounds.height, 0);

  AlignChildren(items, 1058, 745, {1, 0, 1, 1});
  EXPECT_EQ(items[0].bounds, (Rect{1, 0, 1056, 80}));
  EXPECT_EQ(items[1].bounds, (Rect{1, 724, 1056, 20}));
  EXPECT_EQ(items[2].bounds, (Rect{1, 80, 30, 644}));
  EXPECT_EQ(items[3].bounds, (Rect{1017, 80, 40, 644}));
  EXPECT_EQ(items[4].bounds, (Rect{31, 80, 986, 644}));
}

TEST(AnchorTest, TopRightKeepsTheDistanceToTheRightEdge) {
  // The close button: 13 from the panel's right edge at the design width of 1056.
  AnchorOrigin close{{1032, 10, 11, 10}, 1056, 80};
  Rect r = AnchoredBounds(close, {false, true, true, false}, 1278, 80);
  EXPECT_EQ(r, (Rect{1254, 10, 11, 10}));
  EXPECT_EQ(1278 - r.right(), 13);
}

TEST(AnchorTest, LeftAndRightStretch) {
  AnchorOrigin o{{2, 2, 1052, 28}, 1056, 80};
  EXPECT_EQ(AnchoredBounds(o, {true, true, true, false}, 1278, 80), (Rect{2, 2, 1274, 28}));
}

TEST(AnchorTest, NoEdgeKeepsTheCentreAtTheSameFraction) {
  // The logo: centre at 522 of 1056.
  AnchorOrigin logo{{376, 30, 292, 50}, 1056, 80};
  Rect r = AnchoredBounds(logo, {false, false, false, false}, 2112, 80);
  EXPECT_EQ(r.left + r.width / 2, 1044);
  EXPECT_EQ(r.width, 292);
  EXPECT_EQ(r.top, 30) << "the parent's height did not change";
  EXPECT_EQ(AnchoredBounds(logo, {false, false, false, false}, 1056, 80), logo.bounds);
}

TEST(AnchorTest, TopLeftStaysWhereItIs) {
  AnchorOrigin o{{10, 6, 127, 16}, 1056, 80};
  EXPECT_EQ(AnchoredBounds(o, {}, 500, 40), o.bounds);
}

}  // namespace
