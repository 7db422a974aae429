#include "editing/palette_curves.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fire/palette_test_support.h"

namespace {

constexpr PalettePoint kRising[4] = {{0, 0}, {85, 85}, {170, 170}, {255, 255}};
constexpr PalettePoint kFalling[4] = {{0, 255}, {85, 170}, {170, 85}, {255, 0}};
constexpr PalettePoint kLate[4] = {{60, 0}, {120, 40}, {180, 200}, {255, 255}};

PaletteRecord Sample() { return MakePalette(kRising, kFalling, kLate); }

bool SameRecord(const PaletteRecord& a, const PaletteRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(PaletteCurvesTest, RecordRoundTripsAndTablesFollowTheCurves) {
  for (const int depth : {16, 32}) {
    PaletteCurves curves;
    ASSERT_TRUE(curves.Prepare(Sample(), depth));
    EXPECT_TRUE(SameRecord(curves.GetRecord(), Sample()));
    PaletteBuilder reference;
    std::uint8_t expected[1024] = {};
    reference.BuildTable32(Sample(), expected);
    EXPECT_EQ(std::memcmp(curves.Table32(), expected, sizeof expected), 0) << depth;
    if (depth == 16) {
      std::uint8_t expected16[512];
      PaletteBuilder::ToRGB565(expected, expected16);
      EXPECT_EQ(std::memcmp(curves.ColorTable(), expected16, sizeof expected16), 0);
    } else {
      EXPECT_EQ(curves.ColorTable(), curves.Table32());
    }
  }
}

TEST(PaletteCurvesTest, WindowPositionsMapIntoCurveSpaceUpsideDown) {
  EXPECT_EQ(PaletteCurves::FromWindow(32, 288), (CurvePoint{0, 0}));
  EXPECT_EQ(PaletteCurves::FromWindow(287, 33), (CurvePoint{255, 255}));
  EXPECT_EQ(PaletteCurves::FromWindow(0, 352), (CurvePoint{-32, -64}));
}

// Where points of several channels lie on one another, the selected channel's
// point wins; with none selected, red, then green, then blue.
TEST(PaletteCurvesTest, SelectedChannelWinsWhereCurvesAndPointsOverlap) {
  PaletteCurves curves;
  ASSERT_TRUE(curves.Prepare(MakePalette(kRising, kRising, kRising), 32));
  struct Case {
    int select;  // a curve picked first by clicking on one of its own vertices
    int expected;
  };
  // The three curves coincide; distinct bits of them are used to select one.
  for (const Case c :
       {Case{PaletteCurves::kNone, PaletteCurves::kRed}, Case{PaletteCurves::kGreen, PaletteCurves::kGreen},
        Case{PaletteCurves::kBlue, PaletteCurves::kBlue}, Case{PaletteCurves::kRed, PaletteCurves::kRed}}) {
    PaletteCurves overlap;
    PaletteRecord record = MakePalette(kRising, kRising, kRising);
    // Move the chosen channel's handle 1 aside so that it alone can be clicked.
    if (c.select != PaletteCurves::kNone) {
      const int offset = c.select == PaletteCurves::kRed     ? PaletteRecord::kRed
                         : c.select == PaletteCurves::kGreen ? PaletteRecord::kGreen
                                                             : PaletteRecord::kBlue;
      record.points[offset + 1] = {30, 200};
    }
    ASSERT_TRUE(overlap.Prepare(record, 32));
    if (c.select != PaletteCurves::kNone) {
      overlap.Press(30, 200);
      overlap.Release();
      ASSERT_EQ(overlap.SelectedChannel(), c.select);
    }
    EXPECT_EQ(overlap.HitPoint(170, 171), (PaletteCurves::Hit{c.expected, 2})) << c.select;
    EXPECT_EQ(overlap.HitCurve(1, 1), c.expected) << c.select;  // all curves start at (0, 0)
    if (c.select != PaletteCurves::kNone) {
      EXPECT_EQ(overlap.DrawOrder()[2], c.expected) << c.select;
    }
  }
  // The point square reaches 3 below the mouse and 2 above it.
  EXPECT_EQ(curves.HitPoint(88, 88).channel, PaletteCurves::kRed);
  EXPECT_EQ(curves.HitPoint(82, 82).channel, PaletteCurves::kNone);
  EXPECT_EQ(curves.CursorAt(85, 85), PaletteCurves::Cursor::kOverPoint);
  EXPECT_EQ(curves.CursorAt(120, 120), PaletteCurves::Cursor::kOverCurve);
  EXPECT_EQ(curves.CursorAt(200, 20), PaletteCurves::Cursor::kArrow);
}

// End points slide along the edges of the square and stay inside it; a press on
// a curve between its points picks the curve but no point, so the drag that
// follows moves nothing, whatever point was selected before.
TEST(PaletteCurvesTest, DraggedEndsStayOnTheSquareAndCurvePressesSelectNoPoint) {
  struct Case {
    CurvePoint press;
    CurvePoint to;
    int point;              // selected by the press
    PalettePoint expected;  // red's point there after the drag
  };
  const Case cases[] = {
      {{255, 255}, {300, 100}, 3, {255, 100}},  // hot end: down the right edge
      {{255, 255}, {100, 300}, 3, {100, 255}},  // hot end: along the top edge
      {{255, 255}, {400, -20}, 3, {255, 0}},    // hot end: held inside the square
      {{0, 0}, {-5, 40}, 0, {0, 40}},           // cold end: up the left edge
      {{85, 85}, {-30, 300}, 1, {-30, 300}},    // a handle goes where the mouse is
  };
  for (const Case& c : cases) {
    PaletteCurves curves;
    ASSERT_TRUE(curves.Prepare(Sample(), 32));
    curves.Press(c.press.x, c.press.y);
    ASSERT_EQ(curves.SelectedChannel(), PaletteCurves::kRed) << c.to.x << "," << c.to.y;
    ASSERT_EQ(curves.SelectedPoint(), c.point) << c.to.x << "," << c.to.y;
    EXPECT_TRUE(curves.Drag(c.to.x, c.to.y));
    curves.Release();
    EXPECT_EQ(curves.Points(PaletteCurves::kRed)[c.point], c.expected) << c.to.x << "," << c.to.y;
  }

  PaletteCurves curves;
  ASSERT_TRUE(curves.Prepare(Sample(), 32));
  curves.Press(85, 85);  // red handle 1
  curves.Release();
  ASSERT_EQ(curves.SelectedPoint(), 1);
  curves.Press(120, 120);  // a vertex of red's curve, no point near
  EXPECT_EQ(curves.SelectedChannel(), PaletteCurves::kRed);
  EXPECT_EQ(curves.SelectedPoint(), PaletteCurves::kNone);
  EXPECT_FALSE(curves.Drag(30, 200));
  EXPECT_TRUE(SameRecord(curves.GetRecord(), Sample()));
}

TEST(PaletteCurvesTest, SwappingTwoChannelsTwiceRestoresThePalette) {
  PaletteCurves curves;
  ASSERT_TRUE(curves.Prepare(Sample(), 32));
  std::uint8_t before[1024];
  std::memcpy(before, curves.Table32(), sizeof before);
  curves.Swap(PaletteCurves::kRed, PaletteCurves::kGreen);
  EXPECT_TRUE(curves.Recompute());
  // Red and green bytes traded places, blue stayed.
  for (int i = 0; i < 256; ++i) {
    ASSERT_EQ(curves.Table32()[4 * i + 2], before[4 * i + 1]) << i;
    ASSERT_EQ(curves.Table32()[4 * i + 1], before[4 * i + 2]) << i;
    ASSERT_EQ(curves.Table32()[4 * i + 0], before[4 * i + 0]) << i;
  }
  curves.Swap(PaletteCurves::kRed, PaletteCurves::kGreen);
  curves.Recompute();
  EXPECT_TRUE(SameRecord(curves.GetRecord(), Sample()));
  EXPECT_EQ(std::memcmp(curves.Table32(), before, sizeof before), 0);
}

TEST(PaletteCurvesTest, OnlyChangedChannelsAreRebuilt) {
  PaletteCurves curves;
  ASSERT_TRUE(curves.Prepare(Sample(), 32));
  EXPECT_FALSE(curves.Recompute());
  curves.Press(170, 85);  // green handle 2
  ASSERT_EQ(curves.SelectedChannel(), PaletteCurves::kGreen);
  ASSERT_TRUE(curves.Drag(170, 250));
  curves.Release();
  EXPECT_FALSE(curves.Drag(10, 10));  // released: nothing follows the mouse
  std::uint8_t before[1024];
  std::memcpy(before, curves.Table32(), sizeof before);
  EXPECT_TRUE(curves.Recompute());
  int changedGreen = 0;
  for (int i = 0; i < 256; ++i) {
    changedGreen += curves.Table32()[4 * i + 1] != before[4 * i + 1];
    ASSERT_EQ(curves.Table32()[4 * i + 2], before[4 * i + 2]);
    ASSERT_EQ(curves.Table32()[4 * i + 0], before[4 * i + 0]);
  }
  EXPECT_GT(changedGreen, 20);
}

}  // namespace
