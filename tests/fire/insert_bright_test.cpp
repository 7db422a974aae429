#include "fire/insert_bright.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "fire/c_runtime_random.h"
#include "fire/scalar_insert_bright.h"
#include "fire_test_fixture.h"

namespace {

class InsertBrightTest : public FireTest {
 protected:
  void SetUp() override {
    FireTest::SetUp();
    CRuntimeRandom::Seed(1);
  }
  void TearDown() override {
    CRuntimeRandom::Seed(1);
    FireTest::TearDown();
  }
};

TEST_F(InsertBrightTest, GeneratorFollowsTheRuntimeSequenceOnEveryThread) {
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int value : expected) EXPECT_EQ(CRuntimeRandom::Next(), value);
  // Drawn several at a time, the sequence is the same and goes on where it was.
  CRuntimeRandom::Seed(1);
  int drawn[10] = {};
  drawn[0] = CRuntimeRandom::Next();
  CRuntimeRandom::Next(drawn + 1, 0);
  CRuntimeRandom::Next(drawn + 1, 6);
  drawn[7] = CRuntimeRandom::Next();
  CRuntimeRandom::Next(drawn + 8, 2);
  EXPECT_TRUE(std::equal(std::begin(drawn), std::end(drawn), std::begin(expected)));
  // Another thread starts its own sequence from the beginning.
  std::vector<int> other;
  std::thread([&] {
    for (int i = 0; i < 3; ++i) other.push_back(CRuntimeRandom::Next());
  }).join();
  EXPECT_EQ(other, (std::vector<int>{41, 18467, 6334}));
  CRuntimeRandom::Seed(1);
  EXPECT_EQ(CRuntimeRandom::Next(), 41);
}

TEST_F(InsertBrightTest, WhiteRectangleOnBlackHasEdgesOnItsRightColumnAndBottomRowOnly) {
  ByteImage grey;
  grey.Create(20, 16);
  for (std::int32_t y = 4; y <= 9; ++y) {
    for (std::int32_t x = 5; x <= 12; ++x) grey.Row(y)[x] = 255;
  }
  InsertBright bright;
  bright.Prepare(grey);
  const ByteImage& edges = bright.EdgeMap();
  ASSERT_EQ(edges.pitch, 20);
  for (std::int32_t y = 0; y < 16; ++y) {
    for (std::int32_t x = 0; x < 20; ++x) {
      const bool inside = y >= 4 && y <= 9 && x >= 5 && x <= 12;
      const bool edge = inside && (x == 12 || y == 9);
      EXPECT_EQ(edges.Row(y)[x], edge ? 255 : 0) << y << "," << x;
    }
  }
}

TEST_F(InsertBrightTest, EdgeNeedsMoreThanTheThresholdAndSkipsTheBorders) {
  struct Case {
    std::uint8_t centre, right, below, expected;
  };
  const Case cases[] = {{100, 95, 100, 0}, {100, 94, 100, 100}, {100, 100, 94, 100},
                        {94, 100, 100, 0}, {6, 0, 6, 6},        {5, 0, 0, 0}};
  for (const Case& c : cases) {
    ByteImage grey;
    grey.Create(4, 4);
    Fill(grey, c.centre);
    grey.Row(1)[2] = c.right;
    grey.Row(2)[1] = c.below;
    InsertBright bright;
    bright.Prepare(grey);
    EXPECT_EQ(bright.EdgeMap().Row(1)[1], c.expected) << int(c.centre) << " " << int(c.right) << " " << int(c.below);
  }
  // Column 0, the last column and the last two rows are never edges.
  ByteImage grey;
  grey.Create(6, 6);
  for (std::int32_t y = 0; y < 6; ++y) {
    for (std::int32_t x = 0; x < 6; ++x) grey.Row(y)[x] = static_cast<std::uint8_t>((x + y) % 2 ? 255 : 0);
  }
  InsertBright bright;
  bright.Prepare(grey);
  for (std::int32_t y = 0; y < 6; ++y) {
    for (std::int32_t x = 0; x < 6; ++x) {
      if (x == 0 || x == 5 || y >= 4) {
        EXPECT_EQ(bright.EdgeMap().Row(y)[x], 0) << y << "," << x;
      }
    }
  }
}

