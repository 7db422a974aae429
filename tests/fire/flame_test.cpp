#include "fire/flame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "fire/c_runtime_random.h"
#include "fire/insert_bright.h"
#include "fire/scalar_flame_filter.h"
#include "fire/scalar_insert_bright.h"
#include "fire/sse2_flame_filter.h"
#include "fire_test_fixture.h"

namespace {

class ScalarFlame : public Flame {
 protected:
  std::unique_ptr<FlameFilter> MakeFilter() override { return std::make_unique<ScalarFlameFilter>(); }
};

// The optimised flame with its walk kept to SSE2, or with AVX2 where present.
class ChosenFlame : public Flame {
 public:
  explicit ChosenFlame(bool avx2) : avx2_(avx2) {}

 protected:
  std::unique_ptr<FlameFilter> MakeFilter() override { return std::make_unique<Sse2FlameFilter>(avx2_); }

 private:
  bool avx2_;
};

using FlameTest = FireTest;

ByteImage Reference(std::int32_t width, std::int32_t height) {
  ByteImage image;
  image.width = width;
  image.height = height;
  image.pitch = width;
  return image;
}

void CreateFlame(Flame& flame, std::int32_t width, std::int32_t height) {
  const ByteImage reference = Reference(width, height);
  ASSERT_TRUE(flame.Create(reference));
}

TEST_F(FlameTest, PitchIsWidthRoundedUpToEight) {
  struct Case {
    std::int32_t width, pitch;
  };
  for (const Case c : {Case{1, 8}, Case{8, 8}, Case{9, 16}, Case{17, 24}, Case{1366, 1368}, Case{1920, 1920}}) {
    Flame flame;
    CreateFlame(flame, c.width, 3);
    EXPECT_EQ(flame.HeatImage().pitch, c.pitch) << c.width;
    EXPECT_EQ(flame.HeatImage().width, c.width);
    EXPECT_EQ(flame.HeatImage().height, 3);
  }
}

TEST_F(FlameTest, UpdateBeforeCreateOrAfterDestroyDoesNothing) {
  Flame flame;
  EXPECT_FALSE(flame.Update(100000));
  CreateFlame(flame, 16, 8);
  flame.Destroy();
  flame.Destroy();
  EXPECT_FALSE(flame.Update(100000));
  EXPECT_EQ(flame.HeatImage().data, nullptr);
  EXPECT_EQ(flame.HeatImage().pitch, 0);
}

TEST_F(FlameTest, UniformHotFieldCoolsByOneInWrittenRegion) {
  Flame flame;
  CreateFlame(flame, 20, 7);  // pitch 24, n = 2: columns 1..16, rows 0..3 are written
  ByteImage& heat = flame.HeatImage();
  Fill(heat, 255);
  flame.Update(40);
  for (std::int32_t y = 0; y < 7; ++y) {
    for (std::int32_t x = 0; x < 24; ++x) {
      const bool written = y <= 3 && x >= 1 && x <= 16;
      // Outside, the buffer still holds its zero from creation.
      EXPECT_EQ(heat.Row(y)[x], written ? 254 : 0) << y << "," << x;
    }
  }
}

TEST_F(FlameTest, UnwrittenCellsKeepTheFieldOfTwoStepsEarlierAttenuatedAgain) {
  Flame flame;
  CreateFlame(flame, 16, 6);  // n = 1: columns 1..8 and rows 0..2 are written
  ByteImage& heat = flame.HeatImage();
  Fill(heat, 160);  // field A
  flame.Update(0);  // heat = B (other buffer: 0 outside the region), other = A
  Fill(heat, 100);  // overwrite B entirely
  flame.Update(0);  // heat = A's buffer: outside the region A's 160 attenuated by 2
  for (std::int32_t y = 0; y < 6; ++y) {
    for (std::int32_t x = 0; x < 16; ++x) {
      const bool written = y <= 2 && x >= 1 && x <= 8;
      EXPECT_EQ(heat.Row(y)[x], written ? 100 : 158) << y << "," << x;
    }
  }
}

TEST_F(FlameTest, SpreadUpAveragesTheKernelShape) {
  // One hot cell of 240 reaches, divided by eight, the cells whose kernel covers
  // it: itself, the three cells above-left/above/above-right on the two rows
  // above, and the cell three rows up.
  Flame flame;
  CreateFlame(flame, 18, 10);
  ByteImage& heat = flame.HeatImage();
  heat.Row(6)[8] = 240;
  flame.SetStyle(FireStyle{{255, 255, 255, 255, 255, 255, 255, 255}, {0, 0, 0, 0, 0, 0, 0, 0}});
  flame.Update(0);
  std::vector<std::pair<int, int>> lit = {{6, 8}, {5, 7}, {5, 8}, {5, 9}, {4, 7}, {4, 8}, {4, 9}, {3, 8}};
  for (std::int32_t y = 0; y < 10; ++y) {
    for (std::int32_t x = 0; x < 18; ++x) {
      const bool hot = std::find(lit.begin(), lit.end(), std::make_pair(y, x)) != lit.end();
      EXPECT_EQ(heat.Row(y)[x], hot ? 30 : 0) << y << "," << x;
    }
  }
}

TEST_F(FlameTest, TooSmallFieldsAreNotSpreadButStillAttenuatedAndSwapped) {
  struct Case {
    std::int32_t width, height;
  };
  for (const Case c : {Case{9, 10}, Case{40, 3}, Case{1, 1}}) {
    Flame flame;
    CreateFlame(flame, c.width, c.height);
    ByteImage& heat = flame.HeatImage();
    Fill(heat, 255);
    const std::uint8_t* before = heat.data;
    flame.Update(0);
    EXPECT_NE(heat.data, before);
    Fill(heat, 255);
    flame.Update(0);  // back to the first buffer: 255 attenuated once more
    EXPECT_EQ(heat.data, before);
    for (std::int32_t y = 0; y < c.height; ++y) {
      for (std::int32_t x = 0; x < heat.pitch; ++x) ASSERT_EQ(heat.Row(y)[x], 254) << c.width << "x" << c.height;
    }
  }
}

// Every value 0..255 through Blur, for both filters, against hand-read styles.
TEST_F(FlameTest, BlurTakesTheFirstMatchingArea) {
  struct Case {
    const char* name;
    FireStyle style;
    std::vector<std::pair<int, int>> before_after;
  };
  const std::vector<Case> cases = {
      {"default", FireStyle{}, {{255, 254}, {200, 199}, {199, 199}, {190, 190}, {180, 180}, {179, 177}, {160, 158},
                                {150, 148}, {149, 149}, {100, 100}, {99, 98},   {80, 79},   {75, 74},   {74, 72},
                                {60, 58},   {50, 48},   {49, 49},   {30, 30},   {1, 1},     {0, 0}}},
      {"clears all", FireStyle{{0, 0, 0, 0, 0, 0, 0, 0}, {255, 1, 1, 1, 1, 1, 1, 1}}, {{255, 0}, {1, 0}, {0, 0}}},
      // Area 2 is hotter than area 1 and never applies; area 3 saturates at 0.
      {"unsorted",
       FireStyle{{100, 150, 20, 0, 0, 0, 0, 0}, {5, 9, 30, 0, 0, 0, 0, 0}},
       {{255, 250}, {160, 155}, {100, 95}, {99, 69}, {25, 0}, {20, 0}, {19, 19}}},
      {"later equal area ignored",
       FireStyle{{50, 50, 10, 10, 0, 0, 0, 0}, {7, 200, 3, 100, 0, 0, 0, 0}},
       {{50, 43}, {49, 46}, {10, 7}, {9, 9}}},
  };
  for (int useScalar = 0; useScalar < 2; ++useScalar) {
    for (const Case& c : cases) {
      std::unique_ptr<FlameFilter> filter;
      if (useScalar) {
        filter = std::make_unique<ScalarFlameFilter>();
      } else {
        filter = std::make_unique<Sse2FlameFilter>();
      }
      filter->SetStyle(c.style.temperatures, c.style.modes);
      std::vector<std::uint8_t> a(256), b(256);
      for (int v = 0; v < 256; ++v) b[v] = static_cast<std::uint8_t>(v);
      ByteImage heat;
      heat.data = a.data();
      heat.width = heat.pitch = 16;
      heat.height = 16;
      std::uint8_t* other = b.data();
      filter->Blur(heat, other, 0);
      ASSERT_EQ(heat.data, b.data());
      ASSERT_EQ(other, a.data());
      for (const auto& [v, expected] : c.before_after) EXPECT_EQ(heat.data[v], expected) << c.name << " " << v;
      heat.data = nullptr;
    }
  }
}

// All 256 values under the default style, read off its description:
// 200..255 lose 1, 180..199 nothing, 150..179 lose 2, 100..149 nothing,
// 75..99 lose 1, 50..74 lose 2, below 50 nothing.
TEST_F(FlameTest, DefaultStyleLowersEveryValueByItsArea) {
  struct Range {
    int low, high, loss;
  };
  const Range ranges[] = {{200, 255, 1}, {180, 199, 0}, {150, 179, 2}, {100, 149, 0},
                          {75, 99, 1},   {50, 74, 2},   {0, 49, 0}};
  Sse2FlameFilter fast;
  ScalarFlameFilter plain;
  for (FlameFilter* filter : {static_cast<FlameFilter*>(&fast), static_cast<FlameFilter*>(&plain)}) {
    std::vector<std::uint8_t> a(256), b(256);
    for (int v = 0; v < 256; ++v) b[v] = static_cast<std::uint8_t>(v);
    ByteImage heat;
    heat.data = a.data();
    heat.width = heat.pitch = 16;
    heat.height = 16;
    std::uint8_t* other = b.data();
    filter->Blur(heat, other, 0);
    heat.data = nullptr;
    for (const Range& r : ranges) {
      for (int v = r.low; v <= r.high; ++v) EXPECT_EQ(b[v], v - r.loss) << v;
    }
  }
}

TEST_F(FlameTest, StyleTimer) {
  Flame flame;
  CreateFlame(flame, 16, 4);
  // Period 5000 at 40 ms a step: the 125th step fires, then counting restarts.
  for (int round = 0; round < 2; ++round) {
    for (int step = 1; step <= 125; ++step) ASSERT_EQ(flame.Update(40), step == 125) << round << ":" << step;
  }
  // Excess over the period is dropped.
  EXPECT_TRUE(flame.Update(7000));
  for (int step = 1; step < 125; ++step) ASSERT_FALSE(flame.Update(40));
  EXPECT_TRUE(flame.Update(40));

  // Disabled: never fires, and what was gathered stays.
  for (int step = 0; step < 100; ++step) flame.Update(40);
  flame.EnableStyleChange(false);
  EXPECT_FALSE(flame.Update(100000));
  flame.EnableStyleChange(true);
  for (int step = 101; step < 125; ++step) ASSERT_FALSE(flame.Update(40));
  EXPECT_TRUE(flame.Update(40));

  // A new period restarts the count; period 0 fires at every step.
  for (int step = 0; step < 100; ++step) flame.Update(40);
  flame.SetStylePeriod(200);
  for (int step = 1; step < 5; ++step) ASSERT_FALSE(flame.Update(40));
  EXPECT_TRUE(flame.Update(40));
  flame.SetStylePeriod(0);
  for (int step = 0; step < 3; ++step) EXPECT_TRUE(flame.Update(0));
}

// The SIMD step and the plain reference, over odd sizes, random fields and
// random styles, for many steps: every byte of both buffers must agree.
TEST_F(FlameTest, Sse2StepMatchesScalarReference) {
  std::mt19937 random(1234);
  const std::int32_t widths[] = {1, 8, 9, 10, 11, 17, 18, 25, 33, 40, 50, 66, 74, 1366};
  for (const bool avx2 : {false, true}) {
    for (std::int32_t width : widths) {
      for (std::int32_t height = 1; height <= 7; ++height) {
        ChosenFlame fast(avx2);
        ScalarFlame plain;
        CreateFlame(fast, width, height);
        CreateFlame(plain, width, height);
        FillRandom(fast.HeatImage(), random);
        std::memcpy(plain.HeatImage().data, fast.HeatImage().data,
                    static_cast<std::size_t>(fast.HeatImage().pitch) * height);
        for (int step = 0; step < 40; ++step) {
          if (step % 10 == 0) {
            FireStyle style;
            for (int k = 0; k < FireStyle::kAreas; ++k) {
              style.temperatures[k] = static_cast<std::uint8_t>(random());
              style.modes[k] = static_cast<std::uint8_t>(random() % 4 == 0 ? random() : random() % 4);
            }
            if (step == 20) style = FireStyle{};
            fast.SetStyle(style);
            plain.SetStyle(style);
          }
          if (step % 7 == 3) {
            // Fresh heat keeps the field from settling to a constant.
            for (std::int32_t x = 0; x < width; ++x) {
              const std::uint8_t v = static_cast<std::uint8_t>(random());
              fast.HeatImage().Row(height - 1)[x] = v;
              plain.HeatImage().Row(height - 1)[x] = v;
            }
          }
          fast.Update(40);
          plain.Update(40);
          const std::size_t size = static_cast<std::size_t>(fast.HeatImage().pitch) * height;
          ASSERT_EQ(0, std::memcmp(fast.HeatImage().data, plain.HeatImage().data, size))
              << width << "x" << height << " step " << step << (avx2 ? " avx2" : " sse2");
        }
      }
    }
  }
}

// The step that has each row seeded just before its walk first reads it leaves
// the field exactly as seeding every row first and then stepping with the plain
// filter does: heights around the pairs of rows and the rows the spread leaves
// out, widths around the groups of 8 and 16 and the merged columns.
TEST_F(FlameTest, StepThatSeedsOnItsWayMatchesSeedingFirst) {
  std::mt19937 random(77);
  for (const bool avx2 : {false, true}) {
    for (std::int32_t width : {1, 8, 9, 10, 16, 17, 18, 24, 25, 26, 33, 34, 41, 50, 58, 64, 65, 66, 74, 1366}) {
      for (std::int32_t height = 1; height <= 10; ++height) {
        ByteImage grey;
        grey.Create(width, height);
        FillRandom(grey, random);
        InsertBright fastSeeds;
        ScalarInsertBright plainSeeds;
        fastSeeds.Prepare(grey);
        plainSeeds.Prepare(grey);
        ChosenFlame fast(avx2);
        ScalarFlame plain;
        CreateFlame(fast, width, height);
        CreateFlame(plain, width, height);
        FillRandom(fast.HeatImage(), random);
        const std::size_t size = static_cast<std::size_t>(fast.HeatImage().pitch) * height;
        std::memcpy(plain.HeatImage().data, fast.HeatImage().data, size);
        for (int step = 0; step < 30; ++step) {
          if (step % 10 == 5) {
            FireStyle style;
            for (int k = 0; k < FireStyle::kAreas; ++k) {
              style.temperatures[k] = static_cast<std::uint8_t>(random());
              style.modes[k] = static_cast<std::uint8_t>(random() % 5);
            }
            fast.SetStyle(style);
            plain.SetStyle(style);
          }
          const std::uint32_t seed = static_cast<std::uint32_t>(step * 7919 + width * 31 + height);
          CRuntimeRandom::Seed(seed);
          fast.Update(40, fastSeeds);
          CRuntimeRandom::Seed(seed);
          plainSeeds.Update(plain.HeatImage());
          plain.Update(40);
          ASSERT_EQ(0, std::memcmp(fast.HeatImage().data, plain.HeatImage().data, size))
              << width << "x" << height << " step " << step << (avx2 ? " avx2" : " sse2");
        }
        CRuntimeRandom::Seed(1);
      }
    }
  }
}

// Every direction of the kernel writes exactly its rows and its whole groups of
// eight columns: a uniform field shows where.
TEST_F(FlameTest, SpreadDirectionsWriteTheirRegionOnly) {
  using Spread = void (FlameFilter::*)(const ByteImage&, std::uint8_t*);
  struct Case {
    const char* name;
    Spread spread;
    int firstRow, rowsBelow, firstColumn, widthMargin;
  };
  const Case cases[] = {
      {"Up", &FlameFilter::SpreadUp, 0, 4, 1, 2},       {"UpRight", &FlameFilter::SpreadUpRight, 0, 4, 3, 3},
      {"Right", &FlameFilter::SpreadRight, 1, 2, 3, 3}, {"DownRight", &FlameFilter::SpreadDownRight, 3, 1, 3, 3},
      {"Down", &FlameFilter::SpreadDown, 3, 1, 1, 3},   {"DownLeft", &FlameFilter::SpreadDownLeft, 3, 1, 0, 3},
      {"Left", &FlameFilter::SpreadLeft, 1, 2, 0, 3},   {"UpLeft", &FlameFilter::SpreadUpLeft, 0, 4, 0, 3},
  };
  for (const Case& c : cases) {
    for (std::int32_t width : {10, 11, 19, 26, 27}) {
      const std::int32_t height = 9;
      const std::int32_t pitch = (width + 7) / 8 * 8;
      std::vector<std::uint8_t> source(static_cast<std::size_t>(pitch) * height, 200);
      std::vector<std::uint8_t> target(source.size(), 7);
      ByteImage heat;
      heat.data = source.data();
      heat.width = width;
      heat.height = height;
      heat.pitch = pitch;
      Sse2FlameFilter filter;
      (filter.*c.spread)(heat, target.data());
      heat.data = nullptr;
      const int columns = 8 * ((width - c.widthMargin) / 8);
      for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < pitch; ++x) {
          const bool written =
              y >= c.firstRow && y <= height - c.rowsBelow && x >= c.firstColumn && x < c.firstColumn + columns;
          ASSERT_EQ(target[y * pitch + x], written ? 200 : 7) << c.name << " w" << width << " " << y << "," << x;
        }
      }
    }
  }
}

}  // namespace
