#include "fire/palette_builder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "palette_test_support.h"

namespace {

using Table32 = std::array<std::uint8_t, 1024>;

constexpr PalettePoint kStraight[4] = {{0, 0}, {85, 85}, {170, 170}, {255, 255}};
constexpr PalettePoint kDegenerate[4] = {{40, 40}, {40, 40}, {40, 40}, {40, 40}};

Table32 Filled(std::uint8_t value) {
  Table32 table;
  table.fill(value);
  return table;
}

TEST(PaletteBuilderTest, StraightLineFillsEveryEntryAndShortCurvesKeepTheirChannel) {
  PaletteBuilder builder;
  Table32 table = Filled(0x11);
  builder.BuildTable32(MakePalette(kStraight, kDegenerate, kDegenerate), table.data());
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(table[4 * i + 2], i) << i;
    EXPECT_EQ(table[4 * i + 1], 0x11) << i;
    EXPECT_EQ(table[4 * i + 0], 0x11) << i;
    EXPECT_EQ(table[4 * i + 3], 0x11) << i;
  }
}

TEST(PaletteBuilderTest, CurveStartingLateAndEndingEarlyFillsBelowWithZeroAndAboveWithFull) {
  PaletteBuilder builder;
  Table32 table = Filled(0x77);
  const PalettePoint green[4] = {{100, 0}, {130, 80}, {160, 160}, {200, 255}};
  builder.BuildTable32(MakePalette(kDegenerate, green, kDegenerate), table.data());
  for (int i = 0; i < 100; ++i) EXPECT_EQ(table[4 * i + 1], 0) << i;
  for (int i = 200; i < 256; ++i) EXPECT_EQ(table[4 * i + 1], 255) << i;
  // Between, the rising curve: every entry written, never falling.
  for (int i = 101; i < 200; ++i) EXPECT_GE(table[4 * i + 1], table[4 * (i - 1) + 1]) << i;
  EXPECT_GT(table[4 * 150 + 1], 60);
  EXPECT_LT(table[4 * 150 + 1], 200);
}

TEST(PaletteBuilderTest, ValuesOutsideTheByteRangeAreClamped) {
  PaletteBuilder builder;
  Table32 table = Filled(0);
  const PalettePoint high[4] = {{0, 0}, {85, 300}, {170, 300}, {255, 255}};
  const PalettePoint low[4] = {{0, 255}, {85, -200}, {170, -200}, {255, 0}};
  builder.BuildTable32(MakePalette(high, low, kDegenerate), table.data());
  // The red curve passes just above 255 around its middle (no wrap-around
  // next to it); the green one far below 0.
  for (int i = 126; i <= 129; ++i) EXPECT_EQ(table[4 * i + 2], 255) << i;
  for (int i = 100; i <= 160; ++i) EXPECT_GE(table[4 * i + 2], 230) << i;
  for (int i = 110; i <= 150; ++i) EXPECT_EQ(table[4 * i + 1], 0) << i;
  EXPECT_EQ(table[4 * 255 + 2], 255);
  EXPECT_EQ(table[4 * 255 + 1], 0);
}

TEST(PaletteBuilderTest, EvaluateCurveNeedsEightIntegers) {
  PaletteBuilder builder;
  std::vector<CurvePoint> points = {{1, 1}};
  const std::int32_t controls[8] = {0, 0, 85, 85, 170, 170, 255, 255};
  EXPECT_FALSE(builder.EvaluateCurve(std::span<const std::int32_t>(controls, 7), points));
  EXPECT_TRUE(points.empty());
  EXPECT_TRUE(builder.EvaluateCurve(std::span<const std::int32_t>(controls, 8), points));
  EXPECT_EQ(points.front(), (CurvePoint{0, 0}));
  EXPECT_EQ(points.back(), (CurvePoint{255, 255}));
  for (std::size_t i = 1; i < points.size(); ++i) EXPECT_FALSE(points[i] == points[i - 1]) << i;
  EXPECT_TRUE(builder.EvaluateCurve(kDegenerate, points));
  EXPECT_EQ(points, (std::vector<CurvePoint>{{40, 40}}));
}