// Every renewed row of a frame holds the sparks its draws place, for widths
// whose spark places (width - 8) are odd, a power of two and large: the
// row's first draw is 1 mod 4, then one draw a spark, offset = draw mod places.
TEST_F(InsertBrightTest, SparksLandWhereTheDrawsPlaceThem) {
  for (const std::int32_t width : {33, 40, 64, 1366, 3840}) {
    const std::int32_t height = 40;
    ByteImage grey;
    grey.Create(width, height);
    InsertBright bright;
    bright.Prepare(grey);
    ByteImage heat;
    heat.Create(width, height);
    CRuntimeRandom::Seed(static_cast<std::uint32_t>(width));
    std::vector<std::vector<std::uint8_t>> expected;
    for (std::int32_t y = 1; y < height - 1; ++y) {
      std::vector<std::uint8_t> row(static_cast<std::size_t>(width), 0);
      if (CRuntimeRandom::Next() % 4 == 1) {
        for (std::int32_t i = 0; i < width / 32; ++i) {
          const int offset = CRuntimeRandom::Next() % (width - 8);
          for (int k = 0; k < 8; ++k) row[static_cast<std::size_t>(offset + 1 + k)] = k < 6 ? 0xFF : 0;
        }
      }
      expected.push_back(row);
    }
    CRuntimeRandom::Seed(static_cast<std::uint32_t>(width));
    bright.Update(heat);
    for (std::int32_t y = 1; y < height - 1; ++y) {
      const std::uint8_t* row = bright.SparkRows().Row(y);
      ASSERT_EQ(std::vector<std::uint8_t>(row, row + width), expected[static_cast<std::size_t>(y - 1)])
          << "width " << width << " row " << y;
    }
  }
  CRuntimeRandom::Seed(1);
}

TEST_F(InsertBrightTest, FirstDrawDecidesRowOneOfTheFirstFrame) {
  // Width 64: two sparks a renewed row, offsets r mod 56.
  ByteImage grey;
  grey.Create(64, 5);
  InsertBright bright;
  bright.Prepare(grey);
  ByteImage heat;
  heat.Create(64, 5);
  bright.Update(heat);  // draws: 41 (row 1 renewed), 18467, 6334, then row 2 ...
  std::vector<std::uint8_t> expected(64, 0);
  for (int offset : {18467 % 56, 6334 % 56}) {
    for (int i = 0; i < 8; ++i) expected[offset + 1 + i] = i < 6 ? 0xFF : 0;
  }
  const std::uint8_t* row = bright.SparkRows().Row(1);
  EXPECT_EQ(std::vector<std::uint8_t>(row, row + 64), expected);

  // A first draw that is not 1 mod 4 leaves row 1 empty.
  CRuntimeRandom::Seed(3);  // first draw 48
  InsertBright other;
  other.Prepare(grey);
  other.Update(heat);
  const std::uint8_t* empty = other.SparkRows().Row(1);
  EXPECT_EQ(std::vector<std::uint8_t>(empty, empty + 64), std::vector<std::uint8_t>(64, 0));
}

TEST_F(InsertBrightTest, SparksLightEdgesButNeverColumnZeroOrTheLastSeven) {
  // Every interior pixel of this image is an edge of value 200.
  ByteImage grey;
  grey.Create(64, 12);
  for (std::int32_t y = 0; y < 12; ++y) {
    for (std::int32_t x = 0; x < 64; ++x) grey.Row(y)[x] = static_cast<std::uint8_t>(x % 2 == 0 ? 200 : 100);
  }
  InsertBright bright;
  bright.Prepare(grey);
  ByteImage heat;
  heat.Create(64, 12);
  int lit = 0;
  for (int frame = 0; frame < 200; ++frame) bright.Update(heat);
  for (std::int32_t y = 0; y < 12; ++y) {
    for (std::int32_t x = 0; x < 64; ++x) {
      const std::uint8_t v = heat.Row(y)[x];
      if (x == 0 || x >= 57 || y == 0 || y == 11) {
        EXPECT_EQ(v, 0) << y << "," << x;
      } else {
        EXPECT_TRUE(v == 0 || v == bright.EdgeMap().Row(y)[x]) << y << "," << x;
        lit += v != 0;
      }
    }
  }
  EXPECT_GT(lit, 100);
}

