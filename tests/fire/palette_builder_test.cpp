#include "fire/palette_builder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
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

// Tables worked out separately, in single precision with the parameters
// sorted after subdivision, for curves that start late, end early, overshoot
// both ways and double back. Any change in the order of the float operations
// or in the rounding shows up here.
TEST(PaletteBuilderTest, TablesMatchIndependentlyComputedOnes) {
  const PaletteRecord bent =
      MakePalette({{0, 0}, {120, 10}, {180, 250}, {255, 255}}, {{30, 0}, {110, -40}, {200, 300}, {240, 255}},
                  {{64, 20}, {10, 200}, {250, -100}, {210, 90}});
  const char* const expected[3] = {
      "00000000000101010101010202020203030303040404050505060606070708080809090a0a0b0b0c0d0d0e0e0f0f10111112131314151516"
      "171718191a1a1b1c1d1e1f20202122232425262727292a2b2c2c2e2f3031323334353638393a3b3c3d3f40414244454648484a4b4c4e4f50"
      "5253545657595a5b5d5e606163656667"
      "696a6c6d6f707173757778797b7c7e808183848687898b8c8e8f9193949698999b9c9ea0a1a2a4a6a7a9abacadafb1b2b4b5b7b9babbbdbf"
      "c0c1c3c4c6c7c9cacccdcfd0d1d3d4d5d6d8d9dadbdddedfe0e1e2e4e5e6e6e7e9eaebececedeff0f0f1f2f3f4f4f5f6f6f7f8f8f9f9fafb"
      "fbfbfcfcfcfdfdfefefefeffffffffff",
      "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
      "00000001010202030404050506070808090a0b0c0d0d0e1011121314151618191a1b1d1e1f202223242527292a2b2d2e303132343638393b"
      "3c3e3f4143454648494b4d4f51525456"
      "585a5b5d5f61636566686b6d6e70737476787a7c7e80828486878a8c8e90929496989a9c9ea0a2a4a6a8aaacaeb0b2b4b6b8babcbec0c2c4"
      "c6c8c9cbcdcfd1d3d5d7d8dadcdddfe1e3e4e6e7e9ebecedeef0f1f3f4f6f6f8f9fafbfcfdfeffffffffffffffffffffffffffffffffffff"
      "ffffffffffffffffffffffffffffffff",
      "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
      "43474a4b4c4d4e4f4f50505050505050505050504f4f4f4f4e4e4e4d4d4d4c4c4b4b4a4a4a4949484847474646454444434342424141403f"
      "3f3e3e3d3d3c3b3b3a3a393838373736"
      "35353434333232313130302f2e2e2d2d2c2b2b2a2a292828282726262525242423232222212120201f1f1e1e1e1d1d1c1c1c1b1b1b1a1a1a"
      "1a19191919191818181818181818181919191a1a1a1b1c1d1e1f5a57524c4538ffffffffffffffffffffffffffffffffffffffffffffffff"
      "ffffffffffffffffffffffffffffffff",
  };
  PaletteBuilder builder;
  Table32 table = Filled(0);
  builder.BuildTable32(bent, table.data());
  const int bytes[3] = {2, 1, 0};
  for (int c = 0; c < 3; ++c) {
    for (int i = 0; i < 256; ++i) {
      const unsigned value = static_cast<unsigned>(std::stoul(std::string(expected[c] + 2 * i, 2), nullptr, 16));
      EXPECT_EQ(table[4 * i + bytes[c]], value) << "channel byte " << bytes[c] << " entry " << i;
    }
  }

  // A second palette, checked by an FNV-1a hash of all 1024 bytes.
  const PaletteRecord swing =
      MakePalette({{0, 0}, {85, 85}, {170, 170}, {255, 255}}, {{100, 0}, {130, 80}, {160, 160}, {200, 255}},
                  {{0, 255}, {60, -300}, {128, 500}, {255, 0}});
  table = Filled(0);
  builder.BuildTable32(swing, table.data());
  std::uint32_t hash = 2166136261u;
  for (std::uint8_t b : table) hash = (hash ^ b) * 16777619u;
  EXPECT_EQ(hash, 0x878cb036u);
}

}  // namespace