TEST(PaletteBuilderTest, AbsurdControlValuesStillFinish) {
  PaletteBuilder builder;
  std::vector<CurvePoint> points;
  const std::int32_t controls[8] = {0, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MAX, 255, INT32_MAX};
  EXPECT_TRUE(builder.EvaluateCurve(std::span<const std::int32_t>(controls), points));
  EXPECT_LE(points.size(), 70000u);
  Table32 table = Filled(0);
  EXPECT_TRUE(builder.FillChannel(points, table.data(), 2));
}

TEST(PaletteBuilderTest, FillChannelRules) {
  auto run = [](std::vector<CurvePoint> points, int channel, bool expectWritten, auto check) {
    PaletteBuilder builder;
    Table32 table = Filled(0x55);
    EXPECT_EQ(builder.FillChannel(points, table.data(), channel), expectWritten);
    check(table);
  };
  std::vector<CurvePoint> nine, ten, backwards, doubled;
  for (int i = 0; i < 9; ++i) nine.push_back({5 + i, 10 + i});
  ten = nine;
  ten.push_back({14, 19});
  for (int i = 0; i < 10; ++i) backwards.push_back({200 - i, 100});
  doubled = ten;
  doubled.push_back({8, 250});  // doubles back: the later point wins
  run(nine, 2, false, [](const Table32& t) { EXPECT_EQ(t, Filled(0x55)); });
  run(ten, 0, true, [](const Table32& t) {
    for (int i = 0; i < 5; ++i) EXPECT_EQ(t[4 * i], 0) << i;
    for (int i = 5; i <= 14; ++i) EXPECT_EQ(t[4 * i], 5 + i) << i;
    for (int i = 15; i < 256; ++i) EXPECT_EQ(t[4 * i], 255) << i;
    for (int i = 0; i < 256; ++i) EXPECT_EQ(t[4 * i + 1], 0x55) << i;
  });
  run(backwards, 1, true, [](const Table32& t) {
    // Ending left of where it starts: nothing is filled with 255.
    for (int i = 0; i < 191; ++i) EXPECT_EQ(t[4 * i + 1], 0) << i;
    for (int i = 191; i <= 200; ++i) EXPECT_EQ(t[4 * i + 1], 100) << i;
    for (int i = 201; i < 256; ++i) EXPECT_EQ(t[4 * i + 1], 0x55) << i;
  });
  run(doubled, 2, true, [](const Table32& t) { EXPECT_EQ(t[4 * 8 + 2], 250); });
}

TEST(PaletteBuilderTest, ToRGB565) {
  struct Case {
    std::uint8_t red, green, blue;
    std::uint16_t word;
  };
  const Case cases[] = {{255, 128, 64, 0xFC08}, {0, 0, 0, 0}, {255, 255, 255, 0xFFFF}, {8, 4, 8, 0x0821}, {7, 3, 7, 0}};
  Table32 table32 = Filled(0);
  for (int i = 0; i < 5; ++i) {
    table32[4 * i + 2] = cases[i].red;
    table32[4 * i + 1] = cases[i].green;
    table32[4 * i + 0] = cases[i].blue;
    table32[4 * i + 3] = 0xEE;
  }
  std::array<std::uint8_t, 512> table16{};
  PaletteBuilder::ToRGB565(table32.data(), table16.data());
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(table16[2 * i] | table16[2 * i + 1] << 8, cases[i].word) << i;
  }
}

TEST(PaletteBuilderTest, SixteenBitBuildsKeepShortChannelsOfThePreviousPalette) {
  const PalettePoint ramp[4] = {{0, 255}, {85, 170}, {170, 85}, {255, 0}};
  const PaletteRecord first = MakePalette(kStraight, ramp, ramp);
  const PaletteRecord second = MakePalette(ramp, kStraight, kDegenerate);
  PaletteBuilder builder;
  std::array<std::uint8_t, 512> table16{};
  builder.BuildTable16(first, table16.data());
  builder.BuildTable16(second, table16.data());

  PaletteBuilder reference;
  Table32 table32 = Filled(0);
  reference.BuildTable32(first, table32.data());
  reference.BuildTable32(second, table32.data());
  std::array<std::uint8_t, 512> expected{};
  PaletteBuilder::ToRGB565(table32.data(), expected.data());
  EXPECT_EQ(table16, expected);
  EXPECT_EQ(table16[2 * 0] & 0x1F, 255 >> 3);  // blue of the first palette at index 0
}

}  // namespace