TEST_F(InsertBrightTest, HeatRisesToTheEdgeValueButIsNeverLowered) {
  ByteImage grey;
  grey.Create(64, 8);
  Fill(grey, 90);
  for (std::int32_t x = 0; x < 64; ++x) grey.Row(5)[x] = 0;  // row 4 becomes an edge of 90
  ByteImage heat;
  heat.Create(64, 8);
  for (std::int32_t x = 0; x < 64; ++x) heat.Row(4)[x] = x < 32 ? 120 : 10;
  InsertBright bright;
  bright.Prepare(grey);
  for (int frame = 0; frame < 400; ++frame) bright.Update(heat);
  for (std::int32_t x = 1; x <= 56; ++x) EXPECT_EQ(heat.Row(4)[x], x < 32 ? 120 : 90) << x;
}

TEST_F(InsertBrightTest, FlatBackgroundNeverHeats) {
  ByteImage grey;
  grey.Create(128, 32);
  Fill(grey, 180);
  ByteImage heat;
  heat.Create(128, 32);
  InsertBright bright;
  bright.Prepare(grey);
  for (int frame = 0; frame < 50; ++frame) bright.Update(heat);
  for (std::int32_t y = 0; y < 32; ++y) {
    for (std::int32_t x = 0; x < 128; ++x) ASSERT_EQ(heat.Row(y)[x], 0);
  }
}

TEST_F(InsertBrightTest, PrepareAgainFollowsANewSizeAndClearsSparks) {
  ByteImage small;
  small.Create(40, 8);
  ByteImage large;
  large.Create(96, 20);
  for (std::int32_t y = 0; y < 20; ++y) large.Row(y)[50] = 255;
  InsertBright bright;
  bright.Prepare(small);
  ByteImage heat;
  heat.Create(40, 8);
  for (int frame = 0; frame < 5; ++frame) bright.Update(heat);
  bright.Prepare(large);
  EXPECT_EQ(bright.EdgeMap().width, 96);
  EXPECT_EQ(bright.SparkRows().height, 20);
  EXPECT_EQ(bright.EdgeMap().Row(3)[50], 255);
  for (std::int32_t y = 0; y < 20; ++y) {
    for (std::int32_t x = 0; x < 96; ++x) ASSERT_EQ(bright.SparkRows().Row(y)[x], 0);
  }
  bright.Release();
  bright.Release();
  bright.Update(heat);  // released: nothing to do
}

// The SIMD merges (SSE2, and AVX2 where present) and the plain one, on random
// edges, widths and heat pitches: the same draws must leave the same heat.
TEST_F(InsertBrightTest, SimdMergeMatchesScalarReference) {
  std::mt19937 random(99);
  for (const bool avx2 : {false, true}) {
    for (std::int32_t width : {8, 9, 16, 17, 31, 32, 33, 57, 100, 1366}) {
      for (std::int32_t height : {1, 2, 3, 4, 5, 9}) {
        ByteImage grey;
        grey.Create(width, height);
        FillRandom(grey, random);
        ByteImage fastHeat, plainHeat;
        fastHeat.Create((width + 7) / 8 * 8, height);
        FillRandom(fastHeat, random);
        plainHeat.Create(fastHeat.width, height);
        std::memcpy(plainHeat.data, fastHeat.data, static_cast<std::size_t>(fastHeat.pitch) * height);
        InsertBright fast(avx2);
        ScalarInsertBright plain;
        fast.Prepare(grey);
        plain.Prepare(grey);
        for (int frame = 0; frame < 12; ++frame) {
          CRuntimeRandom::Seed(static_cast<std::uint32_t>(frame * 7919 + width));
          fast.Update(fastHeat);
          CRuntimeRandom::Seed(static_cast<std::uint32_t>(frame * 7919 + width));
          plain.Update(plainHeat);
          ASSERT_EQ(0, std::memcmp(fastHeat.data, plainHeat.data, static_cast<std::size_t>(fastHeat.pitch) * height))
              << width << "x" << height << " frame " << frame << (avx2 ? " avx2" : " sse2");
        }
      }
    }
  }
}

}  // namespace
